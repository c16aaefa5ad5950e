#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace doxel {

// One row of the file list: a topic file that was added to the project.
struct FileListEntry {
    std::string path;             // full path; a topic's topicFile is this text
    std::uint32_t nameStart = 0;  // where the file name begins in `path`

    std::string_view fileName() const { return std::string_view(path).substr(nameStart); }
    // The folder with its final separator.
    std::string_view folder() const { return std::string_view(path).substr(0, nameStart); }
};

// The distinct topic files of a project, kept sorted by file name (then by
// path). Looking a path up is a binary search on its file name, never a
// scan.
class FileList {
public:
    using const_iterator = std::vector<FileListEntry>::const_iterator;

    const FileListEntry* find(std::string_view path) const;
    bool contains(std::string_view path) const { return find(path) != nullptr; }

    // Adds a row for `path` unless one exists; returns whether it added.
    bool add(std::string path);
    // Adds many paths at once: one sort and one merge for the batch, so
    // adding k rows to n costs about n + k log k, never k times n.
    void addMany(std::vector<std::string> paths);
    // Replaces every row: one sort for the whole list.
    void assign(std::vector<std::string> paths);
    void clear() { m_entries.clear(); }

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    const FileListEntry& operator[](std::size_t row) const { return m_entries[row]; }
    const_iterator begin() const { return m_entries.begin(); }
    const_iterator end() const { return m_entries.end(); }
    // Row of `path`, or -1.
    long rowOf(std::string_view path) const;

private:
    std::vector<FileListEntry> m_entries;
};

}  // namespace doxel

#include "core/file_list.h"

#include <algorithm>

#include "core/text_compare.h"

namespace doxel {
namespace {

constexpr std::size_t kDirectInsertLimit = 4;

std::uint32_t nameStartOf(std::string_view path)
{
    // A plain loop: find_last_of searches its set once per character.
    for (std::size_t i = path.size(); i > 0; --i) {
        if (path[i - 1] == '/' || path[i - 1] == '\\')
            return static_cast<std::uint32_t>(i);
    }
    return 0;
}

FileListEntry makeEntry(std::string path)
{
    const std::uint32_t start = nameStartOf(path);
    return FileListEntry{std::move(path), start};
}

int compareRows(std::string_view nameA, std::string_view pathA, std::string_view nameB, std::string_view pathB)
{
    const int byName = compareCaptions(nameA, nameB);
    if (byName != 0)
        return byName;
    return pathA.compare(pathB);
}

bool rowLess(const FileListEntry& a, const FileListEntry& b)
{
    return compareRows(a.fileName(), a.path, b.fileName(), b.path) < 0;
}

struct SortKey {
    CaptionKey name;
    std::uint32_t row = 0;
};

// Sorts rows by rowLess, comparing precomputed keys first: most pairs differ
// within the first 16 letters.
void sortRows(std::vector<FileListEntry>& rows)
{
    std::vector<SortKey> keys;
    keys.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        keys.push_back({captionKey(rows[i].fileName()), static_cast<std::uint32_t>(i)});
    std::sort(keys.begin(), keys.end(), [&rows](const SortKey& a, const SortKey& b) {
        const int byKey = compareCaptionKeys(a.name, b.name);
        if (byKey != 0)
            return byKey < 0;
        return rowLess(rows[a.row], rows[b.row]);
    });
    std::vector<FileListEntry> sorted;
    sorted.reserve(rows.size());
    for (const SortKey& key : keys)
        sorted.push_back(std::move(rows[key.row]));
    rows = std::move(sorted);
}

}  // namespace

long FileList::rowOf(std::string_view path) const
{
    const std::string_view name = path.substr(nameStartOf(path));
    const auto found = std::lower_bound(m_entries.begin(), m_entries.end(), path,
                                        [name](const FileListEntry& row, std::string_view wanted) {
                                            return compareRows(row.fileName(), row.path, name, wanted) < 0;
                                        });
    if (found == m_entries.end() || found->path != path)
        return -1;
    return static_cast<long>(found - m_entries.begin());
}

const FileListEntry* FileList::find(std::string_view path) const
{
    const long row = rowOf(path);
    return row < 0 ? nullptr : &m_entries[static_cast<std::size_t>(row)];
}

bool FileList::add(std::string path)
{
    if (path.empty() || contains(path))
        return false;
    FileListEntry entry = makeEntry(std::move(path));
    const auto at = std::upper_bound(m_entries.begin(), m_entries.end(), entry, rowLess);
    m_entries.insert(at, std::move(entry));
    return true;
}

void FileList::assign(std::vector<std::string> paths)
{
    m_entries.clear();
    m_entries.reserve(paths.size());
    for (std::string& path : paths) {
        if (!path.empty())
            m_entries.push_back(makeEntry(std::move(path)));
    }
    sortRows(m_entries);
    // Rows of one path sort side by side.
    m_entries.erase(std::unique(m_entries.begin(), m_entries.end(),
                                [](const FileListEntry& a, const FileListEntry& b) { return a.path == b.path; }),
                    m_entries.end());
}

void FileList::addMany(std::vector<std::string> paths)
{
    // A few rows go straight to their places; a merge would touch every row
    // of the list for them.
    if (paths.size() <= kDirectInsertLimit) {
        for (std::string& path : paths)
            add(std::move(path));
        return;
    }
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    std::erase_if(paths, [this](const std::string& path) { return path.empty() || contains(path); });
    const auto oldSize = static_cast<std::ptrdiff_t>(m_entries.size());
    m_entries.reserve(m_entries.size() + paths.size());
    for (std::string& path : paths)
        m_entries.push_back(makeEntry(std::move(path)));
    std::vector<FileListEntry> added(std::make_move_iterator(m_entries.begin() + oldSize),
                                     std::make_move_iterator(m_entries.end()));
    sortRows(added);
    std::move(added.begin(), added.end(), m_entries.begin() + oldSize);
    std::inplace_merge(m_entries.begin(), m_entries.begin() + oldSize, m_entries.end(), rowLess);
}

}  // namespace doxel

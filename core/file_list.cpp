#include "core/file_list.h"

#include <algorithm>

#include "core/text_compare.h"

namespace doxel {
namespace {

std::uint32_t nameStartOf(std::string_view path)
{
    const auto cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? 0 : static_cast<std::uint32_t>(cut + 1);
}

FileListEntry makeEntry(std::string path)
{
    const std::uint32_t start = nameStartOf(path);
    return FileListEntry{std::move(path), start};
}

int compareRows(std::string_view nameA, std::string_view pathA, std::string_view nameB,
                std::string_view pathB)
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

void FileList::addMany(std::vector<std::string> paths)
{
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    std::erase_if(paths, [this](const std::string& path) { return path.empty() || contains(path); });
    const auto oldSize = static_cast<std::ptrdiff_t>(m_entries.size());
    m_entries.reserve(m_entries.size() + paths.size());
    for (std::string& path : paths)
        m_entries.push_back(makeEntry(std::move(path)));
    std::sort(m_entries.begin() + oldSize, m_entries.end(), rowLess);
    std::inplace_merge(m_entries.begin(), m_entries.begin() + oldSize, m_entries.end(), rowLess);
}

}  // namespace doxel

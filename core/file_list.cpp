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

// The first 16 bytes of a file name, folded the way compareCaptions folds
// ASCII, as two big-endian numbers: comparing keys orders rows as
// compareCaptions would, except that equal keys need the full comparison.
// A name shorter than the key is padded with 0 (it sorts first); from the
// first non-ASCII byte on the key is 0xFF (such letters sort after ASCII).
struct SortKey {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    std::uint32_t row = 0;
};

SortKey sortKeyOf(std::string_view name, std::uint32_t row)
{
    unsigned char bytes[16] = {};
    for (std::size_t i = 0; i < sizeof bytes; ++i) {
        if (i >= name.size())
            break;
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80) {
            for (std::size_t k = i; k < sizeof bytes; ++k)
                bytes[k] = 0xFF;
            break;
        }
        bytes[i] = (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
    }
    SortKey key;
    for (std::size_t i = 0; i < 8; ++i) {
        key.high = (key.high << 8) | bytes[i];
        key.low = (key.low << 8) | bytes[i + 8];
    }
    key.row = row;
    return key;
}

// Sorts rows by rowLess, comparing precomputed keys first: most pairs differ
// within the first 16 letters.
void sortRows(std::vector<FileListEntry>& rows)
{
    std::vector<SortKey> keys;
    keys.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        keys.push_back(sortKeyOf(rows[i].fileName(), static_cast<std::uint32_t>(i)));
    std::sort(keys.begin(), keys.end(), [&rows](const SortKey& a, const SortKey& b) {
        if (a.high != b.high)
            return a.high < b.high;
        if (a.low != b.low)
            return a.low < b.low;
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

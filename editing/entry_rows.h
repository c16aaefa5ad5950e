#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

namespace doxel {

class ContentsEntry;

// The row of an entry among its parent's children, answered without a
// scan of the siblings each time: the rows of one parent's children are
// counted once and kept until that parent's children change. A Qt model's
// parent() asks this for every visible row, and a level may hold a hundred
// thousand entries.
class EntryRows {
public:
    std::size_t rowOf(const ContentsEntry& entry);

    // The children of `parent` changed order or membership.
    void childrenChanged(const ContentsEntry& parent);
    // `entry` was appended as the last child of its parent.
    void appended(const ContentsEntry& entry);
    // `top` and its descendants are about to be destroyed.
    void forgetSubtree(const ContentsEntry& top);
    void clear();

private:
    void countChildren(const ContentsEntry& parent);

    std::unordered_map<const ContentsEntry*, std::uint32_t> m_rows;
    std::unordered_set<const ContentsEntry*> m_countedParents;
};

}  // namespace doxel

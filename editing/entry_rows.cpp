#include "editing/entry_rows.h"

#include "core/project.h"

namespace doxel {

std::size_t EntryRows::rowOf(const ContentsEntry& entry)
{
    const ContentsEntry* parent = entry.parent();
    if (parent == nullptr)
        return 0;
    if (!m_countedParents.contains(parent))
        countChildren(*parent);
    return m_rows.at(&entry);
}

void EntryRows::countChildren(const ContentsEntry& parent)
{
    const std::size_t count = parent.childCount();
    for (std::size_t row = 0; row < count; ++row)
        m_rows[parent.child(row)] = static_cast<std::uint32_t>(row);
    m_countedParents.insert(&parent);
}

void EntryRows::childrenChanged(const ContentsEntry& parent)
{
    m_countedParents.erase(&parent);
}

void EntryRows::appended(const ContentsEntry& entry)
{
    const ContentsEntry* parent = entry.parent();
    if (parent != nullptr && m_countedParents.contains(parent))
        m_rows[&entry] = static_cast<std::uint32_t>(parent->childCount() - 1);
}

void EntryRows::forgetSubtree(const ContentsEntry& top)
{
    // A destroyed entry's address may come back for a new entry, which
    // must not inherit its counted children.
    m_rows.erase(&top);
    m_countedParents.erase(&top);
    forEachEntry(top, [this](const ContentsEntry& entry, int) {
        m_rows.erase(&entry);
        m_countedParents.erase(&entry);
    });
}

void EntryRows::clear()
{
    m_rows.clear();
    m_countedParents.clear();
}

}  // namespace doxel

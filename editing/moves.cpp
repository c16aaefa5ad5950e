#include "editing/moves.h"

#include <algorithm>
#include <vector>

namespace doxel {
namespace {

bool isRoot(const ContentsEntry& entry)
{
    return entry.parent() == nullptr;
}

// The levels `entry` and its deepest descendant span (1 for a leaf),
// counted without recursion.
int heightOf(const ContentsEntry& entry)
{
    int height = 0;
    std::vector<std::pair<const ContentsEntry*, int>> pending{{&entry, 1}};
    while (!pending.empty()) {
        const auto [current, depth] = pending.back();
        pending.pop_back();
        height = std::max(height, depth);
        for (std::size_t i = 0; i < current->childCount(); ++i)
            pending.emplace_back(current->child(i), depth + 1);
    }
    return height;
}

// A destination that would nest the moved subtree deeper than a project
// can be read back is no destination.
std::optional<Destination> withinDepth(std::optional<Destination> destination, const ContentsEntry& moved)
{
    if (destination && !fitsContentsDepth(*destination->parent, moved))
        return std::nullopt;
    return destination;
}

// Directly before `anchor`, among its siblings.
Destination before(ContentsEntry& anchor, const ContentsEntry& moved, EntryRows& rows)
{
    ContentsEntry* parent = anchor.parent();
    std::size_t index = rows.rowOf(anchor);
    if (moved.parent() == parent && rows.rowOf(moved) < index)
        --index;
    return {parent, index};
}

// Directly after `anchor`, among its siblings.
Destination after(ContentsEntry& anchor, const ContentsEntry& moved, EntryRows& rows)
{
    ContentsEntry* parent = anchor.parent();
    std::size_t index = rows.rowOf(anchor) + 1;
    if (moved.parent() == parent && rows.rowOf(moved) < index)
        --index;
    return {parent, index};
}

Destination lastChildOf(ContentsEntry& parent, const ContentsEntry& moved)
{
    std::size_t index = parent.childCount();
    if (moved.parent() == &parent)
        --index;
    return {&parent, index};
}

}  // namespace

bool fitsContentsDepth(const ContentsEntry& parent, const ContentsEntry& moved)
{
    return parent.level() + heightOf(moved) < kMaxContentsDepth;
}

bool isInSubtree(const ContentsEntry& entry, const ContentsEntry& top)
{
    for (const ContentsEntry* up = &entry; up != nullptr; up = up->parent()) {
        if (up == &top)
            return true;
    }
    return false;
}

ContentsEntry* previousVisible(const ContentsEntry& entry, EntryRows& rows)
{
    ContentsEntry* parent = entry.parent();
    if (parent == nullptr)
        return nullptr;
    const std::size_t row = rows.rowOf(entry);
    if (row == 0)
        return isRoot(*parent) ? nullptr : parent;
    ContentsEntry* last = parent->child(row - 1);
    while (last->expanded && last->childCount() > 0)
        last = last->child(last->childCount() - 1);
    return last;
}

ContentsEntry* nextVisibleAfter(const ContentsEntry& entry, EntryRows& rows)
{
    for (const ContentsEntry* up = &entry; up->parent() != nullptr; up = up->parent()) {
        ContentsEntry* parent = up->parent();
        const std::size_t row = rows.rowOf(*up);
        if (row + 1 < parent->childCount())
            return parent->child(row + 1);
    }
    return nullptr;
}

std::optional<Destination> moveDestination(const Project& project, ContentsEntry& moved, MoveDirection direction,
                                           EntryRows& rows)
{
    switch (direction) {
    case MoveDirection::Up: {
        ContentsEntry* previous = previousVisible(moved, rows);
        if (previous == nullptr || project.isTitleEntry(previous))
            return std::nullopt;
        return before(*previous, moved, rows);
    }
    case MoveDirection::Down: {
        ContentsEntry* next = nextVisibleAfter(moved, rows);
        if (next == nullptr)
            return std::nullopt;
        return after(*next, moved, rows);
    }
    case MoveDirection::Left: {
        ContentsEntry* parent = moved.parent();
        if (parent == nullptr || isRoot(*parent) || project.isTitleEntry(parent))
            return std::nullopt;
        return after(*parent, moved, rows);
    }
    case MoveDirection::Right: {
        ContentsEntry* previous = previousVisible(moved, rows);
        if (previous == nullptr || isInSubtree(moved, *previous))
            return std::nullopt;
        return withinDepth(lastChildOf(*previous, moved), moved);
    }
    }
    return std::nullopt;
}

std::optional<Destination> dropDestination(ContentsEntry& dragged, ContentsEntry& target, bool asChild, EntryRows& rows)
{
    if (isInSubtree(target, dragged) || target.parent() == nullptr)
        return std::nullopt;
    if (asChild)
        return withinDepth(Destination{&target, 0}, dragged);
    return withinDepth(after(target, dragged, rows), dragged);
}

}  // namespace doxel

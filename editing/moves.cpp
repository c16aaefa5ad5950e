#include "editing/moves.h"

namespace doxel {
namespace {

bool isRoot(const ContentsEntry& entry)
{
    return entry.parent() == nullptr;
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
        return lastChildOf(*previous, moved);
    }
    }
    return std::nullopt;
}

std::optional<Destination> dropDestination(ContentsEntry& dragged, ContentsEntry& target, bool asChild, EntryRows& rows)
{
    if (isInSubtree(target, dragged) || target.parent() == nullptr)
        return std::nullopt;
    if (asChild)
        return Destination{&target, 0};
    return after(target, dragged, rows);
}

}  // namespace doxel

#pragma once

#include <cstddef>
#include <optional>

#include "core/project.h"
#include "editing/entry_rows.h"

namespace doxel {

// The visible order is the order in which the tree shows its entries: an
// entry, then (when it is expanded) its children, then its next sibling.
// These functions read the expanded flags; they never recurse and cost at
// most the depth of the tree plus one row look-up.

// True when `entry` is `top` or one of its descendants.
bool isInSubtree(const ContentsEntry& entry, const ContentsEntry& top);

// The entry shown directly above `entry`: the last visible entry inside its
// previous sibling, or its parent; null for the first entry of the tree.
ContentsEntry* previousVisible(const ContentsEntry& entry, EntryRows& rows);

// The entry shown directly below `entry` once `entry` is collapsed: its
// next sibling, or the next sibling of the nearest ancestor that has one;
// null when nothing follows.
ContentsEntry* nextVisibleAfter(const ContentsEntry& entry, EntryRows& rows);

// Where a moved entry lands: among `parent`'s children at `index`, counted
// once the entry has been taken out of its old place.
struct Destination {
    ContentsEntry* parent = nullptr;
    std::size_t index = 0;
};

enum class MoveDirection { Up, Down, Left, Right };

// Whether `moved` with its subtree can become a child of `parent` without
// going deeper than kMaxContentsDepth levels, the most a project is read
// back with. Moves and drops that would go deeper find no destination.
bool fitsContentsDepth(const ContentsEntry& parent, const ContentsEntry& moved);

// Where the selected entry `moved` goes for one of the four moves, or
// nothing when the move finds no target. `moved` must be collapsed.
//   Up: before the previous visible entry P, as a child of P's parent;
//       nothing when P is the title entry.
//   Down: after the next visible entry N, as a child of N's parent.
//   Left: after its parent A, as A's next sibling; nothing when A is the
//         title entry or `moved` is at level 0.
//   Right: last child of the previous visible entry P, unless P is an
//          ancestor of `moved`.
// Example: title > A (expanded: A1), B. Up on B gives A > B, A1; Right on B
// gives A > A1 > B.
std::optional<Destination> moveDestination(const Project& project, ContentsEntry& moved, MoveDirection direction,
                                           EntryRows& rows);

// Where a dragged entry goes when dropped on `target`: the first child of
// `target` with the insert-as-child toggle on, else directly after it.
// Nothing when `target` lies inside the dragged entry's subtree (itself
// included).
std::optional<Destination> dropDestination(ContentsEntry& dragged, ContentsEntry& target, bool asChild,
                                           EntryRows& rows);

}  // namespace doxel

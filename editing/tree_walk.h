#pragma once

#include <cstddef>
#include <vector>

#include "core/project.h"

namespace doxel {

// Calls visit(entry) for every descendant of `top` in display order,
// without recursion: trees can be very deep. `visit` may change an entry's
// fields but not the shape of the tree.
template <typename Visit>
void forEachDescendant(ContentsEntry& top, Visit&& visit)
{
    struct Frame {
        ContentsEntry* entry;
        std::size_t next;
    };
    std::vector<Frame> stack{{&top, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.entry->childCount()) {
            stack.pop_back();
            continue;
        }
        ContentsEntry* entry = frame.entry->child(frame.next++);
        visit(*entry);
        if (entry->childCount() > 0)
            stack.push_back({entry, 0});
    }
}

}  // namespace doxel

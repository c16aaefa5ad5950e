#pragma once

#include <string>

#include "core/project.h"

namespace doxel::bench {

// A project the size of a large real manual: `entries` contents entries
// below the title entry, levels 1 to 8, captions of about 30 characters,
// most entries topics in subfolders of `folder`, and `keywords` keywords.
// The same arguments always give the same project.
void generateProject(Project& project, const std::string& folder, int entries, int keywords);

// A header captioned "Big" with `size` entries in its subtree (branches of
// a hundred), in the middle of the title entry's children: the subtree that
// the move benchmarks move.
ContentsEntry& addBigHeader(Project& project, int size);

// Bytes the heap holds right now (glibc's count).
std::size_t heapInUse();

}  // namespace doxel::bench

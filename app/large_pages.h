#pragma once

#include <cstddef>
#include <string>

namespace doxel {

// Prepares the heap of a command-line run for a project of `projectFile`'s
// size: the heap is grown once, for about the memory such a project takes,
// and the kernel is asked to back that part with 2 MB pages, so that the
// tens of megabytes of entries and texts of a large project cost a few
// hundred page faults instead of tens of thousands. Only speed depends on
// it: a system that refuses large pages, or a project that needs more,
// runs as before.
void prepareHeapForProject(const std::string& projectFile);

}  // namespace doxel

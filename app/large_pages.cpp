#include "app/large_pages.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace doxel {
namespace {

constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
// Below the largest threshold glibc accepts for taking blocks from the heap.
constexpr std::size_t kBlock = std::size_t{16} << 20;
// A project in memory takes about ten times its file.
constexpr std::size_t kMemoryPerFileByte = 12;
constexpr std::size_t kMostReserved = std::size_t{1} << 30;

}  // namespace

void prepareHeapForProject(const std::string& projectFile)
{
    struct stat info {};
    if (::stat(projectFile.c_str(), &info) != 0 || info.st_size <= 0)
        return;
    const std::size_t wanted = std::min(kMostReserved, static_cast<std::size_t>(info.st_size) * kMemoryPerFileByte);
    // Small projects gain nothing worth a system call.
    if (wanted < 4 * kLargePage)
        return;
    // Blocks up to 32 MB come from the heap, and freed memory stays in it,
    // so that what the heap reserves now serves the whole run.
    if (::mallopt(M_MMAP_THRESHOLD, static_cast<int>(2 * kBlock)) == 0 ||
        ::mallopt(M_TRIM_THRESHOLD, static_cast<int>(kMostReserved + kBlock)) == 0)
        return;
    std::vector<void*> blocks;
    for (std::size_t reserved = 0; reserved < wanted; reserved += kBlock) {
        void* block = std::malloc(kBlock);
        if (block == nullptr)
            break;
        blocks.push_back(block);
    }
    if (blocks.empty())
        return;
    const auto low = reinterpret_cast<std::uintptr_t>(*std::min_element(blocks.begin(), blocks.end()));
    // Freed from the last, each block joins the top of the heap again.
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it)
        std::free(*it);
    const auto high = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    const std::uintptr_t start = (low + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t end = high & ~(kLargePage - 1);
    if (end > start)
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

}  // namespace doxel

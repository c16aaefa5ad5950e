// Feeds arbitrary bytes to the page title reader that captions new topics.
// No page may crash or hang it, and what it finds must be one valid line.
//   build/fuzz/fuzz/fuzz_page_title CORPUS fuzz/corpus/page_references examples/sample -max_total_time=600
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/text_encoding.h"
#include "editing/topic_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const auto title = doxel::titleOfPage(page);
    if (title && (!doxel::isValidUtf8(*title) || title->find_first_of("\r\n\a") != std::string::npos))
        std::abort();  // a caption must be one valid line of the project file
    return 0;
}

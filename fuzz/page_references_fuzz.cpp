// Feeds arbitrary bytes to the page scanner that counts links and pictures
// before a compile, and to the style sheet scanner: any page or style sheet
// an author has must scan without a crash or a hang, and every URL it finds
// must classify.
//   build/fuzz/fuzz/fuzz_page_references CORPUS fuzz/corpus/page_references examples/sample \
//       examples/sample/pages -max_total_time=600
#include <cstdint>
#include <string>
#include <string_view>

#include "output/page_references.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view html(reinterpret_cast<const char*>(data), size);
    const doxel::PageReferences found = doxel::scanPage(html);
    for (const doxel::PageReference& reference : found.references) {
        if (doxel::classifyUrl(reference.url) == doxel::UrlKind::Local)
            static_cast<void>(doxel::localUrlPath(reference.url));
        static_cast<void>(doxel::urlFragment(reference.url));
    }
    for (const std::string& url : doxel::styleSheetUrls(html))
        static_cast<void>(doxel::classifyUrl(url));
    return 0;
}

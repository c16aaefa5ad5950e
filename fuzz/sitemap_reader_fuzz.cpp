// Feeds arbitrary bytes to the sitemap reader (contents and index files
// authors bring) and to the help project reader. They must read something
// or throw FormatError, never crash, hang or run out of memory; every entry
// read lies at a level the lists around it allow, below the deepest level a
// project holds, and every help window's pane width is bounded.
//   cmake --preset fuzz && cmake --build --preset fuzz
//   build/fuzz/fuzz/fuzz_sitemap_reader fuzz/corpus/sitemap_reader -max_total_time=300
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/errors.h"
#include "core/project.h"
#include "import/help_project_reader.h"
#include "import/sitemap_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const doxel::CodePage* page : {static_cast<const doxel::CodePage*>(nullptr), doxel::codePageByNumber(932)}) {
        try {
            const doxel::Sitemap sitemap = doxel::readSitemap(bytes, page, "fuzz.hhc");
            for (const doxel::SitemapEntry& entry : sitemap.entries) {
                if (entry.level < 0 || static_cast<std::size_t>(entry.level) > size ||
                    entry.level >= doxel::kMaxContentsDepth - 1)
                    std::abort();
            }
        } catch (const doxel::FormatError&) {
        }
    }
    try {
        const doxel::HelpProjectFile project = doxel::readHelpProject(bytes, "fuzz.hhp");
        (void)project.mainWindow();
        for (const doxel::WindowDefinition& window : project.windows) {
            if (window.navigationPaneWidth && (*window.navigationPaneWidth < doxel::kMinNavigationPaneWidth ||
                                               *window.navigationPaneWidth > doxel::kMaxNavigationPaneWidth))
                std::abort();
        }
    } catch (const doxel::FormatError&) {
    }
    return 0;
}

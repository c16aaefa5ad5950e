// Feeds arbitrary bytes to what reads a compiled help file back after a
// compile: its "#SYSTEM" records, its "#WINDOWS" records (with the bytes as
// their "#STRINGS" too), and the contents and index as sitemaps
// whose "Local" values are decoded as a viewer does. Any help file must
// read without a crash or a hang.
//   build/fuzz/fuzz/fuzz_compiled_help CORPUS fuzz/corpus/compiled_help -max_total_time=300
#include <cstdint>
#include <string_view>

#include "core/text_encoding.h"
#include "output/compiled_help_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const doxel::HelpSystemInfo info = doxel::readSystemFile(bytes);
    const std::string codePage = doxel::codePageForLanguageId(static_cast<int>(info.languageId)).iconvName;
    static_cast<void>(doxel::storedPathOfLocal(info.defaultTopic, codePage));
    for (const doxel::SitemapLink& link : doxel::sitemapLinks(bytes)) {
        static_cast<void>(doxel::storedPathOfLocal(link.local, "CP932"));
        static_cast<void>(doxel::decodedLocal(link.name, codePage));
    }
    static_cast<void>(doxel::readWindowsFile(bytes, bytes));
    return 0;
}

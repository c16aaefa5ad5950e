// Feeds arbitrary bytes to the reader of pages' index objects and builds
// the binary keyword index of what it finds, one keyword a line of the
// input besides (leading spaces give the level): any page and any index
// file must give an index without a crash or a hang, whose every block
// holds what it says.
//   build/fuzz/fuzz/fuzz_keyword_links CORPUS fuzz/corpus/page_references -max_total_time=600
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/binary_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const doxel::chm::PageKeywords found = doxel::chm::pageKeywords(text);
    std::vector<doxel::chm::KeywordEntry> entries;
    std::uint32_t topic = 0;
    for (const std::string& name : found.keywords)
        entries.push_back({0, name, {topic++}});
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        int level = 0;
        while (!line.empty() && line.front() == ' ') {
            ++level;
            line.remove_prefix(1);
        }
        entries.push_back({level, std::string(line), {topic++ % 7, topic % 3}});
        start = end + 1;
    }
    const doxel::chm::KeywordLinks links = doxel::chm::buildKeywordLinks(entries, 1252, 0x409);
    if (links.keywordCount > 0 && (links.btree.size() < 76 || (links.btree.size() - 76) % 2048 != 0 ||
                                   links.data.size() != links.keywordCount * 13))
        std::abort();
    return 0;
}

// Feeds arbitrary pages to the search index and reads the index back the
// way HTML Help readers walk it: no page may crash or hang the indexer, and
// every node, word and location list must lie where the index says, in
// order, with topics and places rising.
//   build/fuzz/fuzz/fuzz_fulltext CORPUS -max_total_time=600
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/fulltext/fulltext_index.h"

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

struct Reader {
    std::string_view data;
    std::size_t pos = 0;

    unsigned byte()
    {
        check(pos < data.size());
        return static_cast<unsigned char>(data[pos++]);
    }
    std::uint32_t number(int bytes)
    {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= byte() << (8 * i);
        return value;
    }
    std::uint64_t varint()
    {
        std::uint64_t value = 0;
        for (int shift = 0;; shift += 7) {
            check(shift < 64);
            const unsigned b = byte();
            value |= static_cast<std::uint64_t>(b & 0x7F) << shift;
            if ((b & 0x80) == 0)
                return value;
        }
    }
};

// The scale-2 code, bits from the top of each byte.
struct BitReader {
    std::string_view data;
    std::size_t bit = 0;

    unsigned next()
    {
        check(bit / 8 < data.size());
        const unsigned value = (static_cast<unsigned char>(data[bit / 8]) >> (7 - bit % 8)) & 1;
        ++bit;
        return value;
    }
    std::uint64_t scaleRoot(int root)
    {
        int ones = 0;
        while (next() == 1)
            check(++ones < 64);
        const int width = ones == 0 ? root : root + ones - 1;
        std::uint64_t value = 0;
        for (int i = 0; i < width; ++i)
            value = (value << 1) | next();
        return ones == 0 ? value : value | (std::uint64_t{1} << width);
    }
};

std::uint32_t dword(std::string_view data, std::size_t at)
{
    Reader reader{data, at};
    return reader.number(4);
}

void checkIndex(std::string_view data, std::uint32_t topicLimit)
{
    check(data.size() >= 0x400 + 4096);
    check(dword(data, 0) == 0x00280000);
    const std::uint32_t root = dword(data, 0x08);
    const std::uint32_t leaves = dword(data, 0x10);
    const unsigned depth = static_cast<unsigned char>(data[0x18]);
    const int roots[3] = {data[0x1F], data[0x21], data[0x23]};
    check(root + 4096 == data.size() && depth >= 1);

    // Down the first entries to the first leaf.
    std::uint32_t node = root;
    for (unsigned level = depth; level > 1; --level) {
        Reader reader{data, node + 2};
        const unsigned length = reader.byte();
        check(reader.byte() == 0 && length >= 1);
        reader.pos += length - 1;
        node = reader.number(4);
        check(node >= 0x400 && node + 4096 <= data.size());
    }

    std::string previous;
    std::uint32_t leafCount = 0;
    for (; node != 0; ++leafCount) {
        check(leafCount < leaves && node + 4096 <= data.size());
        Reader reader{data.substr(0, node + 4096), node};
        const std::uint32_t nextLeaf = reader.number(4);
        check(reader.number(2) == 0);
        const std::uint32_t free = reader.number(2);
        check(free <= 4096 - 8);
        const std::size_t end = node + 4096 - free;
        std::string word;
        bool first = true;
        bool previousTitle = false;
        while (reader.pos < end) {
            const unsigned length = reader.byte();
            const unsigned prefix = reader.byte();
            check(length >= 1 && prefix <= word.size() && (!first || prefix == 0));
            check(reader.pos + length - 1 <= end);
            word = word.substr(0, prefix) + std::string(data.substr(reader.pos, length - 1));
            reader.pos += length - 1;
            check(!word.empty() && word.size() <= 99 && word.find('\0') == std::string::npos);
            const unsigned title = reader.byte();
            check(title <= 1);
            // Sorted as readers compare, a body entry before a title entry.
            check(previous.empty() || previous < word || (previous == word && !previousTitle && title == 1) ||
                  word.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos);
            const std::uint64_t topics = reader.varint();
            const std::uint32_t offset = reader.number(4);
            check(reader.number(2) == 0);
            const std::uint64_t size = reader.varint();
            check(reader.pos <= end && topics >= 1 && offset >= 0x400 && offset + size <= data.size());

            BitReader bits{data.substr(offset, size)};
            std::uint64_t topic = 0;
            for (std::uint64_t t = 0; t < topics; ++t) {
                const std::uint64_t delta = bits.scaleRoot(roots[0]);
                check(t == 0 || delta > 0);
                topic += delta;
                check(topic < topicLimit);
                const std::uint64_t places = bits.scaleRoot(roots[1]);
                check(places >= 1);
                std::uint64_t place = 0;
                for (std::uint64_t p = 0; p < places; ++p) {
                    const std::uint64_t step = bits.scaleRoot(roots[2]);
                    check(p == 0 || step > 0);
                    place += step;
                }
                bits.bit = (bits.bit + 7) / 8 * 8;
            }
            check(bits.bit == size * 8);
            previous = word;
            previousTitle = title == 1;
            first = false;
        }
        check(reader.pos == end);
        node = nextLeaf;
    }
    check(leafCount == leaves);
}

struct Language {
    int codePage;
    std::uint32_t languageId;
};
constexpr Language kLanguages[] = {{1252, 0x409}, {1250, 0x415}, {1251, 0x419}, {1253, 0x408}, {1254, 0x41F},
                                   {932, 0x411},  {936, 0x804},  {949, 0x412},  {950, 0x404},  {874, 0x41E}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const Language language = kLanguages[data[0] % (sizeof kLanguages / sizeof kLanguages[0])];
    // Pages are separated by 0x01; the title is the page's first line.
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<doxel::chm::FullTextPage> pages;
    std::uint32_t topic = 0;
    for (std::size_t start = 0; start <= input.size(); ++topic) {
        std::size_t end = input.find('\x01', start);
        if (end == std::string_view::npos)
            end = input.size();
        const std::string_view page = input.substr(start, end - start);
        pages.push_back({topic / 2 * 3, std::string(page.substr(0, page.find('\n'))), std::string(page)});
        start = end + 1;
    }
    const auto result = doxel::chm::buildFullTextIndex(pages, {language.codePage, language.languageId});
    checkIndex(result.data, topic / 2 * 3 + 3);
    check(result.notes.size() <= 2);
    return 0;
}

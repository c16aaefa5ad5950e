#include "core/text_encoding.h"

#include <gtest/gtest.h>

namespace doxel {
namespace {

TEST(TextEncoding, WritesWindows1252AndReferencesForWhatItLacks)
{
    struct Case {
        const char* utf8;
        const char* cp1252;
    };
    const Case cases[] = {
        {"Plain ASCII [x] \"q\" <a>", "Plain ASCII [x] \"q\" <a>"},
        {"\xC3\x9C" "ber", "\xDC" "ber"},                       // Über
        {"Caf\xC3\xA9 \xE2\x82\xAC" "5", "Caf\xE9 \x80" "5"},    // Café €5
        {"\xD0\x96\xD1\x83\xD0\xBA", "&#1046;&#1091;&#1082;"},  // Жук
        {"\xF0\x9F\x98\x80", "&#128512;"},                      // an emoji beyond the BMP
        {"bad \xFF byte", "bad \xFF byte"},                     // not UTF-8: passed through
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
}

TEST(TextEncoding, ReadsEveryWindows1252ByteAndBackAgain)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(utf8ToCp1252(utf8), all);
    EXPECT_EQ(cp1252ToUtf8("\x80\xE4"), "\xE2\x82\xAC\xC3\xA4");
}

TEST(TextEncoding, ValidatesUtf8)
{
    EXPECT_TRUE(isValidUtf8("abc \xC3\xA4 \xE2\x82\xAC \xF0\x9F\x98\x80"));
    for (const char* bad : {"\xC3", "\xC0\x80", "\xED\xA0\x80", "\xF5\x80\x80\x80", "a\x80", "\xE2\x82"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
}

TEST(TextEncoding, CutsAtCharactersNotBytes)
{
    EXPECT_EQ(firstCharacters("\xC3\xA4\xC3\xB6\xC3\xBC", 2), "\xC3\xA4\xC3\xB6");
    EXPECT_EQ(firstCharacters("abc", 5), "abc");
    EXPECT_EQ(firstCharacters(std::string(300, 'x'), 255).size(), 255u);
}

}  // namespace
}  // namespace doxel

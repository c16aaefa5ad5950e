#include "core/text_encoding.h"

#include <gtest/gtest.h>

#include "core/errors.h"

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
        {"\xC3\x9C"
         "ber",
         "\xDC"
         "ber"},  // Über
        {"Caf\xC3\xA9 \xE2\x82\xAC"
         "5",
         "Caf\xE9 \x80"
         "5"},                                                  // Café €5
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
    // Long runs of ASCII are checked in blocks: a character is judged alike
    // wherever it falls, at a block's edge or in its middle.
    for (std::size_t before = 0; before < 20; ++before) {
        for (std::size_t after : {0u, 1u, 9u}) {
            const std::string ascii(before, 'a');
            const std::string tail(after, 'z');
            EXPECT_TRUE(isValidUtf8(ascii + "\xC3\xA4" + tail)) << before << " " << after;
            EXPECT_FALSE(isValidUtf8(ascii + "\x80" + tail)) << before << " " << after;
            EXPECT_FALSE(isValidUtf8(ascii + "\xC3" + tail)) << before << " " << after;
        }
    }
}

TEST(TextEncoding, CutsAtCharactersNotBytes)
{
    EXPECT_EQ(firstCharacters("\xC3\xA4\xC3\xB6\xC3\xBC", 2), "\xC3\xA4\xC3\xB6");
    EXPECT_EQ(firstCharacters("abc", 5), "abc");
    EXPECT_EQ(firstCharacters(std::string(300, 'x'), 255).size(), 255u);
}

}  // namespace
}  // namespace doxel

namespace doxel {
namespace {

TEST(CodePages, ChoosesTheFirstCodePageThatHoldsEveryText)
{
    struct Case {
        std::vector<std::string_view> texts;
        int codePage;
        bool complete;
    };
    const Case cases[] = {
        {{}, 1252, true},
        {{"Guide", "intro.htm"}, 1252, true},
        {{"Übungen/äpfel.htm", "Straße €"}, 1252, true},
        {{"Zażółć gęślą jaźń"}, 1250, true},
        {{"Руководство", "главы/приливы.htm"}, 1251, true},
        {{"Καλημέρα"}, 1253, true},
        {{"İstanbul ğ"}, 1254, true},
        {{"Ąžuolas ų ė"}, 1257, true},  // no 1250: ų and ė are Baltic only
        {{"שלום"}, 1255, true},
        {{"مرحبا"}, 1256, true},
        {{"ภาษาไทย"}, 874, true},
        {{"ひらがなと漢字"}, 932, true},
        {{"简体中文"}, 936, true},
        {{"한국어"}, 949, true},
        // No page holds both scripts: the one under which fewer texts lack
        // a character, the earlier one on a tie.
        {{"Über", "Привет", "Мир"}, 1251, false},
        {{"Über", "Привет"}, 1252, false},
    };
    for (const Case& c : cases) {
        bool complete = !c.complete;
        EXPECT_EQ(chooseCodePage(c.texts, &complete).number, c.codePage) << (c.texts.empty() ? "" : c.texts[0]);
        EXPECT_EQ(complete, c.complete) << (c.texts.empty() ? "" : c.texts[0]);
    }
}

TEST(CodePages, EncodeThroughIconvWithReferencesForWhatAPageLacks)
{
    struct Case {
        int codePage;
        std::string_view utf8;
        std::string_view bytes;
        bool lacking;
    };
    const Case cases[] = {
        {1252, "plain <a> & \"q\"", "plain <a> & \"q\"", false},
        {1252, "Über €5",
         "\xDC"
         "ber \x80"
         "5",
         false},
        {1252, "Жук", "&#1046;&#1091;&#1082;", true},
        {1251, "Жук Über", "\xC6\xF3\xEA &#220;ber", true},
        {1251, "😀", "&#128512;", true},
        {932, "日本", "\x93\xFA\x96\x7B", false},
        {1252, "bad \xFF byte", "bad \xFF byte", false},  // not UTF-8: passed through
        {1255, "שלום", "\xF9\xEC\xE5\xED", false},        // a stateful converter is flushed
    };
    for (const Case& c : cases) {
        CodePageEncoder encoder(*codePageByNumber(c.codePage));
        bool lacking = false;
        EXPECT_EQ(encoder.encode(c.utf8, &lacking), c.bytes) << c.utf8;
        EXPECT_EQ(lacking, c.lacking) << c.utf8;
        if (!c.lacking && c.utf8.find('\xFF') == std::string_view::npos) {
            EXPECT_EQ(toUtf8(c.bytes, codePageByNumber(c.codePage)->iconvName), c.utf8);
        }
    }
}

TEST(CodePages, EveryHelpCodePageIsKnownToIconvAndItsLanguageLeadsBackToIt)
{
    for (const CodePage& page : helpCodePages()) {
        EXPECT_NO_THROW(CodePageEncoder{page}) << page.number;
        EXPECT_EQ(codePageOfLanguage(page.languageId), &page) << page.number;
    }
    EXPECT_EQ(codePageOfLanguage(0x407), nullptr);
    EXPECT_THROW(toUtf8("x", "NO-SUCH-CODE-PAGE"), ConversionError);
    // Bytes that the code page leaves undefined read as U+FFFD, the rest is kept.
    EXPECT_EQ(toUtf8("a\x98"
                     "b",
                     "CP1251"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(toUtf8("\x82", "CP932"), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace doxel

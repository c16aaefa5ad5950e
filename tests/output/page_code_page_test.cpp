#include "output/page_code_page.h"

#include <gtest/gtest.h>

namespace doxel {
namespace {

const CodePage& page(int number)
{
    return *codePageByNumber(number);
}

TEST(StoredPage, ConvertsWhatViewersWouldMisreadAndKeepsTheRestByteForByte)
{
    using Kind = StoredPage::Kind;
    struct Case {
        const char* what;
        int codePage;
        std::string html;
        Kind kind;
        std::string stored;  // for Converted
    };
    const Case cases[] = {
        {"ASCII declaring UTF-8", 1251, "<meta charset=\"utf-8\"><p>plain &auml;</p>", Kind::AsItIs, ""},
        {"German UTF-8", 1252,
         "<meta charset=\"utf-8\"><p>Gr\xC3\xBC\xC3\x9F"
         "e</p>",
         Kind::Converted,
         "<meta charset=\"windows-1252\"><p>Gr\xFC\xDF"
         "e</p>"},
        {"Russian UTF-8 in Windows-1251", 1251,
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"><p>\xD0\x96</p>", Kind::Converted,
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"><p>\xC6</p>"},
        {"lacking characters in text and attributes", 1252, "<p title=\"\xD0\x96\">\xD0\x96 \xC3\xA4</p>",
         Kind::Converted, "<p title=\"&#1046;\">&#1046; \xE4</p>"},
        {"lacking characters in a script", 1252,
         "<script type=\"text/javascript\">s = \"\xD0\x96\xC3\xA4\xF0\x9F\x98\x80\";</script><p>\xD0\x96</p>",
         Kind::Converted, "<script type=\"text/javascript\">s = \"\\u0416\xE4\\uD83D\\uDE00\";</script><p>&#1046;</p>"},
        {"lacking characters in a style sheet", 1252,
         "<STYLE>p:after { content: \"\xD0\x96\" }</STYLE><p style=\"x\">\xC3\xA4</p>", Kind::Converted,
         "<STYLE>p:after { content: \"\\416 \" }</STYLE><p style=\"x\">\xE4</p>"},
        {"UTF-8 with a BOM", 1252, "\xEF\xBB\xBF<p>\xC3\xA4</p>", Kind::Converted, "<p>\xE4</p>"},
        {"XHTML declaration", 1251, "<?xml version=\"1.0\" encoding=\"UTF-8\"?><p>\xD0\x96</p>", Kind::Converted,
         "<?xml version=\"1.0\" encoding=\"windows-1251\"?><p>\xC6</p>"},
        {"already in the code page", 1251, "<meta charset=windows-1251><p>\xC6</p>", Kind::AsItIs, ""},
        {"another code page, declared", 1252, "<meta charset=windows-1251><p>\xC6</p>", Kind::Converted,
         "<meta charset=windows-1252><p>&#1046;</p>"},
        {"8-bit, nothing declared", 1252, "<p>\xE4</p>", Kind::AsItIs, ""},
        {"declares UTF-8 but is not", 1252, "<meta charset=utf-8><p>\xE4</p>", Kind::AsItIs, ""},
        {"an encoding nobody reads", 1252, "<meta charset=x-nonsense><p>\xE4</p>", Kind::Unreadable, ""},
        {"Traditional Chinese UTF-8", 950, "<meta charset=utf-8><p>\xE7\xB9\x81</p>", Kind::Converted,
         "<meta charset=big5><p>\xC1\x63</p>"},
    };
    for (const Case& c : cases) {
        const StoredPage stored = storedPage(c.html, page(c.codePage));
        EXPECT_EQ(stored.kind, c.kind) << c.what;
        if (c.kind == Kind::Converted) {
            EXPECT_EQ(stored.bytes, c.stored) << c.what;
        }
    }
}

TEST(PageLinkEncoding, IsThePagesOwnForEightBitPages)
{
    const std::tuple<std::string, int, std::string> cases[] = {
        {"<a href=\"\xC3\xA4.htm\">", 1250, ""},                               // UTF-8
        {"<a href=\"a.htm\">", 1250, ""},                                      // ASCII
        {"<meta charset=windows-1250><a href=\"\xF8.htm\">", 1252, "CP1250"},  // declared
        {"<a href=\"\xF8.htm\">", 1250, "CP1250"},                             // the help file's
        // declared, and its bytes valid UTF-8 as well ("Čš"): stored as declared, so read so
        {"<meta charset=windows-1250><a href=\"\xC8\x9A.htm\">", 1252, "CP1250"},
        {"<a href=\"\xF8.htm\">", 0, ""},
    };
    for (const auto& [html, helpCodePage, expected] : cases)
        EXPECT_EQ(pageLinkEncoding(html, helpCodePage), expected) << html;
}

}  // namespace
}  // namespace doxel

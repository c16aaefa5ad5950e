#include "output/compiled_help_check.h"

#include "core/errors.h"
#include "core/text_encoding.h"

#include <gtest/gtest.h>

#include "stored_help_file.h"
#include "test_support.h"
#include <map>

namespace doxel {
namespace {

using test::systemFile;
using test::systemRecord;

using StoredFiles = test::StoredHelpFile;

std::string entry(const std::string& name, const std::string& local)
{
    return "<LI> <OBJECT type=\"text/sitemap\">\r\n\t<param name=\"Name\" value=\"" + name +
           "\">\r\n\t<param name=\"Local\" value=\"" + local + "\">\r\n\t</OBJECT>\r\n";
}

// A #WINDOWS of one window "Main" and its #STRINGS, with the window's
// default topic, home page and Jump addresses.
std::pair<std::string, std::string> oneWindow(const std::string& defaultTopic, const std::string& homePage,
                                              const std::string& jump1, const std::string& jump2)
{
    std::string strings(1, '\0');
    const auto add = [&](const std::string& text) -> std::uint32_t {
        if (text.empty())
            return 0;
        const auto at = static_cast<std::uint32_t>(strings.size());
        strings += text + '\0';
        return at;
    };
    std::string record(196, '\0');
    const auto put = [&](std::size_t offset, std::uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i)
            record[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(0x00, 196);
    put(0x08, add("Main"));
    put(0x68, add(defaultTopic));
    put(0x6C, add(homePage));
    put(0xA4, add(jump1));
    put(0xA8, add(jump2));
    return {std::string("\1\0\0\0\xC4\0\0\0", 8) + record, strings};
}

TEST(HelpSystemFile, NamesTheCodePageViewersReadALanguageIn)
{
    const std::pair<int, int> cases[] = {
        {0x409, 1252}, {0x407, 1252}, {0, 1252},     {0x7FFF, 1252}, {0x419, 1251}, {0x422, 1251}, {0x415, 1250},
        {0x41A, 1250}, {0xC1A, 1251}, {0x408, 1253}, {0x41F, 1254},  {0x40D, 1255}, {0x401, 1256}, {0x426, 1257},
        {0x41E, 874},  {0x42A, 1258}, {0x411, 932},  {0x804, 936},   {0x412, 949},  {0x404, 950},
    };
    for (const auto& [language, codePage] : cases)
        EXPECT_EQ(codePageForLanguageId(language).number, codePage) << std::hex << language;
}

TEST(HelpFileLinks, LeadWhereAViewerLooks)
{
    const struct {
        const char* local;
        const char* codePage;
        const char* stored;
    } cases[] = {
        {"pages/intro.htm#top", "WINDOWS-1252", "/pages/intro.htm"},
        {"/pages/intro.htm?x", "WINDOWS-1252", "/pages/intro.htm"},
        {"pages\\intro.htm", "WINDOWS-1252", "/pages\\intro.htm"},  // a viewer takes "\" as part of the name
        {"\xDC"
         "bungen/\xE4pfel.htm",
         "WINDOWS-1252", "/Übungen/äpfel.htm"},
        {"\xE3\xEB\xE0\xE2\xFB/a.htm", "WINDOWS-1251", "/главы/a.htm"},
        {"Tom &amp; Jerry &#1046;&#x416;.htm", "WINDOWS-1252", "/Tom & Jerry ЖЖ.htm"},
        {"a/./b/../c.htm", "WINDOWS-1252", "/a/c.htm"},
        {"&bogus; &unknown;.htm", "WINDOWS-1252", "/&bogus; &unknown;.htm"},
        {"a&#xZZ;.htm", "WINDOWS-1252", "/a&"},  // what is no reference is text, and "#" starts the anchor
        {"#top", "WINDOWS-1252", ""},
        {"http://example.com/a.htm", "WINDOWS-1252", ""},
        {"mk:@MSITStore:other.chm::/a.htm", "WINDOWS-1252", ""},
        {"", "WINDOWS-1252", ""},
        {"a.htm", "NO-SUCH-CODE-PAGE", "/a.htm"},
        {"q&amp;a.htm", "WINDOWS-1252", "/q&a.htm"},
        {"100%25 sure.htm", "WINDOWS-1252", "/100% sure.htm"},
        {"100% sure.htm", "WINDOWS-1252", "/100sure.htm"},  // no escape: a viewer drops it
        {"what%3F.htm#x", "WINDOWS-1252", "/what?.htm"},
        {"%C3%A4.htm", "WINDOWS-1252", "/\xC3\xA4.htm"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(storedPathOfLocal(c.local, c.codePage), c.stored) << c.local;
}

TEST(HelpFileLinks, NamesEveryEntryKeywordAndDefaultTopicThatLeadsNowhere)
{
    StoredFiles help;
    help.stored["/#SYSTEM"] = systemFile(0x419, "\xE3\xEB\xE0\xE2\xFB/\xED\xE5\xF2.htm");
    help.stored["/g.hhc"] = "<HTML><BODY><UL>" + entry("\xC3\xEB\xE0\xE2\xE0 &amp; 1", "\xE3\xEB\xE0\xE2\xFB/a.htm#x") +
                            entry("Gone", "gone.htm") + entry("Header", "") + "<LI><OBJECT type=\"text/sitemap\">" +
                            "<param name='Name' value='Two'><param name=Local value=two.htm>" +
                            "<param name=\"Local\" value=\"a2.htm\"></OBJECT></UL></BODY></HTML>";
    help.stored["/g.hhk"] = entry("alpha", "two.htm") + entry("beta", "\xE3\xEB\xE0\xE2\xFB/A.htm");
    help.stored["/главы/a.htm"] = "";
    help.stored["/two.htm"] = "";

    const std::vector<std::string> lines = checkHelpFileLinks(help, "g.hhc", "g.hhk");
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Warning: Contents entry \"Gone\" leads to gone.htm, which the help file does not hold",
                         "Warning: Contents entry \"Two\" leads to a2.htm, which the help file does not hold",
                         "Warning: Keyword \"beta\" leads to главы/A.htm, which the help file does not hold",
                         "Warning: The default topic leads to главы/нет.htm, which the help file does not hold"}));

    // Told the code page, the check does not take the language's.
    EXPECT_EQ(checkHelpFileLinks(help, "g.hhc", "g.hhk", "WINDOWS-1252").size(), 5u);

    // A default topic never chosen is no link.
    help.stored["/#SYSTEM"] = systemFile(0x419, "(not defined)");
    EXPECT_EQ(checkHelpFileLinks(help, "g.hhc", "g.hhk").size(), 3u);

    help.stored.erase("/g.hhk");
    EXPECT_EQ(checkHelpFileLinks(help, "g.hhc", "g.hhk").at(2),
              "Warning: The help file holds no g.hhk; help viewers will not find it");
}

// UTF-8 bytes of a file name that are no text in the code page open
// nothing in a viewer, though the same bytes name the stored file.
TEST(HelpFileLinks, NamesAnEntryWhoseLocalIsNoTextInTheCodePage)
{
    StoredFiles help;
    help.stored["/#SYSTEM"] = systemFile(0x408, "a.htm");
    help.stored["/g.hhc"] = "<HTML><BODY><UL>" +
                            entry("Street",
                                  "stra\xC3\x9F"
                                  "e.htm") +
                            "</UL></BODY></HTML>";
    help.stored
        ["/stra\xC3\x9F"
         "e.htm"] = "";
    help.stored["/a.htm"] = "";
    const std::vector<std::string> lines = checkHelpFileLinks(help, "g.hhc", {});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("Warning: Contents entry \"Street\" leads to stra")) << lines[0];
    EXPECT_TRUE(
        lines[0].ends_with(", which is not text in CP1253, the help file's code page; help viewers open "
                           "nothing"))
        << lines[0];
}

// Pages are read as a viewer reads them, in the help file's code page, and
// their links looked up among the stored names.
TEST(HelpFileLinks, NamesEveryLinkOfAStoredPageThatLeadsNowhere)
{
    StoredFiles help;
    help.stored["/#SYSTEM"] = systemFile(0x405, "kapitoly/\xFAvod.htm");  // Czech: Windows-1250
    help.stored["/kapitoly/úvod.htm"] =
        "<a href=\"../&#1075;&#1083;&#1072;&#1074;&#1099;/&#1105;&#1083;&#1082;&#1072;.htm#x\">x</a>"
        "<a href=\"\xF8"
        "e\x9A"
        "en\xED probl\xE9m\xF9.htm\">x</a>"
        "<a href=\"%C5%99.htm?q\">x</a><a "
        "href=\"/&#1075;&#1083;&#1072;&#1074;&#1099;/&#1105;&#1083;&#1082;&#1072;.htm\">x</a>"
        "<img src=\"..\\obr\\a.png\"><a href=\"chyb\xED.htm\">x</a>"
        "<a href=\"\xD1\x91.htm\">UTF-8 left as it was</a>"
        "<a href=\"hotovo.htm\">x</a><a href=\"../../venku.htm\">x</a>"
        "<a href=\"http://example.com/\">x</a><a href=\"#top\">x</a><a href=\"mk:@MSITStore:x.chm::/a.htm\">x</a>"
        "<a href=\"javascript:x()\">x</a><a href=\"?x\">x</a>";
    help.stored["/главы/ёлка.htm"] = "<a href=\"../kapitoly/\xFAvod.htm\">x</a><link href=\"styl.css\">";
    help.stored["/kapitoly/řešení problémů.htm"] = "";
    help.stored["/kapitoly/ř.htm"] = "";
    help.stored["/obr.png"] = "<a href=\"nothing.htm\">not a page</a>";

    // What the checks before the compile reported already is not reported
    // again.
    const auto reportedBefore = [](std::string_view target) {
        return target == "kapitoly/hotovo.htm" || target == "../venku.htm";
    };
    EXPECT_EQ(checkHelpFileLinks(help, "", "", {}, {}, reportedBefore),
              (std::vector<std::string>{
                  "Warning: Picture in kapitoly/úvod.htm leads to ..\\obr\\a.png, which the help file does not hold",
                  "Warning: Link in kapitoly/úvod.htm leads to chybí.htm, which the help file does not hold",
                  "Warning: Link in kapitoly/úvod.htm leads to Ń‘.htm, which the help file does not hold",
                  "Warning: Reference in главы/ёлка.htm leads to styl.css, which the help file does not hold"}));
}

// The default topic and the window's files are no HTML: a viewer takes
// them as they are stored, character references included.
TEST(HelpFileLinks, NamesEveryFileOfTheHelpWindowThatLeadsNowhere)
{
    StoredFiles help;
    help.stored["/#SYSTEM"] = systemFile(0x419, "\xE3\xEB\xE0\xE2\xFB/\xB8\xEB\xEA\xE0.htm");  // Russian
    help.stored["/главы/ёлка.htm"] = "";
    help.stored["/главы/дом.htm"] = "";
    help.stored["/kapitoly/ř.htm"] = "";
    help.stored["/úvod.htm"] = "";
    std::tie(help.stored["/#WINDOWS"], help.stored["/#STRINGS"]) =
        oneWindow("\xE3\xEB\xE0\xE2\xFB/\xED\xE5\xF2.htm", "\xE3\xEB\xE0\xE2\xFB/\xE4\xEE\xEC.htm#x",
                  "kapitoly/&#345;.htm", "http://example.com/");
    EXPECT_EQ(checkHelpFileLinks(help, "", ""),
              (std::vector<std::string>{
                  "Warning: The default topic of the help window \"Main\" leads to главы/нет.htm, which the help "
                  "file does not hold",
                  "Warning: Jump 1 of the help window \"Main\" leads to kapitoly/&#345;.htm, which the help file does "
                  "not hold"}));

    // The same file as the help file's default topic is named once.
    help.stored["/#SYSTEM"] = systemFile(0x419, "&#250;vod.htm");
    std::tie(help.stored["/#WINDOWS"], help.stored["/#STRINGS"]) =
        oneWindow("&#250;vod.htm", "\xE3\xEB\xE0\xE2\xFB/\xED\xE5\xF2.htm", "", "");
    EXPECT_EQ(checkHelpFileLinks(help, "", ""),
              (std::vector<std::string>{
                  "Warning: The default topic leads to &#250;vod.htm, which the help file does not hold",
                  "Warning: The home page of the help window \"Main\" leads to главы/нет.htm, which the help file "
                  "does not hold"}));
}

TEST(HelpIdTable, NamesEveryHelpIdAnApplicationCannotOpen)
{
    // The context table as a compiler writes it: 32-bit byte count, then
    // number and #STRINGS offset of each topic.
    const auto table = [](const std::vector<std::pair<std::uint32_t, std::string>>& rows) {
        std::string ivb;
        std::string strings(1, '\0');
        const auto put = [&ivb](std::uint32_t value) {
            for (int i = 0; i < 4; ++i)
                ivb.push_back(static_cast<char>(value >> (8 * i)));
        };
        put(static_cast<std::uint32_t>(rows.size() * 8));
        for (const auto& [number, topic] : rows) {
            put(number);
            put(static_cast<std::uint32_t>(strings.size()));
            strings += topic + '\0';
        }
        return std::pair{ivb, strings};
    };
    StoredFiles help;
    const auto [ivb, strings] =
        table({{1, "a.htm"}, {2, "/srv/help/b.htm"}, {3, "pages/c\xE9.htm#part"}, {4, "gone.htm"}, {5, "sub/./d.htm"}});
    help.stored = {{"/#SYSTEM", systemFile(0x40C, "a.htm")},
                   {"/#IVB", ivb},
                   {"/#STRINGS", strings},
                   {"/a.htm", "A"},
                   {"/b.htm", "B"},
                   {"/pages/c\xC3\xA9.htm", "C"},
                   {"/sub/d.htm", "D"}};
    const std::vector<HelpIdEntry> ids = {
        {"IDH_A", 1, "a.htm"},       {"IDH_B", 2, "b.htm"},      {"IDH_C", 3, "pages\\c\xC3\xA9.htm#part"},
        {"IDH_GONE", 4, "gone.htm"}, {"IDH_D", 5, "/sub/d.htm"}, {"IDH_MISSING", 6, "a.htm"}};
    EXPECT_EQ(checkHelpIdTable(help, ids),
              (std::vector<std::string>{
                  "Warning: The help id IDH_B (2) leads to /srv/help/b.htm in the help file instead of b.htm; help "
                  "viewers open nothing there",
                  "Warning: The help id IDH_GONE (4) leads to gone.htm, which the help file does not hold",
                  "Warning: The help id IDH_MISSING (6) is not in the help file's context table; applications cannot "
                  "open the help file at it"}));
    EXPECT_EQ(checkHelpIdTable(help, ids, {}, 1).back(), "Warning: 2 more help ids fail the same way");

    help.stored.erase("/#IVB");
    EXPECT_EQ(checkHelpIdTable(help, ids).size(), ids.size());
    EXPECT_TRUE(checkHelpIdTable(help, {}).empty());
}

}  // namespace
}  // namespace doxel

#include "output/help_file_check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "test_support.h"

namespace doxel {
namespace {

// A small project folder: two topics, a page reached only by a link, two
// pictures, and a page beside the project folder.
class HelpFileCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::writeFile(m_dir.file("outside.htm"), "<p>outside</p>");
        test::writeFile(file("intro.htm"), R"html(<h1 id="Top">Intro</h1>
<a href="sub/deep.htm">deep</a> <a href="sub/deep.htm#part">again</a> <a href="missing.htm">gone</a>
<a href="#top">top</a> <a href="http://example.com/">web</a> <a href="mailto:a@example.com">mail</a>
<img src="images/logo.png"> <img src="IMAGES/logo.png"> <img src="nopic.gif">
<a href="../outside.htm">out</a> <a href="sub/ONLYCASE.htm">case</a> <a href="javascript:x()">js</a>
<link rel="stylesheet" href="style.css">)html");
        test::writeFile(file("sub/deep.htm"), R"(<a name="part"></a><a href="../intro.htm">back</a>
<a href="reached.htm">more</a> <a href="/intro.htm">root</a> <a href="missing.htm">gone too</a>)");
        test::writeFile(file("sub/reached.htm"), R"(<img src="../images/logo.png"><frame src="framed.htm">)");
        test::writeFile(file("sub/framed.htm"), "<p>framed</p>");
        test::writeFile(file("sub/onlycase.htm"), "<p>case</p>");
        test::writeFile(file("images/logo.png"), "PNG");
        test::writeFile(file("übungen/Äpfel.htm"), "<p>Äpfel</p>");
    }

    std::string file(const std::string& relative) const { return m_dir.file("proj/" + relative); }
    std::string folder() const { return m_dir.file("proj"); }

    test::TempDir m_dir;
};

TEST_F(HelpFileCheckTest, ReportsMissingTopicFilesAndLetterCaseDifferencesAsErrors)
{
    HelpFileCheck check(folder());
    check.checkTopicFiles({"intro.htm", "SUB\\deep.htm", "gone.htm", "intro.htm", "", "..\\outside.htm", "sub\\",
                           "Sub/Reached.htm", "ÜBUNGEN\\äpfel.htm", "übungen/Äpfel.htm"});
    EXPECT_EQ(check.lines(),
              (std::vector<std::string>{
                  "Error: Topic file SUB/deep.htm differs in letter case from sub/deep.htm on disk",
                  "Error: Topic file gone.htm does not exist",
                  "Warning: Topic file ../outside.htm lies outside the project folder, where the help "
                  "file cannot hold it",
                  "Error: Topic file sub/ does not exist",
                  "Error: Topic file Sub/Reached.htm differs in letter case from sub/reached.htm on disk",
                  "Error: Topic file ÜBUNGEN/äpfel.htm differs in letter case from übungen/Äpfel.htm on "
                  "disk",
              }));
    EXPECT_EQ(check.statistics().errors, 5);
    EXPECT_EQ(check.statistics().warnings, 1);
    EXPECT_TRUE(check.hasErrors());
}

TEST_F(HelpFileCheckTest, EntriesLeadingNowhereAreWarningsAndStyleSheetsAreScannedLikePages)
{
    test::writeFile(file("style.css"), "body { background: url(images/logo.png) }\n@import 'gone.css';");
    HelpFileCheck check(folder());
    check.checkEntryTopics({{"Contents entry", "Intro", "intro.htm"},
                            {"Keyword", "Lost", "lost.htm"},
                            {"Keyword", "Lost again", "lost.htm#x"}});
    EXPECT_EQ(check.lines(), (std::vector<std::string>{
                                 "Warning: Keyword \"Lost\" leads to lost.htm, which does not exist",
                                 "Warning: Keyword \"Lost again\" leads to lost.htm, which does not exist",
                             }));
    EXPECT_EQ(check.brokenEntries(), 2);
    EXPECT_FALSE(check.hasErrors());
    check.scanPages({});
    const std::vector<std::string> reached = check.reachedFiles();
    EXPECT_NE(std::find(reached.begin(), reached.end(), "style.css"), reached.end());
    EXPECT_NE(std::find(check.lines().begin(), check.lines().end(),
                        "Warning: Broken reference in style.css: gone.css does not exist"),
              check.lines().end());
    EXPECT_EQ(check.statistics().topics, 4) << "a style sheet is no topic";
}

TEST_F(HelpFileCheckTest, FollowsLinksToEveryPageAndCountsWhatThePagesHold)
{
    HelpFileCheck check(folder());
    check.checkTopicFiles({"intro.htm", "sub\\deep.htm"});
    check.checkDefaultTopic("start.htm");
    check.scanPages({});
    EXPECT_EQ(check.lines(),
              (std::vector<std::string>{
                  "Warning: Default topic start.htm does not exist",
                  "Warning: Broken link in intro.htm: missing.htm does not exist",
                  "Warning: Picture in intro.htm to IMAGES/logo.png differs in letter case from images/logo.png on "
                  "disk",
                  "Warning: Broken picture in intro.htm: nopic.gif does not exist",
                  "Warning: Link in intro.htm to ../outside.htm lies outside the project folder, where the help file "
                  "cannot hold it",
                  "Warning: Link in intro.htm to sub/ONLYCASE.htm differs in letter case from sub/onlycase.htm on "
                  "disk; the compiler leaves such files out of the help file",
                  "Warning: Broken reference in intro.htm: style.css does not exist",
                  "Warning: Broken link in sub/deep.htm: missing.htm does not exist",
              }));
    CompileStatistics expected;
    expected.warnings = 8;
    expected.topics = 4;       // intro, deep, reached, framed
    expected.graphics = 1;     // images/logo.png, however often shown
    expected.localLinks = 10;  // every <a href> to a page of the project, broken ones included
    expected.internetLinks = 2;
    EXPECT_EQ(check.statistics(), expected);

    EXPECT_TRUE(check.reportedMissing("missing.htm"));
    EXPECT_TRUE(check.reportedMissing("sub/../sub/missing.htm"));
    EXPECT_FALSE(check.reportedMissing("sub/deep.htm"));
    EXPECT_FALSE(check.reportedMissing("sub/onlycase.htm"));
}

TEST_F(HelpFileCheckTest, FindsAnchorsByTheirExactName)
{
    HelpFileCheck check(folder());
    check.checkTopicFiles({"intro.htm"});
    check.scanPages({});
    struct Case {
        const char* page;
        const char* name;
        HelpFileCheck::Anchor expected;
    };
    const Case cases[] = {
        {"intro.htm", "Top", HelpFileCheck::Anchor::Defined},
        // "#top" is the page's start in every browser, defined or not.
        {"intro.htm", "top", HelpFileCheck::Anchor::Defined},
        {"sub/deep.htm", "TOP", HelpFileCheck::Anchor::Defined},
        {"intro.htm", "bottom", HelpFileCheck::Anchor::Undefined},
        {"sub/deep.htm", "part", HelpFileCheck::Anchor::Defined},
        {"sub/deep.htm", "Part", HelpFileCheck::Anchor::Undefined},
        {"sub/../sub/deep.htm", "part", HelpFileCheck::Anchor::Defined},
        {"sub/framed.htm", "part", HelpFileCheck::Anchor::Undefined},
        {"sub/none.htm", "part", HelpFileCheck::Anchor::NoPage},
        {"sub/", "part", HelpFileCheck::Anchor::NoPage},
    };
    for (const Case& c : cases)
        EXPECT_EQ(check.findAnchor(c.page, c.name), c.expected) << c.page << "#" << c.name;
}

TEST_F(HelpFileCheckTest, ReportsProgressNoMoreOftenThanAsked)
{
    std::vector<std::string> texts;
    HelpFileCheck everyPage(folder());
    everyPage.checkTopicFiles({"intro.htm"});
    everyPage.scanPages([&](const std::string& text) { texts.push_back(text); }, std::chrono::milliseconds(0));
    EXPECT_EQ(texts.size(), 4U);
    EXPECT_EQ(texts.front(), "Checking intro.htm (1 of 1)");

    texts.clear();
    HelpFileCheck seldom(folder());
    seldom.checkTopicFiles({"intro.htm"});
    seldom.scanPages([&](const std::string& text) { texts.push_back(text); }, std::chrono::hours(1));
    EXPECT_EQ(texts.size(), 1U);
}

TEST_F(HelpFileCheckTest, NotesOnlyPagesThatCannotBeStoredInTheHelpFilesCodePage)
{
    // Every page here but the last reads right once the compile stores it:
    // ASCII is the same in every code page, the others are converted.
    test::writeFile(file("de/ascii.htm"), "<meta charset=\"us-ascii\"><p>plain</p>");
    test::writeFile(file("de/doxygen.htm"), "<meta http-equiv=\"Content-Type\" content=\"text/xhtml;charset=UTF-8\">");
    test::writeFile(file("de/latin.htm"), "<META CHARSET='ISO-8859-1'><p>\xFC</p>");
    test::writeFile(file("de/utf8.htm"), "<p>Übungen</p>");
    test::writeFile(file("de/russian.htm"), "<meta charset=koi8-r><p>\xF0</p>");
    test::writeFile(file("de/unknown.htm"), "<meta charset=x-nonsense><p>\xE4</p>");
    HelpFileCheck check(folder());
    check.setHelpCodePage(1252);
    check.checkTopicFiles(
        {"de/ascii.htm", "de/doxygen.htm", "de/latin.htm", "de/utf8.htm", "de/russian.htm", "de/unknown.htm"});
    check.scanPages({});
    std::vector<std::string> notes;
    for (const std::string& line : check.lines()) {
        if (line.starts_with("Note: "))
            notes.push_back(line);
    }
    ASSERT_EQ(notes.size(), 1u) << ::testing::PrintToString(check.lines());
    EXPECT_TRUE(notes[0].starts_with("Note: Page de/unknown.htm is in x-nonsense,")) << notes[0];
    EXPECT_EQ(check.statistics().warnings, 0);
}

// Every page links into other folders, to a place in a page of another
// encoding, and to one file that is not there.
TEST_F(HelpFileCheckTest, ReadsEachLinkAndAnchorInItsPagesEncoding)
{
    test::writeFile(file("kapitoly/řešení problémů.htm"), "<p id=\"nahoru\">ok</p>");
    test::writeFile(file("kapitoly/Čš.htm"), "<p>ok</p>");
    test::writeFile(file("главы/ёлка.htm"), "<p id=\"верх\">ёлка</p>");
    // Windows-1250: <a name="řešení">
    test::writeFile(file("kapitoly/cp.htm"),
                    "<meta charset=windows-1250><a name=\"\xF8"
                    "e\x9A"
                    "en\xED\">x</a>");
    const std::string cz =
        "\xF8"
        "e\x9A"
        "en\xED probl\xE9m\xF9";  // řešení problémů in Windows-1250
    const std::string czAnchor =
        "\xF8"
        "e\x9A"
        "en\xED";
    struct Case {
        const char* what;
        int helpCodePage;
        std::string html;
    };
    const Case cases[] = {
        {"Windows-1250, declared", 1251,
         "<meta charset=windows-1250><a href=\"../kapitoly/" + cz + ".htm#nahoru\">x</a>" +
             "<a href=\"../kapitoly/cp.htm#" + czAnchor + "\">x</a><a name=\"m\xEDsto\"></a>" +
             "<a href=\"#m\xEDsto\">x</a><a href=\"chyb\xED.htm\">x</a>"},
        {"Windows-1250 in the help file's code page", 1250,
         "<a href=\"../kapitoly/" + cz + ".htm#nahoru\">x</a><a href=\"../kapitoly/cp.htm#" + czAnchor +
             "\">x</a><a name=\"m\xEDsto\"></a><a href=\"#m\xEDsto\">x</a><a href=\"chyb\xED.htm\">x</a>"},
        {"Windows-1250 with character references", 1250,
         "<meta charset=windows-1250><a href=\"../kapitoly/&#345;e&#353;en&#237; probl\xE9m\xF9.htm\">x</a>"
         "<a href=\"../kapitoly/cp.htm#&#345;e\x9A"
         "en\xED\">x</a><a href=\"chyb&iacute;.htm\">x</a>"},
        // Windows-1250 bytes that happen to be valid UTF-8 as well
        {"Windows-1250 that looks like UTF-8", 1252,
         "<meta charset=windows-1250><a href=\"../kapitoly/\xC8\x9A.htm\">x</a><a href=\"chyb\xED.htm\">x</a>"},
        {"UTF-8", 1250,
         "<meta charset=utf-8><a href=\"../главы/ёлка.htm#верх\">x</a><a href=\"../kapitoly/cp.htm#řešení\">x</a>"
         "<a href=\"../kapitoly/%C5%99e%C5%A1en%C3%AD%20probl%C3%A9m%C5%AF.htm#nahoru\">x</a>"
         "<a href=\"chybí.htm\">x</a>"},
        {"UTF-8 in a help file of another code page", 1252,
         "<a href=\"../главы/ёлка.htm#верх\">x</a><a href=\"../kapitoly/řešení problémů.htm\">x</a>"
         "<a href=\"chybí.htm\">x</a>"},
        {"Windows-1251, declared", 1250,
         "<meta charset=windows-1251><a href=\"../\xE3\xEB\xE0\xE2\xFB/\xB8\xEB\xEA\xE0.htm#\xE2\xE5\xF0\xF5\">x</a>"
         "<a href=\"chyb&#237;.htm\">x</a>"},
    };
    for (const Case& c : cases) {
        test::writeFile(file("odkazy/page.htm"), c.html);
        HelpFileCheck check(folder());
        check.setHelpCodePage(c.helpCodePage);
        check.checkTopicFiles({"odkazy/page.htm"});
        check.scanPages({});
        EXPECT_EQ(check.lines(), (std::vector<std::string>{"Warning: Broken link in odkazy/page.htm: chybí.htm does "
                                                           "not exist"}))
            << c.what;
    }
}

TEST(PageEncoding, ComesFromTheMetaDeclarationOrTheBytes)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"<meta charset=\"UTF-8\">", "utf-8"},
        {"<meta http-equiv=Content-Type content='text/html; charset = Windows-1251'>", "windows-1251"},
        {"<p>charset=big5</p><p>\xD0\x9F</p>", "utf-8"},  // said in the text, not declared
        {"<p>\xC4pfel</p>", ""},                          // 8-bit, code page unknown
        {"<p>plain</p>", ""},
    };
    for (const auto& [html, encoding] : cases)
        EXPECT_EQ(pageEncoding(html), encoding) << html;

    const std::pair<std::string_view, int> pages[] = {
        {"windows-1251", 1251}, {"CP1250", 1250},   {"x-cp1253", 1253}, {"utf-8", 65001}, {"iso-8859-1", 1252},
        {"us-ascii", 0},        {"Shift_JIS", 932}, {"gb2312", 936},    {"koi8-r", -1},   {"windows-", -1},
    };
    for (const auto& [name, codePage] : pages)
        EXPECT_EQ(codePageOfEncoding(name), codePage) << name;
}

}  // namespace
}  // namespace doxel

namespace doxel {
namespace {

TEST(HelpFileCheckAnchors, ChecksTheFileOfATopicWithAnAnchorAndTheAnchorInIt)
{
    test::TempDir dir;
    test::writeFile(dir.file("p/api/a.html"), R"(<h2 id="details">x</h2><a name="Old">y</a>)");
    HelpFileCheck check(dir.file("p"));
    check.checkTopicFiles(
        {"api/a.html#details", "api\\a.html#Old", "api/a.html#old", "api/a.html#gone", "api/b.html#x", "api/a.html"});
    // "#old" opens the page at its top in a viewer, as "Old" is its anchor.
    EXPECT_EQ(check.lines(), (std::vector<std::string>{"Error: Topic file api/b.html does not exist",
                                                       "Warning: Topic api/a.html#gone: the page has no anchor gone",
                                                       "Warning: Topic api/a.html#old: the page has no anchor old"}));
}

TEST_F(HelpFileCheckTest, ReportsALinkToAPlaceItsPageDoesNotDefineOnce)
{
    test::writeFile(file("places.htm"),
                    R"(<a href="sub/deep.htm#PART">defined</a> <a href="sub/deep.htm#nowhere">not</a>
<a href="sub/deep.htm#nowhere">again</a> <a href="gone.htm#x">missing page</a>)");
    HelpFileCheck check(folder());
    check.checkTopicFiles({"places.htm"});
    check.scanPages({});
    std::vector<std::string> anchors;
    for (const std::string& line : check.lines()) {
        if (line.find("Anchor") != std::string::npos)
            anchors.push_back(line);
    }
    // The page defines "part": browsers match an anchor exactly.
    EXPECT_EQ(anchors,
              (std::vector<std::string>{"Error: Anchor sub/deep.htm#PART undefined; first use places.htm",
                                        "Error: Anchor sub/deep.htm#nowhere undefined; first use places.htm"}));
}

}  // namespace
}  // namespace doxel

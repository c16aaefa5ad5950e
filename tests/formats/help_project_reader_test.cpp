#include "formats/help_project_reader.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "formats/help_id_map.h"
#include "formats/help_project_writer.h"

namespace doxel {
namespace {

TEST(WindowDefinition, SplitsQuotedFieldsWithCommasAndKeepsTheRectangleWhole)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"\"Guide, 2nd\",\"g.hhc\",,\"a.htm\",,,,,,0x20,200,0x0,[80,70,730,500],0x0,0x0,,,,,0",
         {"Guide, 2nd", "g.hhc",           "",    "a.htm", "", "", "", "", "", "0x20", "200",
          "0x0",        "[80,70,730,500]", "0x0", "0x0",   "", "", "", "", "0"}},
        {"\"T\" , \"x.hhc\" , 0x20", {"T", "x.hhc", "0x20"}},
        {"\"open quote", {"open quote"}},
        {"", {""}},
    };
    for (const auto& [value, fields] : cases)
        EXPECT_EQ(splitWindowDefinition(value), fields) << value;
}

TEST(WindowDefinition, ReadsBackWhatTheHelpProjectWriterWrites)
{
    Project project("Guide, \"2nd\" edition");
    project.projectFile = "/h/guide.dxp";
    project.deriveCompilerFileNames();
    project.keywords.push_back({"k", "/h/a.htm"});
    WindowSettings& w = project.windowSettings;
    w.defaultTopic = "pages\\intro.htm";
    w.homePage = "home.htm";
    w.jump1Url = "http://example.org/a";
    w.jump1Text = "Site";
    w.jump2Url = "faq.htm";
    w.jump2Text = "FAQ";
    w.navigationStyle = static_cast<std::int32_t>(0x80000520u);
    w.navigationPaneWidth = 180;
    w.buttons = 274502;
    w.windowStyle = 269418496;
    w.extendedStyle = 0x100;
    w.left = -20;
    w.top = 10;
    w.width = 900;
    w.height = 700;
    const std::string definition = buildWindowDefinition(project);
    const WindowDefinition back = windowDefinitionFrom("Main", splitWindowDefinition(definition));
    EXPECT_EQ(back.title, "Guide, '2nd' edition");
    EXPECT_EQ(back.contentsFile, "/h/guide.hhc");
    EXPECT_EQ(back.indexFile, "/h/guide.hhk");
    EXPECT_EQ(back.defaultTopic, "pages/intro.htm");
    EXPECT_EQ(back.homePage, "home.htm");
    EXPECT_EQ(back.jump1Url, "http://example.org/a");
    EXPECT_EQ(back.jump2Text, "FAQ");
    EXPECT_EQ(back.navigationStyle, w.navigationStyle);
    EXPECT_EQ(back.navigationPaneWidth, 180);
    EXPECT_EQ(back.buttons, 274502);
    EXPECT_EQ(back.left, -20);
    EXPECT_EQ(back.top, 10);
    EXPECT_EQ(back.right, 880);
    EXPECT_EQ(back.bottom, 710);
    EXPECT_EQ(back.windowStyle, 269418496);
    EXPECT_EQ(back.extendedStyle, 0x100);
}

TEST(HelpProjectReader, ReadsOptionsWindowsAndFilesInTheirEncodings)
{
    const std::string text =
        "\xEF\xBB\xBF[OPTIONS]\r\nCompatibility=1.1 or later\r\nCompiled file=guide.chm\r\n"
        "contents file = guide.hhc\r\nIndex file=guide.hhk\r\nDefault Window=Second\r\n"
        "Default topic=\xE3\xEB\xE0\xE2\xFB/a.htm\r\nFull-text search=Yes\r\nBinary TOC=Yes\r\n"
        "Title=\xD0\xF3\xEA\xEE\r\nLanguage=0x419 Russisch\r\n\r\n[WINDOWS]\r\n"
        "Main=\"M\",\"m.hhc\",,,,,,,,0x20\r\nSecond=\"\xD0\xF3\",\"guide.hhc\",,\"главы/a.htm\",,,,,,0x520,210\r\n\r\n"
        "[FILES]\r\nглавы/a.htm\r\n; a comment\r\nb.htm\r\n\r\n[MAP]\r\n#define A 1\r\n[INFOTYPES]\r\n";
    const HelpProjectFile project = readHelpProject(text, "guide.hhp");
    EXPECT_EQ(project.title, "Руко");
    EXPECT_EQ(project.contentsFile, "guide.hhc");
    EXPECT_EQ(project.indexFile, "guide.hhk");
    EXPECT_EQ(project.defaultTopic, "главы/a.htm");
    EXPECT_TRUE(project.fullTextSearch);
    EXPECT_EQ(project.languageId, 0x419);
    ASSERT_EQ(project.windows.size(), 2u);
    ASSERT_NE(project.mainWindow(), nullptr);
    EXPECT_EQ(project.mainWindow()->title, "Ру");
    EXPECT_EQ(project.mainWindow()->defaultTopic, "главы/a.htm");
    EXPECT_EQ(project.mainWindow()->navigationPaneWidth, 210);
    EXPECT_EQ(project.files, (std::vector<std::string>{"главы/a.htm", "b.htm"}));
    std::vector<int> noteLines;
    for (const SitemapNote& note : project.notes)
        noteLines.push_back(note.line);
    EXPECT_EQ(noteLines, (std::vector<int>{9}));  // Binary TOC
    // [MAP] is kept, each line at its place in the file.
    const HelpIdHeader map = readHelpIdHeader(project.mapText);
    ASSERT_EQ(map.lines.size(), 1u);
    EXPECT_EQ(map.lines[0].line, 23);
    EXPECT_EQ(map.lines[0].name, "A");

    EXPECT_THROW(readHelpProject(std::string("[OPTIONS]\n\0", 11), "x.hhp"), FormatError);
    EXPECT_EQ(readHelpProject("", "x.hhp").mainWindow(), nullptr);
}

}  // namespace
}  // namespace doxel

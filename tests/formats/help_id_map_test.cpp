#include "formats/help_id_map.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "formats/help_file.h"
#include "formats/help_project_writer.h"
#include "test_support.h"

namespace doxel {
namespace {

using Defines = std::vector<std::pair<std::string, std::uint32_t>>;

Defines definesOf(const HelpIdHeader& header)
{
    Defines out;
    for (const HelpIdHeaderLine& line : header.lines) {
        if (!line.name.empty())
            out.emplace_back(line.name, line.number);
    }
    return out;
}

bool anyNoteHas(const std::vector<std::string>& notes, const std::string& text)
{
    return std::any_of(notes.begin(), notes.end(),
                       [&](const std::string& note) { return note.find(text) != std::string::npos; });
}

TEST(HelpIdHeader, ReadsDecimalHexAndBracketedNumbersPastComments)
{
    const std::string header =
        "#ifndef IDS_H\r\n"
        "#define IDS_H\r\n"
        "// #define IDH_COMMENTED 1\r\n"
        "#define IDH_OPEN 1001 // the file dialog\r\n"
        "#define IDH_SAVE 0x3EA /* hex */\r\n"
        "#  define\tIDH_PRINT (1003)\r\n"
        "#define IDH_LONG 1004L\r\n"
        "/* #define IDH_BLOCK 5\r\n"
        "   #define IDH_BLOCK2 6 */ #define IDH_AFTER 1005\r\n"
        "; #define IDH_SEMICOLON 7\r\n"
        "#define MAKE_ID(x) (1000 + x)\r\n"
        "#define IDH_SUM (IDH_OPEN + 1)\r\n"
        "#define IDH_ZERO 0\r\n"
        "#define 9BAD 12\r\n"
        "int unrelated;\r\n"
        "#endif";
    const HelpIdHeader read = readHelpIdHeader(header);
    EXPECT_EQ(
        definesOf(read),
        (Defines{
            {"IDH_OPEN", 1001}, {"IDH_SAVE", 1002}, {"IDH_PRINT", 1003}, {"IDH_LONG", 1004}, {"IDH_AFTER", 1005}}));
    // What stays out for a reason says so; guards, macros and code do not.
    ASSERT_EQ(read.notes.size(), 2u);
    EXPECT_EQ(read.notes[0].line, 12);
    EXPECT_NE(read.notes[0].text.find("IDH_SUM"), std::string::npos);
    EXPECT_EQ(read.notes[1].line, 13);
}

TEST(HelpIdHeader, NotesStrayLinesOnlyInAMapSection)
{
    const std::string text = "#define IDH_A 1\nIDH_B=2\n#pragma once\n#include \"ids.h\"\n#include <more.h>\n";
    EXPECT_TRUE(readHelpIdHeader(text).notes.empty());
    const HelpIdHeader strict = readHelpIdHeader(text, true);
    ASSERT_EQ(strict.notes.size(), 2u);
    EXPECT_EQ(strict.notes[0].line, 2);
    std::vector<std::string> includes;
    for (const HelpIdHeaderLine& line : strict.lines) {
        if (line.name.empty())
            includes.push_back(line.include);
    }
    EXPECT_EQ(includes, (std::vector<std::string>{"ids.h", "more.h"}));
}

class HelpIdsFromProject : public ::testing::Test {
protected:
    HelpIdDefinitions read(const std::string& hhp)
    {
        test::writeFile(dir.path() / "help.hhp", hhp);
        return readHelpIds(readHelpProject(hhp, "help.hhp"), dir.path().string(), "help.hhp");
    }
    test::TempDir dir;
};

TEST_F(HelpIdsFromProject, FollowsIncludesOnceAndStopsAtLoops)
{
    std::filesystem::create_directories(dir.path() / "inc");
    // ids.h lies beside the project, more.h beside the file that includes
    // it; more.h includes ids.h back, and ids.h is included twice.
    test::writeFile(dir.path() / "ids.h", "#define IDH_A 1001\n#include \"inc/more.h\"\n");
    test::writeFile(dir.path() / "inc/more.h", "#define IDH_B 0x3EA\n#include \"back.h\"\n");
    test::writeFile(dir.path() / "inc/back.h", "#include \"../ids.h\"\n#define IDH_C 1003\n");
    test::writeFile(dir.path() / "topics.ali", "IDH_B=pages\\b.htm\r\n#include gone.ali\r\n");
    const HelpIdDefinitions ids =
        read(test::crlf({"[OPTIONS]", "Title=T", "", "[ALIAS]", "IDH_A=a.htm#top", "#include topics.ali", "IDH_C=c.htm",
                         "", "[MAP]", "#include ids.h", "#include \"ids.h\"", "#define IDH_D 1004"}));
    EXPECT_EQ(ids.ids, (std::vector<HelpIdEntry>{
                           {"IDH_A", 1001, "a.htm#top"}, {"IDH_B", 1002, "pages\\b.htm"}, {"IDH_C", 1003, "c.htm"}}));
    EXPECT_TRUE(anyNoteHas(ids.notes, "back.h, line 1: the included file ../ids.h includes itself")) << ids.notes[0];
    EXPECT_TRUE(anyNoteHas(ids.notes, "topics.ali, line 2: the included file gone.ali is not there"));
    EXPECT_TRUE(anyNoteHas(ids.notes, "help.hhp, line 12: IDH_D (1004) has no topic in [ALIAS]"));
    EXPECT_EQ(ids.notes.size(), 3u);
}

TEST_F(HelpIdsFromProject, FindsTheHeadersOfAProjectWrittenOnWindows)
{
    std::filesystem::create_directories(dir.path() / "Include");
    test::writeFile(dir.path() / "Include/Ids.h", "#define IDH_A 1\n");
    test::writeFile(dir.path() / "more.h", "#define IDH_B 2\n");
    const HelpIdDefinitions ids = read(test::crlf({"[ALIAS]", "IDH_A=a.htm", "IDH_B=b.htm", "[MAP]",
                                                   "#include include\\IDS.H", "#include \"C:\\Dev\\App\\more.h\""}));
    EXPECT_EQ(ids.ids, (std::vector<HelpIdEntry>{{"IDH_A", 1, "a.htm"}, {"IDH_B", 2, "b.htm"}}));
    ASSERT_EQ(ids.notes.size(), 1u);
    EXPECT_NE(ids.notes[0].find("line 6: the included file C:\\Dev\\App\\more.h is not there; more.h beside"),
              std::string::npos)
        << ids.notes[0];
}

TEST_F(HelpIdsFromProject, IncludesEndAFewLevelsDeep)
{
    for (int i = 0; i < 20; ++i)
        test::writeFile(dir.path() / ("h" + std::to_string(i) + ".h"), "#define IDH_" + std::to_string(i) + " " +
                                                                           std::to_string(100 + i) + "\n#include h" +
                                                                           std::to_string(i + 1) + ".h\n");
    const HelpIdDefinitions ids = read(test::crlf({"[MAP]", "#include h0.h"}));
    EXPECT_TRUE(anyNoteHas(ids.notes, "includes deep; it is not read"));
    EXPECT_LT(ids.notes.size(), 15u);
}

TEST_F(HelpIdsFromProject, EachNameAndEachNumberGivesOneHelpId)
{
    const HelpIdDefinitions ids = read(test::crlf(
        {"[ALIAS]", "IDH_A=a.htm", "IDH_A=other.htm", "IDH_B=b.htm", "IDH_C=c.htm", "IDH_ORPHAN=o.htm", "not an alias",
         "", "[MAP]", "#define IDH_A 1", "#define IDH_A 2", "#define IDH_B 1", "#define IDH_C 3", "#define IDH_C 3"}));
    EXPECT_EQ(ids.ids, (std::vector<HelpIdEntry>{{"IDH_A", 1, "a.htm"}, {"IDH_C", 3, "c.htm"}}));
    for (const char* text : {"line 3: IDH_A has the topic a.htm already", "line 11: IDH_A has the number 1 already",
                             "line 12: IDH_B has the number 1 of IDH_A", "line 6: IDH_ORPHAN has no number in [MAP]",
                             "line 7: \"not an alias\" is no alias"})
        EXPECT_TRUE(anyNoteHas(ids.notes, text)) << text;
    EXPECT_EQ(ids.notes.size(), 5u);
}

TEST(HelpIdsInProjectFile, WriterAndReaderAgreeOnNamesNumbersAndTopics)
{
    Project project("Guide");
    project.projectFile = "/h/guide.dxp";
    project.deriveCompilerFileNames();
    project.helpIds = {{"IDH_OPEN", 1001, "/h/pages/open file.htm"},
                       {"IDH_SAVE", 0x3EA, "/h/caf\xC3\xA9.htm#part"},
                       {"IDH_FAR", 1003, "/elsewhere/x.htm"},
                       {"bad name", 1004, "/h/a.htm"}};
    HelpTextWriter writer(project, PathStyle::Posix);
    const std::string text = helpProjectFileText(project, "log.txt", writer);
    // Topics go out in the help file's code page, as the contents' paths.
    EXPECT_NE(text.find("\r\n[ALIAS]\r\nIDH_OPEN=pages/open file.htm\r\nIDH_SAVE=caf\xE9.htm#part\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\n[MAP]\r\n#define IDH_OPEN 1001\r\n#define IDH_SAVE 1002\r\n\r\n"), std::string::npos);
    const HelpProjectFile read = readHelpProject(text, "guide.hhp");
    EXPECT_TRUE(read.notes.empty());
    const HelpIdDefinitions ids = readHelpIds(read, "/h", "guide.hhp");
    EXPECT_EQ(ids.ids, (std::vector<HelpIdEntry>{{"IDH_OPEN", 1001, "pages/open file.htm"},
                                                 {"IDH_SAVE", 1002, "caf\xC3\xA9.htm#part"}}));
    EXPECT_TRUE(ids.notes.empty());

    // Without help ids the sections stay out.
    project.helpIds.clear();
    EXPECT_EQ(helpProjectFileText(project, "log.txt", PathStyle::Posix).find("[MAP]"), std::string::npos);
}

TEST(ContextTable, ReadsNumbersAndTopicsAndSkipsRowsOutsideTheStrings)
{
    std::string ivb;
    const auto put = [&ivb](std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            ivb.push_back(static_cast<char>(value >> (8 * i)));
    };
    const std::string strings("\0a.htm\0sub/b.htm#x\0", 19);
    put(24);
    put(1001), put(1);
    put(1002), put(7);
    put(1003), put(400);  // beyond #STRINGS
    ivb += "\x04\x03";    // a cut row
    EXPECT_EQ(readContextTable(ivb, strings), (std::vector<HelpContext>{{1001, "a.htm"}, {1002, "sub/b.htm#x"}}));
    EXPECT_TRUE(readContextTable("", strings).empty());
    EXPECT_TRUE(readContextTable(ivb, "").empty());
}

}  // namespace
}  // namespace doxel

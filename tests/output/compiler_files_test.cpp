#include "output/compiler_files.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "output/contents_file.h"
#include "output/help_project_file.h"
#include "output/index_file.h"
#include "test_support.h"

namespace doxel {
namespace {

constexpr PathStyle kWin = PathStyle::Windows;
const std::string kLog = "C:\\Program Files\\HTML Doxel\\log.txt";

Project helpProject(const std::string& title)
{
    Project project(title);
    project.projectFile = "C:\\Help\\guide.dxp";
    project.deriveCompilerFileNames();
    return project;
}

class CountingProgress : public ProgressReporter {
public:
    void ShowProgress(ProgressMode mode, int value) override
    {
        if (mode == ProgressMode::Start)
            maximum = value;
        else if (mode == ProgressMode::Step)
            steps.push_back(value);
        else
            ended = true;
    }
    int maximum = -1;
    std::vector<int> steps;
    bool ended = false;
};

TEST(ContentsFile, NestsListsByLevelAndWritesObjectsExactly)
{
    Project project = helpProject("Guide");
    ContentsEntry* p = project.titleEntry().appendChild(std::make_unique<ContentsEntry>("P \"&\" <b>", 0));
    ContentsEntry* q = p->appendChild(std::make_unique<ContentsEntry>("Q", 8, "c:\\help\\q.htm"));
    q->appendChild(std::make_unique<ContentsEntry>("R", 11, "c:\\help\\sub\\r.htm"));
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("\xC3\x9C" "ber \xD0\x96", 1, "c:\\help\\s.htm"));

    CountingProgress progress;
    test::TempDir dir;
    SaveContents(project, dir.file("guide.hhc"), progress, kWin);
    EXPECT_EQ(test::readFile(dir.file("guide.hhc")), test::golden("nesting.hhc"));
    EXPECT_EQ(progress.maximum, 4);
    EXPECT_EQ(progress.steps, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(progress.ended);

    // Unchanged tree, identical bytes.
    SaveContents(project, dir.file("again.hhc"), progress, kWin);
    EXPECT_EQ(test::readFile(dir.file("again.hhc")), test::readFile(dir.file("guide.hhc")));
}

TEST(ContentsFile, PutsAnEntryBesideTheTitleIntoTheTopList)
{
    Project project = helpProject("Guide");
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("A", 8, "c:\\help\\a.htm"));
    project.root().appendChild(std::make_unique<ContentsEntry>("B", 8, "c:\\help\\b.htm"));
    NullProgress progress;
    ProgressScope scope(progress, 0);
    const std::string text = ContentsFileText(project, scope, kWin);
    const auto a = text.find("value=\"A\"");
    const auto b = text.find("value=\"B\"");
    EXPECT_EQ(text.find("<UL>", a), std::string::npos);                 // B opens no second list
    EXPECT_EQ(text.find("</UL>"), text.rfind("</UL>"));                 // one list, closed once
    EXPECT_LT(b, text.find("</UL>"));
}

TEST(IndexFile, WritesEveryKeywordUnmergedInListOrder)
{
    Project project = helpProject("Guide");
    project.keywords = {{"alpha", "c:\\help\\q.htm"}, {"alpha", "c:\\help\\sub\\r.htm"}, {"empty \"path\"", ""}};
    test::TempDir dir;
    SaveIndex(project, dir.file("guide.hhk"), kWin);
    EXPECT_EQ(test::readFile(dir.file("guide.hhk")), test::golden("keywords.hhk"));

    project.keywords.clear();
    SaveIndex(project, dir.file("empty.hhk"), kWin);
    EXPECT_EQ(test::readFile(dir.file("empty.hhk")), test::golden("no_keywords.hhk"));
}

TEST(HelpProjectFile, WritesTheNewProjectExample)
{
    const Project project = helpProject("New project (put your title here)");
    EXPECT_EQ(HelpProjectFileText(project, kLog, kWin), test::golden("new_project.hhp"));
}

TEST(HelpProjectFile, WritesTheGuideExampleWithIndexSearchAndFiles)
{
    Project project = helpProject("Guide");
    project.keywords.push_back({"start", "c:\\help\\intro.htm"});
    WindowSettings& w = project.windowSettings;
    w.defaultTopic = "intro.htm";
    w.homePage = "intro.htm";
    w.jump1Url = "faq.htm";
    w.jump1Text = "FAQ";
    w.navigationStyle = 1312;
    w.buttons = 274502;
    w.windowStyle = 269418496;
    project.fileList.addMany({"c:\\help\\intro.htm", "c:\\help\\sub\\x.htm", "c:\\help\\faq.htm"});
    EXPECT_EQ(HelpProjectFileText(project, kLog, kWin), test::golden("guide.hhp"));
}

TEST(HelpProjectFile, WritesFlagsInHexAndTextsInWindows1252)
{
    const std::pair<std::int32_t, const char*> flags[] = {
        {0, "0x0"}, {32, "0x20"}, {static_cast<std::int32_t>(0x80000000u), "0x80000000"}, {-1, "0xFFFFFFFF"}};
    for (const auto& [value, text] : flags)
        EXPECT_EQ(hexFlags(value), text);

    Project project = helpProject("\xC3\x9C" "ber \xD0\x9C\xD0\xB8\xD1\x80");
    project.windowSettings.jump2Text = "\xC3\xA9t\xC3\xA9";
    const std::string text = HelpProjectFileText(project, kLog, kWin);
    EXPECT_NE(text.find("Title=\xDC" "ber &#1052;&#1080;&#1088;\r\n"), std::string::npos);
    EXPECT_NE(text.find("Main=\"\xDC" "ber &#1052;&#1080;&#1088;\","), std::string::npos);
    EXPECT_NE(text.find(",\xE9t\xE9,0x20,"), std::string::npos);
}

TEST(CompilerFiles, WritesIndexHelpProjectAndContentsNextToTheProject)
{
    test::TempDir dir;
    Project project("Guide");
    project.projectFile = dir.file("guide.dxp");
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("A", 8, dir.file("a.htm")));
    project.rebuildFileList();
    project.deriveCompilerFileNames();
    const Project& unchanged = project;
    NullProgress progress;
    const auto written = WriteCompilerInputFiles(unchanged, progress);
    EXPECT_EQ(written, (std::vector<std::string>{dir.file("guide.hhk"), dir.file("guide.hhp"), dir.file("guide.hhc")}));
    const std::string hhp = test::readFile(dir.file("guide.hhp"));
    EXPECT_NE(hhp.find("[FILES]\r\na.htm\r\n"), std::string::npos);
    EXPECT_NE(test::readFile(dir.file("guide.hhc")).find("value=\"a.htm\""), std::string::npos);
    // What chmcmd gets, and what an export leaves to be moved and compiled
    // by hand: no full path, no log file.
    EXPECT_NE(hhp.find("Compiled file=guide.chm\r\nContents file=guide.hhc\r\n"), std::string::npos) << hhp;
    EXPECT_EQ(hhp.find(dir.path().string()), std::string::npos) << hhp;
    EXPECT_EQ(hhp.find("Error log file="), std::string::npos) << hhp;

    project.projectFile = dir.file("missing/guide.dxp");
    project.deriveCompilerFileNames();
    EXPECT_THROW(WriteCompilerInputFiles(project, progress), IoError);
}

}  // namespace
}  // namespace doxel

#include <gtest/gtest.h>

#include "formats/help_project_reader.h"
#include "formats/help_project_writer.h"
#include "formats/sitemap_reader.h"
#include "output/contents_file.h"
#include "output/index_file.h"
#include "test_support.h"

namespace doxel {
namespace {

Project guide(bool keywords)
{
    Project project("Guide, \"2nd\" edition");
    project.projectFile = "/home/ann/help/guide.dxp";
    project.deriveCompilerFileNames();
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Intro", 8, "/home/ann/help/intro.htm"));
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Deep", 8, "/home/ann/help/sub/deep.htm"));
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Out", 8, "/home/ann/shared/out.htm"));
    project.rebuildFileList();
    if (keywords)
        project.keywords = {{"start", "/home/ann/help/intro.htm"}};
    project.windowSettings.defaultTopic = "intro.htm";
    return project;
}

TEST(CompilerHelpProject, NamesEveryFileRelativeToTheProjectFolderAndLeavesTheLogLineOut)
{
    const Project project = guide(true);
    HelpTextWriter writer(project);
    EXPECT_EQ(compilerHelpProjectText(project, writer),
              test::crlf({"[OPTIONS]",
                          "Compatibility=1.1 or later",
                          "Compiled file=guide.chm",
                          "Contents file=guide.hhc",
                          "Index file=guide.hhk",
                          "Default Window=Main",
                          "Default topic=intro.htm",
                          "Display compile progress=No",
                          "Language=0x409 Englisch (USA)",
                          "Title=Guide, \"2nd\" edition",
                          "",
                          "[WINDOWS]",
                          "Main=\"Guide, '2nd' edition\",\"guide.hhc\",\"guide.hhk\",\"intro.htm\",,,,,,0x20,200,0x0,"
                          "[80,70,730,500],0x0,0x0,,,,,0",
                          "",
                          "",
                          "[FILES]",
                          "sub/deep.htm",
                          "intro.htm",
                          "",
                          "[INFOTYPES]"}));
}

TEST(CompilerHelpProject, ListsTheExtraFilesThatAreThereAfterTheTopics)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "images" / "tab.png", "PNG");
    test::writeFile(dir.path() / "intro.htm", "<p>intro</p>");
    Project project("Guide");
    project.projectFile = dir.file("guide.dxp");
    project.deriveCompilerFileNames();
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Intro", 8, dir.file("intro.htm")));
    project.rebuildFileList();
    project.extraFiles = {dir.file("images/tab.png"), dir.file("gone.png"), dir.file("intro.htm")};
    HelpTextWriter writer(project);
    const std::string text = compilerHelpProjectText(project, writer);
    EXPECT_NE(text.find("[FILES]\r\nintro.htm\r\nimages/tab.png\r\n\r\n"), std::string::npos) << text;
    ASSERT_EQ(writer.messages().size(), 1u);
    EXPECT_NE(writer.messages()[0].line().find("gone.png"), std::string::npos);
}

TEST(CompilerHelpProject, TheReaderFindsWhatTheWriterWrote)
{
    const HelpProjectFile info = readHelpProject(helpProjectFileText(guide(false), "/tmp/log.txt"), "guide.hhp");
    EXPECT_EQ(info.compiledFile, "/home/ann/help/guide.chm");
    EXPECT_EQ(info.contentsFile, "/home/ann/help/guide.hhc");
    EXPECT_EQ(info.indexFile, "");
    EXPECT_EQ(info.defaultTopic, "intro.htm");
    // The page outside the project folder is left out.
    EXPECT_EQ(info.files, (std::vector<std::string>{"sub/deep.htm", "intro.htm"}));
}

std::vector<std::string> locals(const std::string& sitemap)
{
    std::vector<std::string> found;
    for (const SitemapEntry& entry : readSitemapAsWritten(sitemap).entries) {
        if (!entry.local.empty())
            found.push_back(entry.local);
    }
    return found;
}

TEST(CompilerHelpProject, TheSitemapReaderFindsTheLocalPathsTheWriterWrote)
{
    Project project = guide(true);
    NullProgress progress;
    ProgressScope scope(progress, 0);
    EXPECT_EQ(locals(contentsFileText(project, scope)), (std::vector<std::string>{"intro.htm", "sub/deep.htm"}));
    EXPECT_EQ(locals(indexFileText(project)), (std::vector<std::string>{"intro.htm"}));
}

}  // namespace
}  // namespace doxel

#include "output/help_project_copy.h"

#include <gtest/gtest.h>

#include "output/contents_file.h"
#include "output/help_project_file.h"
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

TEST(HelpProjectCopy, MakesEveryFullPathRelativeToTheProjectFolderAndDropsTheLogLine)
{
    const std::string text = HelpProjectFileText(guide(true), "/home/ann/.local/share/html-doxel/log.txt");
    EXPECT_EQ(relativeHelpProjectText(text, "/home/ann/help"),
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

TEST(HelpProjectCopy, LeavesAProjectWithoutIndexAndWithRelativePathsAsItIs)
{
    const std::string text = test::crlf({"[OPTIONS]", "Compiled file=a.chm", "Contents file=a.hhc", "", "[WINDOWS]",
                                         "Main=\"A\",\"a.hhc\",,\"x.htm\",,,,,,0x20,200,0x0,[1,2,3,4],0x0,0x0,,,,,0",
                                         "", "[FILES]", "x.htm", "", "[INFOTYPES]"});
    EXPECT_EQ(relativeHelpProjectText(text, "/x"), text);
}

TEST(HelpProjectCopy, ReadsTheNamedFilesAndTheFileList)
{
    const HelpProjectInfo info = parseHelpProject(HelpProjectFileText(guide(false), "/tmp/log.txt"));
    EXPECT_EQ(info.compiledFile, "/home/ann/help/guide.chm");
    EXPECT_EQ(info.contentsFile, "/home/ann/help/guide.hhc");
    EXPECT_EQ(info.indexFile, "");
    EXPECT_EQ(info.logFile, "/tmp/log.txt");
    EXPECT_EQ(info.defaultTopic, "intro.htm");
    // The page outside the project folder is left out.
    EXPECT_EQ(info.files, (std::vector<std::string>{"sub/deep.htm", "intro.htm"}));
}

TEST(HelpProjectCopy, ReadsTheLocalPathsOfContentsAndIndex)
{
    Project project = guide(true);
    NullProgress progress;
    ProgressScope scope(progress, 0);
    EXPECT_EQ(sitemapLocals(ContentsFileText(project, scope)),
              (std::vector<std::string>{"intro.htm", "sub/deep.htm", ""}));
    EXPECT_EQ(sitemapLocals(IndexFileText(project)), (std::vector<std::string>{"intro.htm"}));
    EXPECT_EQ(sitemapLocals(R"(<PARAM NAME="Local" VALUE="a.htm"><param name="Name" value="b.htm">)"),
              (std::vector<std::string>{"a.htm"}));
}

}  // namespace
}  // namespace doxel

#include "output/help_ids_header.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "core/atomic_file.h"
#include "output/compiler_files.h"
#include "test_support.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;

Project projectIn(const test::TempDir& dir)
{
    test::writeFile(dir.path() / "a.htm", "<p>a</p>");
    test::writeFile(dir.path() / "loose.htm", "<p>not in the contents</p>");
    Project project("Guide");
    project.projectFile = dir.file("guide.dxp");
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("A", 8, dir.file("a.htm")));
    project.rebuildFileList();
    project.deriveCompilerFileNames();
    return project;
}

TEST(HelpIdsHeader, DefinesEveryHelpIdByNumber)
{
    const std::vector<HelpId> ids = {
        {"IDH_PRINT", 1001, "/h/p.htm"}, {"IDH_OPEN", 7, ""}, {"IDH_SAVE", 0x7fffffff, ""}};
    EXPECT_EQ(helpIdsHeaderText(ids, "/h/guide.chm"),
              "/* Help ids of guide.chm, written by HTML Doxel at each compile: changes made here are lost. */\r\n"
              "#define IDH_OPEN 7\r\n"
              "#define IDH_PRINT 1001\r\n"
              "#define IDH_SAVE 2147483647\r\n");
    EXPECT_EQ(helpIdsHeaderFileName("/h/guide.chm"), "/h/guide_ids.h");
    EXPECT_EQ(helpIdsHeaderFileName("/h.d/guide"), "/h.d/guide_ids.h");
}

TEST(HelpIdsHeader, WrittenWithTheInputFilesOnlyWhenItsTextChanges)
{
    test::TempDir dir;
    Project project = projectIn(dir);
    NullProgress progress;
    const std::string header = dir.file("guide_ids.h");

    // No help ids: no header, and an author's file of that name stays.
    writeCompilerFiles(project, progress);
    EXPECT_FALSE(fs::exists(header));

    project.helpIds = {{"IDH_A", 1001, dir.file("a.htm") + "#top"}};
    const CompilerInputFiles first = writeCompilerFiles(project, progress);
    EXPECT_NE(test::readFile(header).find("#define IDH_A 1001\r\n"), std::string::npos);
    ASSERT_EQ(first.messages.size(), 1u);
    EXPECT_EQ(first.messages[0].line(), "Note: the help ids are written to " + header);

    // The same ids again: the file is not touched, so a build that
    // includes it has nothing to redo.
    const std::optional<FileStamp> before = fileStampOf(header);
    EXPECT_FALSE(writeHelpIdsHeader(project));
    EXPECT_TRUE(writeCompilerFiles(project, progress).messages.empty());
    EXPECT_EQ(fileStampOf(header), before);

    project.helpIds.push_back({"IDH_B", 5, dir.file("a.htm")});
    EXPECT_TRUE(writeHelpIdsHeader(project));
    EXPECT_NE(test::readFile(header).find("#define IDH_B 5\r\n#define IDH_A 1001\r\n"), std::string::npos);
}

TEST(HelpIdsHeader, WarnsOfHelpIdsThatOpenNothing)
{
    test::TempDir dir;
    fs::create_directories(dir.path() / "project");
    test::writeFile(dir.path() / "outside.htm", "<p>outside</p>");
    Project project = projectIn(dir);
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Out", 8, dir.file("outside.htm")));
    project.projectFile = dir.file("guide.dxp");
    project.rebuildFileList();
    project.helpIds = {
        {"IDH_FINE", 1, dir.file("a.htm") + "#part"},
        {"IDH_NONE", 2, ""},
        {"IDH_GONE", 3, dir.file("gone.htm")},
        {"IDH_LOOSE", 4, dir.file("loose.htm")},
    };
    std::vector<std::string> lines;
    for (const CompilerFileMessage& warning : helpIdWarnings(project))
        lines.push_back(warning.line());
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Warning: The help id IDH_NONE leads to no topic; an application opens nothing with it",
                         "Warning: The help id IDH_GONE leads to \"" + dir.file("gone.htm") +
                             "\", which does not exist; an application opens nothing with it",
                         "Warning: The help id IDH_LOOSE leads to \"" + dir.file("loose.htm") +
                             "\", which is not among the topics of the help file; an application opens nothing with it",
                     }));

    // A page of the contents outside the project folder stays out of the
    // help file, and so does a help id's way to it.
    Project inner = projectIn(dir);
    inner.projectFile = dir.file("project/guide.dxp");
    inner.titleEntry().appendChild(std::make_unique<ContentsEntry>("Out", 8, dir.file("outside.htm")));
    inner.rebuildFileList();
    inner.helpIds = {{"IDH_OUT", 1, dir.file("outside.htm")}};
    ASSERT_EQ(helpIdWarnings(inner).size(), 1u);
    EXPECT_NE(helpIdWarnings(inner)[0].text.find("not among the topics"), std::string::npos);
}

}  // namespace
}  // namespace doxel

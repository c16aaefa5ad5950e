#include "core/project.h"

#include <gtest/gtest.h>

#include "core/text_compare.h"

namespace doxel {
namespace {

TEST(IconNumbers, PairsOpenAndCloseAndStoreTheClosedForm)
{
    struct Case {
        int icon, expanded, collapsed, stored;
    };
    const Case cases[] = {
        {0, 1, 0, 0}, {1, 1, 0, 0}, {2, 3, 2, 2}, {3, 3, 2, 2}, {4, 5, 4, 4},
        {5, 5, 4, 4}, {6, 7, 6, 6}, {7, 7, 6, 6}, {8, 8, 8, 8}, {41, 41, 41, 41}, {42, 42, 42, 42},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(expandedIconNumber(c.icon), c.expanded) << c.icon;
        EXPECT_EQ(collapsedIconNumber(c.icon), c.collapsed) << c.icon;
        EXPECT_EQ(storedIconNumber(c.icon), c.stored) << c.icon;
    }
}

TEST(Project, NewStateHasOnlyTheTitleEntryAndDefaults)
{
    Project project("First");
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("a", 8, "/x/a.htm"));
    project.keywords.push_back({"k", "/x/a.htm"});
    project.fileList.add("/x/a.htm");
    project.windowSettings.left = 5;
    project.projectFile = "/x/p.dxp";
    project.deriveCompilerFileNames();
    project.modified = true;

    project.resetToNew("New project (put your title here)");
    EXPECT_EQ(project.entryCount(), 1u);
    EXPECT_EQ(project.title(), "New project (put your title here)");
    EXPECT_EQ(project.titleEntry().iconNumber, 42);
    EXPECT_TRUE(project.keywords.empty());
    EXPECT_TRUE(project.fileList.empty());
    EXPECT_EQ(project.windowSettings, WindowSettings());
    EXPECT_TRUE(project.projectFile.empty());
    EXPECT_TRUE(project.compiledFile.empty());
    EXPECT_FALSE(project.modified);
}

TEST(Project, DerivesCompilerFileNamesByCuttingFourCharacters)
{
    Project project;
    project.projectFile = "/help/guide.dxp";
    project.deriveCompilerFileNames();
    EXPECT_EQ(project.helpProjectFile, "/help/guide.hhp");
    EXPECT_EQ(project.contentsFile, "/help/guide.hhc");
    EXPECT_EQ(project.indexFile, "/help/guide.hhk");
    EXPECT_EQ(project.compiledFile, "/help/guide.chm");
}

TEST(Project, SurvivesADeepTree)
{
    Project project;
    ContentsEntry* parent = &project.titleEntry();
    for (int i = 0; i < 200000; ++i)
        parent = parent->appendChild(std::make_unique<ContentsEntry>("x", 1));
    EXPECT_EQ(parent->level(), 200000);
    EXPECT_EQ(project.entryCount(), 200001u);
    project.resetToNew("t");  // destroys the chain without recursion
    EXPECT_EQ(project.entryCount(), 1u);
}

TEST(WindowSettings, CutsTextsTo255Characters)
{
    WindowSettings settings;
    settings.homePage = std::string(300, 'h');
    settings.jump1Text = std::string(254, 'j') + "\xC3\xA4\xC3\xA4";
    settings.cutTexts();
    EXPECT_EQ(settings.homePage.size(), 255u);
    EXPECT_EQ(settings.jump1Text, std::string(254, 'j') + "\xC3\xA4");
}

TEST(CaptionOrder, IgnoresCaseFirstThenPutsLowerCaseFirst)
{
    std::vector<std::string> words = {"b", "B", "a", "Zebra", "apple", "\xC3\x9C" "ber", "uber", "\xC3\xBC" "ber", "Apple"};
    std::sort(words.begin(), words.end(), captionLess);
    const std::vector<std::string> expected = {"a", "apple", "Apple", "b", "B", "uber", "Zebra", "\xC3\xBC" "ber", "\xC3\x9C" "ber"};
    EXPECT_EQ(words, expected);
    EXPECT_EQ(compareCaptions("same", "same"), 0);
}

TEST(FileList, KeepsRowsSortedByNameAndFindsThemWithoutAScan)
{
    FileList list;
    EXPECT_TRUE(list.add("/h/pages/b.htm"));
    EXPECT_TRUE(list.add("/h/A.htm"));
    EXPECT_FALSE(list.add("/h/A.htm"));
    list.addMany({"/h/c.htm", "/h/pages/a.htm", "/h/c.htm", "/h/A.htm", ""});
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].path, "/h/pages/a.htm");
    EXPECT_EQ(list[1].path, "/h/A.htm");
    EXPECT_EQ(list[2].fileName(), "b.htm");
    EXPECT_EQ(list[2].folder(), "/h/pages/");
    EXPECT_EQ(list[3].path, "/h/c.htm");
    EXPECT_EQ(list.rowOf("/h/c.htm"), 3);
    EXPECT_EQ(list.rowOf("/h/a.htm"), -1);
    EXPECT_NE(list.find("/h/pages/b.htm"), nullptr);
}

}  // namespace
}  // namespace doxel

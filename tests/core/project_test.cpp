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
        {0, 1, 0, 0}, {1, 1, 0, 0}, {2, 3, 2, 2}, {3, 3, 2, 2},     {4, 5, 4, 4},     {5, 5, 4, 4},
        {6, 7, 6, 6}, {7, 7, 6, 6}, {8, 8, 8, 8}, {41, 41, 41, 41}, {42, 42, 42, 42},
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
    std::vector<std::string> words = {"b",
                                      "B",
                                      "a",
                                      "Zebra",
                                      "apple",
                                      "\xC3\x9C"
                                      "ber",
                                      "uber",
                                      "\xC3\xBC"
                                      "ber",
                                      "Apple",
                                      "Uber"};
    std::sort(words.begin(), words.end(), captionLess);
    const std::vector<std::string> expected = {"a",
                                               "apple",
                                               "Apple",
                                               "b",
                                               "B",
                                               "uber",
                                               "Uber",
                                               "\xC3\xBC"
                                               "ber",
                                               "\xC3\x9C"
                                               "ber",
                                               "Zebra"};
    EXPECT_EQ(words, expected);
    EXPECT_EQ(compareCaptions("same", "same"), 0);
}

TEST(CaptionOrder, SortsLikeAWordSort)
{
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"", "a"},
        {"a", "ab"},
        {"a b", "ab"},         // a space before any letter
        {"!note", "1 note"},   // punctuation before digits
        {"9 lives", "apple"},  // digits before letters
        {"10", "2"},           // digit by digit, not by value
        {"~tilde", "zebra"},   // every symbol before letters
        {"coop", "co-op"},     // hyphen passed over, then fewer first
        {"co-op", "cope"},
        {"its", "it's"},
        {"resume", "r\xC3\xA9sum\xC3\xA9"},   // accents after the plain letter
        {"r\xC3\xA9sum\xC3\xA9", "resumes"},  // ...but only when the letters agree
        {"\xC3\x89"
         "diter",
         "Exporter"},  // É among the e-words
        {"Aide",
         "\xC3\x89"
         "diter"},
        {"Stra\xC3\x9F"
         "e",
         "Strasze"},  // ß as ss
        {"strasse",
         "Stra\xC3\x9F"
         "e"},
        {"\xC3\xA6"
         "ther",
         "af"},  // æ as ae
        {"\xC5\x9A"
         "wiat",
         "t"},                                     // Ś among the s-words
        {"\xD0\xB5\xD0\xB6", "\xD1\x91\xD0\xB6"},  // ё after е, before ж
        {"\xD1\x91\xD0\xB6", "\xD0\xB6"},
        {"\xD0\xB0", "\xD0\x91"},  // Cyrillic ignoring case
        {"zz", "\xD0\xB0"},        // Latin before Cyrillic
        {"a\xFE"
         "b",
         "a\xFF"},  // bytes that are not UTF-8 still order
    };
    for (const auto& c : cases) {
        EXPECT_LT(compareCaptions(c.before, c.after), 0) << c.before << " / " << c.after;
        EXPECT_GT(compareCaptions(c.after, c.before), 0) << c.before << " / " << c.after;
    }
}

TEST(CaptionOrder, KeysAgreeWithTheComparisonWhereTheyDecide)
{
    const std::vector<std::string> texts = {
        "",
        "a",
        "A",
        "ab",
        "a b",
        "a-b",
        "ab-",
        "abc",
        "~x",
        "_x",
        "9",
        "10",
        "x.htm",
        "x-1.htm",
        "x1.htm",
        "\xC3\xA9t\xC3\xA9",
        "ete",
        "f",
        "sixteen letters!",
        "sixteen letters?",
        "sixteen letters!!",
        "a\x01",
        "a\xFF",
    };
    for (const std::string& a : texts) {
        for (const std::string& b : texts) {
            const int byKey = compareCaptionKeys(captionKey(a), captionKey(b));
            if (byKey != 0) {
                EXPECT_EQ(byKey < 0, compareCaptions(a, b) < 0) << a << " / " << b;
            }
        }
    }
    EXPECT_NE(compareCaptionKeys(captionKey("b"), captionKey("~a")), 0) << "ASCII keys decide";
}

TEST(FileList, FindsEveryRowWhateverItsNameHolds)
{
    const std::vector<std::string> paths = {
        "/h/~a.htm", "/h/b.htm", "/h/a-b.htm",   "/h/ab.htm", "/h/\xC3\xA9t\xC3\xA9.htm", "/h/f.htm", "/h/_x.htm",
        "/h/9.htm",  "/h/B.htm", "/h/sub/b.htm", "/h/e.htm"};
    FileList assigned;
    assigned.assign(paths);
    FileList added;
    for (const std::string& path : paths)
        added.add(path);
    FileList merged;
    merged.addMany({paths.begin(), paths.begin() + 5});
    merged.addMany({paths.begin() + 5, paths.end()});
    for (const FileList* list : {&assigned, &added, &merged}) {
        ASSERT_EQ(list->size(), paths.size());
        for (const std::string& path : paths)
            EXPECT_NE(list->find(path), nullptr) << path;
        for (std::size_t row = 0; row < paths.size(); ++row)
            EXPECT_EQ((*list)[row].path, assigned[row].path) << "the three ways give one order";
    }
    EXPECT_EQ(assigned[0].fileName(), "_x.htm");  // symbols, digits, then letters
    EXPECT_EQ(assigned[1].fileName(), "~a.htm");
    EXPECT_EQ(assigned[2].fileName(), "9.htm");
    EXPECT_EQ(assigned[3].fileName(), "ab.htm");
    EXPECT_EQ(assigned[4].fileName(), "a-b.htm");
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

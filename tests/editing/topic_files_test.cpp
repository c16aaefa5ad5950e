#include "editing/topic_files.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "editing_fixture.h"
#include "test_support.h"

namespace doxel {
namespace {

struct LocationCase {
    const char* file;
    bool allowed;
};

TEST(LocationTest, WindowsStyleAllowsTheProjectFolderItsSubfoldersAndOtherDrives)
{
    const LocationCase cases[] = {
        {"E:\\Help\\a.htm", true},                                        // the project folder
        {"E:\\Help\\Sub\\b.htm", true},                                   // a subfolder
        {"F:\\x\\topic.htm", true},                                       // another drive
        {"E:\\Other\\d.htm", false},    {"E:\\HelpFiles\\e.htm", false},  // its folder does not begin with E:\HELP\ .
        {"e:\\help\\SUB\\c.htm", true},                                   // letter case ignored
        {"E:\\c.htm", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(topicLocationAllowed(c.file, "E:\\Help\\proj.dxp", PathStyle::Windows), c.allowed) << c.file;
}

TEST(LocationTest, PosixStyleAllowsOnlyTheProjectFolderAndBelow)
{
    const LocationCase cases[] = {
        {"/home/ann/help/a.htm", true},           {"/home/ann/help/sub/deeper/b.htm", true},
        {"/home/ann/other/d.htm", false},         {"/home/ann/helpfiles/e.htm", false},
        {"/home/ann/Help/a.htm", false},                                          // another folder on this file system
        {"/home/ann/help/../other/x.htm", false},                                 // resolved before the test
        {"/home/ann/help/./sub/../a.htm", true},  {"/mnt/usb/topic.htm", false},  // one root: no other drive
    };
    for (const auto& c : cases)
        EXPECT_EQ(topicLocationAllowed(c.file, "/home/ann/help/proj.dxp", PathStyle::Posix), c.allowed) << c.file;
}

TEST(FileRows, AreFoundByTheirPathWithoutAScan)
{
    FileList windows;
    windows.addMany({topicPathOf("E:\\Help\\A.htm", PathStyle::Windows),
                     topicPathOf("E:\\Help\\Sub\\a.htm", PathStyle::Windows),
                     topicPathOf("E:\\Help\\a.html", PathStyle::Windows)});
    ASSERT_EQ(windows.size(), 3u);
    EXPECT_EQ(windows[0].path, "e:\\help\\a.htm");
    const struct {
        const char* file;
        const char* row;
    } windowsCases[] = {
        {"E:\\HELP\\A.HTM", "e:\\help\\a.htm"},
        {"e:\\help\\sub\\A.htm", "e:\\help\\sub\\a.htm"},  // found, though a row of the same name sorts first
        {"e:\\help\\a.html", "e:\\help\\a.html"},
        {"e:\\help\\a.ht", nullptr},
        {"e:\\other\\a.htm", nullptr},
    };
    for (const auto& c : windowsCases) {
        const FileListEntry* row = windows.find(topicPathOf(c.file, PathStyle::Windows));
        EXPECT_EQ(row == nullptr ? std::string("-") : row->path, c.row == nullptr ? "-" : c.row) << c.file;
    }

    FileList posix;
    posix.add(topicPathOf("/help/Intro.htm", PathStyle::Posix));
    posix.add(topicPathOf("/help/pages/../intro.htm", PathStyle::Posix));
    EXPECT_EQ(posix.size(), 2u) << "letter case names another file";
    EXPECT_NE(posix.find(topicPathOf("/help/intro.htm", PathStyle::Posix)), nullptr);
    EXPECT_NE(posix.find(topicPathOf("/help/Intro.htm", PathStyle::Posix)), nullptr);
    EXPECT_EQ(posix.find(topicPathOf("/help/INTRO.htm", PathStyle::Posix)), nullptr);
    EXPECT_EQ(topicPathOf("D:\\X\\a.htm", PathStyle::Posix), "D:\\X\\a.htm") << "kept from a Windows project";
}

std::string repeated(std::string_view piece, std::size_t times)
{
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST(TitleReader, FindsTheTitleLineByLine)
{
    struct Case {
        const char* name;
        std::string page;
        std::string title;  // empty: no title
    };
    const Case cases[] = {
        {"plain", "<html><head><title>Hello World</title></head>", "Hello World"},
        {"any letter case", "<TITLE>Upper</TITLE>\r\n", "Upper"},
        {"mixed case", "<Title>Mixed</tItLe>", "Mixed"},
        {"tags split over lines", "<title>\r\nSplit\r\n</title>\r\n", ""},
        {"a later line holds both", "<title>\r\nno\r\n</title>\r\n<TITLE>Later</TITLE>", "Later"},
        {"empty title, then a real one", "<title></title>\r\n<title>Real</title>\r\n", "Real"},
        {"up to the next tag", "<title>Guide <b>bold</b></title>", "Guide "},
        {"closing tag earlier on the line", "</title> <title>Y", "Y"},
        {"no closing tag", "<title>Open", ""},
        {"lone LF is no line end", "<title>\nTwo\nlines\n</title>\n", " Two lines "},
        {"CR LF split from the next line", "a\r\n<title>T</title>", "T"},
        {"Ctrl-Z ends the text", "x\x1a<title>Hidden</title>", ""},
        {"umlauts", "<title>M&auml;rz &Ouml;l &szlig; &nbsp;x &uuml;&Uuml;&ouml;&Auml;</title>",
         "M\xC3\xA4rz \xC3\x96l \xC3\x9F  x \xC3\xBC\xC3\x9C\xC3\xB6\xC3\x84"},
        {"every named reference",
         "<title>\xC3\x9C"
         "bersicht &amp; Stra&szlig;e &mdash; &hellip;&euro;&Omega;&copy</title>",
         "\xC3\x9C"
         "bersicht & Stra\xC3\x9F"
         "e \xE2\x80\x94 \xE2\x80\xA6\xE2\x82\xAC\xCE\xA9\xC2\xA9"},
        {"longest name wins", "<title>&notin; &notit; &ampx &amp;x</title>", "\xE2\x88\x89 \xC2\xACit; &x &x"},
        {"numbers", "<title>&#65;&#x42;&#X43;&#68&#128;&#0;&#xD800;&#1114112;&#;&#x;</title>",
         "ABCD\xE2\x82\xAC\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD&#;&#x;"},
        {"unknown names stay", "<title>&bogus; & &;</title>", "&bogus; & &;"},
        {"a tab stays a tab", "<title>a\tb&#9;c&#10;d</title>", "a\tb\tc d"},
        {"entity letter case matters", "<title>&AUML;</title>", "&AUML;"},
        {"not trimmed", "<title>  spaced  </title>", "  spaced  "},
        {"Windows-1252 bytes", "<title>Caf\xE9</title>", "Caf\xC3\xA9"},
        {"UTF-8 kept", "<title>Caf\xC3\xA9</title>", "Caf\xC3\xA9"},
        {"a BEL cannot split the entry", "<title>a\ab</title>", "a b"},
        {"empty page", "", ""},
        {"after a line of 2 MB", std::string(2 << 20, 'x') + "\r\n<title>Found</title>", "Found"},
        {"on a line of 2 MB", std::string(2 << 20, '\n') + "<title>Deep</title>", "Deep"},
        {"title cut to its longest", "<title>" + std::string(kLongestTitle - 1, 'a') + "\xC3\xA4\xC3\xA4</title>",
         std::string(kLongestTitle - 1, 'a') + "\xC3\xA4"},
        {"a cut inside a character keeps UTF-8", "<title>x" + repeated("\xC3\xA4", 8 * kLongestTitle) + "</title>",
         "x" + repeated("\xC3\xA4", kLongestTitle - 1)},
    };
    for (const auto& c : cases) {
        const auto title = titleOfPage(c.page);
        EXPECT_EQ(title.value_or("(none)"), c.title.empty() ? "(none)" : c.title) << c.name;
        // The same bytes fed one at a time give the same title.
        TitleScanner scanner;
        for (const char byte : c.page) {
            if (scanner.feed(std::string_view(&byte, 1)))
                break;
        }
        EXPECT_EQ(scanner.finish(), title) << c.name << " (fed byte by byte)";
    }
}

TEST(TitleReader, ReadsFilesAndFallsBackToTheFileName)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "page.HTML", "<title>From the page</title>");
    test::writeFile(dir.path() / "empty.htm", "<p>no title</p>\r\n");
    test::writeFile(dir.path() / "readme.txt", "<title>never read</title>");
    std::filesystem::create_directory(dir.path() / "folder.htm");
    const struct {
        const char* file;
        const char* title;
    } cases[] = {
        {"page.HTML", "From the page"},  // ".HTM" is in the upper-case path
        {"empty.htm", "New Topic"},     {"readme.txt", "readme.txt"},
        {"missing.htm", "missing.htm"}, {"folder.htm", "folder.htm"},  // cannot be read as a file
    };
    for (const auto& c : cases)
        EXPECT_EQ(topicTitle(dir.file(c.file)), c.title) << c.file;
}

struct TopicRig {
    TopicRig() : rig("T+(A+(A1 A2) B)")
    {
        rig.project.projectFile = dir.file("p.dxp");
        for (const char* name : {"a.htm", "b.htm", "c.htm", "sub/d.htm"})
            test::writeFile(dir.path() / name, "<title>Title " + std::string(name) + "</title>");
    }
    std::vector<std::string> files(std::initializer_list<const char*> names) const
    {
        std::vector<std::string> out;
        for (const char* name : names)
            out.push_back(dir.file(name));
        return out;
    }

    test::TempDir dir;
    test::EditorRig rig;
};

TEST(AddTopics, PlacesEveryChosenFileAtTheEndOfTheLevelInDialogOrder)
{
    TopicRig t;
    test::EditorRig& rig = t.rig;
    rig.settings.write("DefaultIcon1", "11");
    rig.select("A1");
    rig.desktop.chosenFiles = t.files({"c.htm", "a.htm", "sub/d.htm"});
    rig.editor.addTopics();
    EXPECT_EQ(test::treeText(rig.project), "T+(A+(A1 A2 Title c.htm Title a.htm Title sub/d.htm) B)");
    EXPECT_EQ(rig.editor.selected(), &rig.entry("A1")) << "the selection does not change";
    EXPECT_EQ(rig.entry("Title a.htm").topicFile, t.dir.file("a.htm"));
    EXPECT_EQ(rig.entry("Title a.htm").iconNumber, 11);
    EXPECT_EQ(rig.project.fileList.size(), 3u);
    EXPECT_EQ(rig.project.fileList[0].fileName(), "a.htm");
    EXPECT_EQ(rig.project.windowSettings.defaultTopic, "c.htm") << "the first topic added";
    EXPECT_TRUE(rig.project.modified);
    EXPECT_EQ(rig.progress.log, (std::vector<std::string>{"start 2", "step 0", "step 1", "step 2", "end"}));
    EXPECT_EQ(rig.view.fileListReloads, 1);
    EXPECT_EQ(rig.view.check(), "");

    rig.select("B");
    rig.editor.setInsertAsChild(true);
    rig.desktop.chosenFiles = t.files({"a.htm", "b.htm"});
    rig.editor.addTopics();
    EXPECT_EQ(test::treeText(rig.project),
              "T+(A+(A1 A2 Title c.htm Title a.htm Title sub/d.htm) B(Title a.htm Title b.htm))");
    EXPECT_EQ(rig.project.fileList.size(), 4u) << "a file added twice keeps one row";
    EXPECT_EQ(rig.project.windowSettings.defaultTopic, "c.htm");
}

TEST(DropFiles, AddsPagesAndFoldersWhereTheyAreDropped)
{
    struct Case {
        const char* target;  // nullptr: dropped below the last entry
        bool asChild;
        std::vector<const char*> dropped;
        const char* expected;
        int beeps;
    };
    const Case cases[] = {
        {"A1", false, {"c.htm"}, "T+(A+(A1 Title c.htm A2) B)", 0},
        {"A", true, {"c.htm", "a.htm"}, "T+(A+(Title c.htm Title a.htm A1 A2) B)", 0},
        {"B", true, {"b.htm"}, "T+(A+(A1 A2) B+(Title b.htm))", 0},
        {"T", false, {"b.htm"}, "T+(A+(A1 A2) B Title b.htm)", 0},
        {nullptr, false, {"b.htm"}, "T+(A+(A1 A2) B Title b.htm)", 0},
        // A folder gives its pages and its subfolders', in path order; other
        // files are left out with a beep.
        {"B", false, {"sub", "notes.txt"}, "T+(A+(A1 A2) B Title sub/d.htm Title sub/deeper/e.HTML)", 1},
        {"B", false, {"notes.txt"}, "T+(A+(A1 A2) B)", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        TopicRig t;
        test::writeFile(t.dir.path() / "sub/deeper/e.HTML", "<title>Title sub/deeper/e.HTML</title>");
        test::writeFile(t.dir.path() / "sub/picture.png", "");
        test::writeFile(t.dir.path() / "notes.txt", "");
        test::EditorRig& rig = t.rig;
        rig.editor.setInsertAsChild(c.asChild);
        std::vector<std::string> dropped;
        for (const char* name : c.dropped)
            dropped.push_back(t.dir.file(name));
        rig.editor.dropFiles(dropped, c.target ? &rig.entry(c.target) : nullptr);
        EXPECT_EQ(test::treeText(rig.project), c.expected);
        EXPECT_EQ(rig.desktop.beeps, c.beeps);
        EXPECT_EQ(rig.view.check(), "");
    }
}

TEST(DropFiles, FollowsTheRulesOfAddTopics)
{
    TopicRig outside;
    test::TempDir elsewhere;
    test::writeFile(elsewhere.path() / "x.htm", "<title>X</title>");
    outside.rig.editor.dropFiles({elsewhere.file("x.htm")}, &outside.rig.entry("B"));
    EXPECT_EQ(outside.rig.desktop.shown, std::vector<std::string>{"message 95/96"});
    EXPECT_EQ(test::treeText(outside.rig.project), "T+(A+(A1 A2) B)");

    TopicRig refused;
    test::writeFile(refused.dir.path() / "a#b.htm", "<title>AB</title>");
    refused.rig.editor.dropFiles(refused.files({"a#b.htm", "a.htm"}), &refused.rig.entry("B"));
    EXPECT_EQ(refused.rig.desktop.beeps, 1);
    EXPECT_EQ(test::treeText(refused.rig.project), "T+(A+(A1 A2) B Title a.htm)");

    TopicRig untitled;
    untitled.rig.project.projectFile.clear();
    untitled.rig.editor.dropFiles(untitled.files({"a.htm"}), nullptr);
    EXPECT_EQ(untitled.rig.desktop.shown, (std::vector<std::string>{"message 92/0", "save as"}));
    EXPECT_EQ(test::treeText(untitled.rig.project), "T+(A+(A1 A2) B)");
}

TEST(AddTopics, RefusesTheWholeChoiceWhenTheFirstFileIsOutside)
{
    TopicRig t;
    test::EditorRig& rig = t.rig;
    rig.project.projectFile = t.dir.file("sub/p.dxp");
    rig.desktop.chosenFiles = t.files({"a.htm", "sub/d.htm"});
    rig.editor.addTopics();
    EXPECT_EQ(rig.desktop.shown.back(), "message 95/96");
    EXPECT_EQ(test::treeText(rig.project), "T+(A+(A1 A2) B)");
    EXPECT_FALSE(rig.project.modified);
    EXPECT_TRUE(rig.progress.log.empty());

    rig.desktop.chosenFiles = t.files({"sub/d.htm", "a.htm"});  // only the first is tested
    rig.editor.addTopics();
    EXPECT_EQ(rig.project.fileList.size(), 2u);
}

TEST(AddTopics, LeavesOutFilesWhoseNamesCannotStandInTheProjectFile)
{
    TopicRig t;
    test::EditorRig& rig = t.rig;
    test::writeFile(t.dir.path() / "line\nbreak.htm", "<title>Broken</title>");
    test::writeFile(t.dir.path() / "back\\slash.htm", "<title>Slash</title>");
    for (const char* name : {"line\nbreak.htm", "back\\slash.htm"}) {
        rig.desktop.chosenFiles = {t.dir.file(name)};
        rig.editor.addTopics();
    }
    EXPECT_EQ(rig.desktop.beeps, 2);
    EXPECT_EQ(test::treeText(rig.project), "T+(A+(A1 A2) B)");
    EXPECT_FALSE(rig.project.modified);

    rig.desktop.chosenFiles = {t.dir.file("back\\slash.htm"), t.dir.file("a.htm")};
    rig.editor.addTopics();
    EXPECT_EQ(rig.desktop.beeps, 3) << "the others of the choice are added";
    EXPECT_EQ(rig.desktop.shown.back(), "fixed Topic file");
    EXPECT_TRUE(rig.desktop.fixedText.starts_with("The file " + t.dir.file("back\\slash.htm") + " cannot be a topic"))
        << rig.desktop.fixedText;
    EXPECT_EQ(test::treeText(rig.project), "T+(A+(A1 A2) B Title a.htm)");

    EXPECT_TRUE(topicFileStorable("C:\\Help\\a.htm", PathStyle::Windows)) << "the separator there";
    EXPECT_FALSE(topicFileStorable("C:\\Help\\a\tb.htm", PathStyle::Windows));
    EXPECT_FALSE(topicFileStorable("/help/c#.htm")) << "would read back as c with the anchor .htm";
}

TEST(AddTopics, NeedsASavedProjectAndASelectionAndAChoice)
{
    TopicRig unsaved;
    unsaved.rig.project.projectFile.clear();
    unsaved.rig.editor.addTopics();
    EXPECT_EQ(unsaved.rig.desktop.shown, (std::vector<std::string>{"message 92/0", "save as"}));

    TopicRig unselected;
    unselected.rig.editor.select(nullptr);
    unselected.rig.editor.addTopics();
    EXPECT_TRUE(unselected.rig.desktop.shown.empty());
    EXPECT_EQ(unselected.rig.desktop.beeps, 0);

    TopicRig cancelled;
    cancelled.rig.editor.addTopics();
    EXPECT_EQ(cancelled.rig.desktop.shown, (std::vector<std::string>{"open "}));
    EXPECT_FALSE(cancelled.rig.project.modified);
}

TEST(AddTopics, WindowsStyleHoldsLowerCasePaths)
{
    test::EditorRig rig("T+(A)", PathStyle::Windows);
    rig.editor.addTopicFiles({"C:\\Help\\Pages\\Intro.TXT", "c:\\help\\pages\\intro.txt"});
    EXPECT_EQ(rig.entry("Intro.TXT").topicFile, "c:\\help\\pages\\intro.txt");
    EXPECT_EQ(rig.project.fileList.size(), 1u);
    EXPECT_EQ(rig.project.fileList[0].folder(), "c:\\help\\pages\\");
    EXPECT_EQ(rig.project.windowSettings.defaultTopic, "PAGES\\Intro.TXT");
}

}  // namespace
}  // namespace doxel

#include "output/compiler_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "core/errors.h"
#include "formats/help_project_writer.h"
#include "output/contents_file.h"
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
    void showProgress(ProgressMode mode, int value) override
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
    project.titleEntry().appendChild(
        std::make_unique<ContentsEntry>("\xC3\x9C"
                                        "ber \xD0\x96",
                                        1, "c:\\help\\s.htm"));

    CountingProgress progress;
    test::TempDir dir;
    saveContents(project, dir.file("guide.hhc"), progress, kWin);
    EXPECT_EQ(test::readFile(dir.file("guide.hhc")), test::golden("nesting.hhc"));
    EXPECT_EQ(progress.maximum, 4);
    EXPECT_EQ(progress.steps, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(progress.ended);

    // Unchanged tree, identical bytes.
    saveContents(project, dir.file("again.hhc"), progress, kWin);
    EXPECT_EQ(test::readFile(dir.file("again.hhc")), test::readFile(dir.file("guide.hhc")));
}

// A large contents file goes to disk in pieces; the file holds the text
// whole, however the pieces fall.
TEST(ContentsFile, ALargeFileHoldsTheWholeText)
{
    Project project("Large");
    project.projectFile = "/h/guide.dxp";
    ContentsEntry* parent = &project.titleEntry();
    for (int i = 0; i < 12000; ++i) {
        ContentsEntry* entry = parent->appendChild(std::make_unique<ContentsEntry>(
            "Entry \"" + std::to_string(i) + "\" & more", 8, "/h/pages/page" + std::to_string(i) + ".htm"));
        if (i % 7 == 0)
            parent = entry;
        else if (i % 11 == 0)
            parent = &project.titleEntry();
    }
    NullProgress progress;
    ProgressScope scope(progress, 1);
    const std::string text = contentsFileText(project, scope);
    ASSERT_GT(text.size(), std::size_t{2} << 20);  // more than two pieces
    test::TempDir dir;
    saveContents(project, dir.file("guide.hhc"), progress);
    EXPECT_TRUE(test::readFile(dir.file("guide.hhc")) == text);
}

constexpr std::string_view kNameParam = "name=\"Name\" value=\"";

// The list lines and "Name" values of a sitemap, in file order.
std::string outline(const std::string& text)
{
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t line = text.find("\r\n", at);
        std::string_view body = std::string_view(text).substr(at, line - at);
        at = line == std::string::npos ? text.size() : line + 2;
        if (body == "<UL>" || body == "</UL>") {
            out += std::string(body) + " ";
        } else if (const auto name = body.find(kNameParam); name != std::string_view::npos) {
            body.remove_prefix(name + kNameParam.size());
            out += std::string(body.substr(0, body.rfind('"'))) + " ";
        }
    }
    return out;
}

TEST(ContentsFile, PutsEntriesBesideTheTitleIntoTheTopListWithTheirChildren)
{
    Project project = helpProject("Guide");
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("P", 8, "c:\\help\\p.htm"));
    ContentsEntry* x = project.root().appendChild(std::make_unique<ContentsEntry>("X", 0));
    x->appendChild(std::make_unique<ContentsEntry>("Y", 0))
        ->appendChild(std::make_unique<ContentsEntry>("Z", 8, "c:\\help\\z.htm"));
    project.root().appendChild(std::make_unique<ContentsEntry>("W", 8, "c:\\help\\w.htm"));
    NullProgress progress;
    ProgressScope scope(progress, 0);
    EXPECT_EQ(outline(contentsFileText(project, scope, kWin)), "<UL> P X <UL> Y <UL> Z </UL> </UL> W </UL> ");
}

TEST(IndexFile, WritesEveryKeywordUnmergedInListOrder)
{
    Project project = helpProject("Guide");
    project.keywords = {{"alpha", "c:\\help\\q.htm"}, {"alpha", "c:\\help\\sub\\r.htm"}, {"empty \"path\"", ""}};
    test::TempDir dir;
    saveIndex(project, dir.file("guide.hhk"), kWin);
    EXPECT_EQ(test::readFile(dir.file("guide.hhk")), test::golden("keywords.hhk"));

    project.keywords.clear();
    saveIndex(project, dir.file("empty.hhk"), kWin);
    EXPECT_EQ(test::readFile(dir.file("empty.hhk")), test::golden("no_keywords.hhk"));
}

TEST(HelpProjectFile, WritesTheNewProjectExample)
{
    const Project project = helpProject("New project (put your title here)");
    EXPECT_EQ(helpProjectFileText(project, kLog, kWin), test::golden("new_project.hhp"));
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
    EXPECT_EQ(helpProjectFileText(project, kLog, kWin), test::golden("guide.hhp"));
}

TEST(HelpProjectFile, WritesFlagsInHexAndTextsInWindows1252)
{
    const std::pair<std::int32_t, const char*> flags[] = {
        {0, "0x0"}, {32, "0x20"}, {static_cast<std::int32_t>(0x80000000u), "0x80000000"}, {-1, "0xFFFFFFFF"}};
    for (const auto& [value, text] : flags)
        EXPECT_EQ(hexFlags(value), text);

    Project project = helpProject(
        "\xC3\x9C"
        "ber \xD0\x9C\xD0\xB8\xD1\x80");
    // More Latin letters than Cyrillic ones: the help file is Western.
    project.windowSettings.jump2Text = "\xC3\xA9t\xC3\xA9 \xC3\xA0 No\xC3\xABl";
    const std::string text = helpProjectFileText(project, kLog, kWin);
    EXPECT_NE(text.find("Title=\xDC"
                        "ber &#1052;&#1080;&#1088;\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("Main=\"\xDC"
                        "ber &#1052;&#1080;&#1088;\","),
              std::string::npos);
    EXPECT_NE(text.find(",\xE9t\xE9 \xE0 No\xEBl,0x20,"), std::string::npos);
}

TEST(HelpProjectFile, KeepsTheWindowDefinitionWholeForATitleWithDoubleQuotes)
{
    Project project = helpProject("The \"Best\" Guide");
    HelpTextWriter writer(project, kWin);
    const std::string text = helpProjectFileText(project, kLog, writer);
    EXPECT_NE(text.find("Title=The \"Best\" Guide\r\n"), std::string::npos);
    EXPECT_NE(text.find("Main=\"The 'Best' Guide\",\"C:\\Help\\guide.hhc\",,"), std::string::npos);
    ASSERT_EQ(writer.messages().size(), 1u);
    EXPECT_EQ(writer.messages()[0].kind, CompilerFileMessage::Kind::Note);
    EXPECT_NE(writer.messages()[0].line().find("apostrophes"), std::string::npos);
}

TEST(SitemapFiles, WriteLocalValuesThatLeadViewersToTheFileTheyName)
{
    const std::pair<const char*, const char*> cases[] = {
        {"c:\\help\\q&a.htm", "q&amp;a.htm"},
        {"c:\\help\\100% sure.htm", "100%25 sure.htm"},
        {"c:\\help\\what is this?.htm", "what is this%3F.htm"},
        {"c:\\help\\a%41.htm#x?y&z", "a%2541.htm#x?y&amp;z"},
    };
    for (const auto& [path, local] : cases) {
        Project project = helpProject("Guide");
        project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Topic", 8, path));
        HelpTextWriter writer(project, kWin);
        NullProgress progress;
        ProgressScope scope(progress, 0);
        EXPECT_NE(contentsFileText(project, scope, writer).find("name=\"Local\" value=\"" + std::string(local) + "\""),
                  std::string::npos)
            << path;
    }
}

TEST(SitemapFiles, WriteMarkupCharactersOfNamesAsEntitiesAndPathsWithSlashes)
{
    Project project = helpProject("Tom & Jerry");
    project.titleEntry().appendChild(
        std::make_unique<ContentsEntry>("Tom & Jerry \"quoted\" <tag>", 8, "c:\\help\\a & b\\x.htm"));
    project.keywords.push_back({"<b>&amp;</b>", "c:\\help\\sub\\deep\\k.htm"});
    project.windowSettings.defaultTopic = "SUB\\DEEP\\k.htm";
    project.windowSettings.homePage = "sub\\home.htm";
    HelpTextWriter writer(project, kWin);
    NullProgress progress;
    ProgressScope scope(progress, 0);
    const std::string contents = contentsFileText(project, scope, writer);
    EXPECT_NE(contents.find("value=\"Tom &amp; Jerry &quot;quoted&quot; &lt;tag&gt;\""), std::string::npos);
    EXPECT_NE(contents.find("value=\"A &amp; B/x.htm\""), std::string::npos);
    EXPECT_NE(
        indexFileText(project, writer)
            .find(
                "value=\"&lt;b&gt;&amp;amp;&lt;/b&gt;\">\r\n          <param name=\"Local\" value=\"SUB/DEEP/k.htm\""),
        std::string::npos);
    const std::string help = helpProjectFileText(project, kLog, writer);
    EXPECT_NE(help.find("Default topic=SUB/DEEP/k.htm\r\n"), std::string::npos);
    EXPECT_NE(help.find("Title=Tom & Jerry\r\n"), std::string::npos);  // not a sitemap: kept as it is
    EXPECT_NE(help.find(",\"SUB/DEEP/k.htm\",sub/home.htm,"), std::string::npos);
    EXPECT_TRUE(writer.messages().empty());
}

// A project under `folder` with one topic per {caption, path below the
// project folder} and one keyword per {keyword, path}.
Project encodedProject(const std::string& folder, const std::string& title,
                       std::initializer_list<std::pair<std::string, std::string>> topics,
                       std::initializer_list<std::pair<std::string, std::string>> keywords)
{
    Project project(title);
    project.projectFile = folder + "/guide.dxp";
    for (const auto& [caption, path] : topics)
        project.titleEntry().appendChild(std::make_unique<ContentsEntry>(caption, 8, folder + "/" + path));
    for (const auto& [keyword, path] : keywords)
        project.keywords.push_back({keyword, folder + "/" + path});
    project.rebuildFileList();
    return project;
}

TEST(CompilerFiles, WriteTextsAndLocalPathsInTheHelpFilesCodePageAndFileNamesInUtf8)
{
    struct Case {
        std::string name;
        Project project;
        std::string defaultTopic;
        std::vector<std::string> inHelpProject;  // substrings, bytes as written
        std::vector<std::string> inContents;
        std::vector<std::string> inIndex;
        std::vector<std::string> messages;  // substrings of the lines, in order
    };
    test::TempDir dir;
    const std::string de = dir.file("deutsch");
    const std::string ru = dir.file("справка");
    std::vector<Case> cases;
    cases.push_back(
        {"German names in subfolders",
         encodedProject(de, "Übersicht", {{"Äpfel", "Übungen/äpfel.htm"}}, {{"Straße", "Übungen/äpfel.htm"}}),
         "Übungen\\äpfel.htm",
         {"Language=0x409 Englisch (USA)\r\nTitle=\xDC"
          "bersicht\r\n",
          "Default topic=\xDC"
          "bungen/\xE4"
          "pfel.htm\r\n",
          "Main=\"\xDC"
          "bersicht\",",
          "guide.hhk\",\"\xDC"
          "bungen/\xE4"
          "pfel.htm\",",
          "[FILES]\r\nÜbungen/äpfel.htm\r\n"},
         {"value=\"\xC4"
          "pfel\"",
          "value=\"\xDC"
          "bungen/\xE4"
          "pfel.htm\""},
         {"value=\"Stra\xDF"
          "e\""},
         {}});
    cases.push_back(
        {"Russian title, captions, keywords and paths",
         encodedProject(ru, "Руководство", {{"Приливы", "главы/приливы.htm"}}, {{"прилив", "главы/приливы.htm"}}),
         "главы\\приливы.htm",
         {"Contents file=guide.hhc\r\n", "Language=0x419 Russisch\r\n",
          "Title=\xD0\xF3\xEA\xEE\xE2\xEE\xE4\xF1\xF2\xE2\xEE\r\n",
          "Default topic=\xE3\xEB\xE0\xE2\xFB/\xEF\xF0\xE8\xEB\xE8\xE2\xFB.htm\r\n",
          "guide.hhk\",\"\xE3\xEB\xE0\xE2\xFB/\xEF\xF0\xE8\xEB\xE8\xE2\xFB.htm\",", "[FILES]\r\nглавы/приливы.htm\r\n"},
         {"value=\"\xCF\xF0\xE8\xEB\xE8\xE2\xFB\"", "value=\"\xE3\xEB\xE0\xE2\xFB/\xEF\xF0\xE8\xEB\xE8\xE2\xFB.htm\""},
         {"value=\"\xEF\xF0\xE8\xEB\xE8\xE2\""},
         {"Note: the help file's language is Russian, so"}});
    {
        // The author's choice of language wins over the letters; what its
        // code page lacks is written as references and warned about.
        Project chosen = encodedProject(dir.file("chosen"), "Übersicht", {{"Äpfel", "a.htm"}}, {});
        chosen.helpLanguageId = 0x419;
        cases.push_back({"German texts with Russian chosen",
                         std::move(chosen),
                         "",
                         {"Language=0x419 Russisch\r\nTitle=&#220;bersicht\r\n"},
                         {"value=\"&#196;pfel\""},
                         {},
                         {"Note: the help file's language is Russian (chosen in the project properties)",
                          "Warning: the help file's code page Windows-1251 lacks characters of \"Übersicht\"",
                          "Warning: the help file's code page Windows-1251 lacks characters of \"Äpfel\""}});
        Project english = encodedProject(dir.file("english"), "Справка", {{"A", "a.htm"}}, {});
        english.helpLanguageId = 0x409;
        cases.push_back({"Russian texts with English chosen",
                         std::move(english),
                         "",
                         {"Language=0x409 Englisch (USA)\r\n"},
                         {},
                         {},
                         {"Note: the help file's language is English (United States) (chosen",
                          "Warning: the help file's code page Windows-1252 lacks characters of \"Справка\""}});
    }
    cases.push_back({"Russian with an Arabic keyword and file name",
                     encodedProject(ru, "Руководство", {{"Приливы", "главы/شرح.htm"}, {"Отливы", "отливы.htm"}},
                                    {{"مرحبا", "отливы.htm"}}),
                     "",
                     {"Language=0x419 Russisch\r\n", "\r\nглавы/شرح.htm\r\n"},
                     {"value=\"\xE3\xEB\xE0\xE2\xFB/&#1588;&#1585;&#1581;.htm\""},
                     {"value=\"&#1605;&#1585;&#1581;&#1576;&#1575;\""},
                     {"Note: the help file's language",
                      "Warning: the help file's code page Windows-1251 lacks characters of \"مرحبا\"",
                      "Warning: the help file's code page Windows-1251 cannot hold the file name \"главы/شرح.htm\""}});
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.defaultTopic.empty())
            c.project.windowSettings.defaultTopic = c.defaultTopic;
        std::filesystem::create_directories(folderOf(c.project.projectFile));
        NullProgress progress;
        c.project.deriveCompilerFileNames();
        const CompilerInputFiles files = writeCompilerFiles(c.project, progress);
        const std::string help = test::readFile(c.project.helpProjectFile);
        const std::string contents = test::readFile(c.project.contentsFile);
        const std::string index = test::readFile(c.project.indexFile);
        for (const std::string& part : c.inHelpProject)
            EXPECT_NE(help.find(part), std::string::npos) << part << "\n" << help;
        for (const std::string& part : c.inContents)
            EXPECT_NE(contents.find(part), std::string::npos) << part << "\n" << contents;
        for (const std::string& part : c.inIndex)
            EXPECT_NE(index.find(part), std::string::npos) << part << "\n" << index;
        ASSERT_EQ(files.messages.size(), c.messages.size());
        for (std::size_t i = 0; i < c.messages.size(); ++i)
            EXPECT_TRUE(files.messages[i].line().starts_with(c.messages[i])) << files.messages[i].line();
        EXPECT_EQ(files.codePage, &helpFileCodePage(c.project));
    }
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
    const auto written = writeCompilerFiles(unchanged, progress).written;
    EXPECT_EQ(written, (std::vector<std::string>{dir.file("guide.hhk"), dir.file("guide.hhp"), dir.file("guide.hhc")}));
    const std::string hhp = test::readFile(dir.file("guide.hhp"));
    EXPECT_NE(hhp.find("[FILES]\r\na.htm\r\n"), std::string::npos);
    EXPECT_NE(test::readFile(dir.file("guide.hhc")).find("value=\"a.htm\""), std::string::npos);
    // What chmcmd gets, and what an export leaves to be moved and compiled
    // by hand: no full path, no log file.
    EXPECT_NE(hhp.find("Compiled file=guide.chm\r\nContents file=guide.hhc\r\n"), std::string::npos) << hhp;
    EXPECT_EQ(hhp.find(dir.path().string()), std::string::npos) << hhp;
    EXPECT_EQ(hhp.find("Error log file="), std::string::npos) << hhp;

    // An export names the log, as a Windows help project does, and an
    // index entry without a file is warned of.
    project.keywords.push_back({"web page", ""});
    const CompilerInputFiles exported = writeCompilerFiles(project, progress, kNativePathStyle, "/logs/log.txt");
    EXPECT_NE(
        test::readFile(dir.file("guide.hhp")).find("Display compile progress=No\r\nError log file=/logs/log.txt\r\n"),
        std::string::npos);
    ASSERT_FALSE(exported.messages.empty());
    EXPECT_EQ(exported.messages.back().line(),
              "Warning: The keyword \"web page\" leads to no file; viewers open nothing for it");

    project.projectFile = dir.file("missing/guide.dxp");
    project.deriveCompilerFileNames();
    EXPECT_THROW(writeCompilerFiles(project, progress), IoError);
}

// Nothing outside the project folder enters the help file, whichever
// compiler reads the input files: not through the contents, the index or
// the file list.
TEST(CompilerFiles, LeaveOutFilesOutsideTheProjectFolderWithAWarning)
{
    Project project("Hostile");
    project.projectFile = "/work/help/guide.dxp";
    project.deriveCompilerFileNames();
    const std::string outside[] = {"/work/secret.txt", "/etc/passwd", "/work/help/../other/x.htm"};
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Inside", 8, "/work/help/a.htm"));
    for (const std::string& path : outside) {
        project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Out", 8, path));
        project.keywords.push_back({"out", path});
    }
    project.keywords.push_back({"in", "/work/help/a.htm#x"});
    project.rebuildFileList();

    HelpTextWriter writer(project);
    NullProgress progress;
    ProgressScope scope(progress, 1);
    const std::string texts[] = {contentsFileText(project, scope, writer), indexFileText(project, writer),
                                 helpProjectFileText(project, {}, writer)};
    for (const std::string& text : texts) {
        EXPECT_EQ(text.find("secret"), std::string::npos) << text;
        EXPECT_EQ(text.find("passwd"), std::string::npos) << text;
        EXPECT_EQ(text.find("other"), std::string::npos) << text;
        EXPECT_EQ(text.find(".."), std::string::npos) << text;
    }
    EXPECT_NE(texts[0].find("value=\"a.htm\""), std::string::npos);
    EXPECT_NE(texts[1].find("value=\"a.htm#x\""), std::string::npos);
    EXPECT_NE(texts[2].find("\r\na.htm\r\n"), std::string::npos);
    int warnings = 0;
    for (const CompilerFileMessage& message : writer.messages()) {
        if (message.kind == CompilerFileMessage::Kind::Warning &&
            message.text.find("outside the project folder") != std::string::npos)
            ++warnings;
    }
    EXPECT_EQ(warnings, 3);  // once per file
}

// The contents file is written before the help project, which may wait for
// the file list to be made meanwhile; the messages still come in the order
// index, help project, contents, and a file outside the project folder that
// two files name is warned of once.
TEST(CompilerFiles, WriteTheHelpProjectOnceTheFileListIsMadeAndNameEachFileOnce)
{
    test::TempDir dir;
    Project project("Hostile");
    project.projectFile = dir.file("help/guide.dxp");
    std::filesystem::create_directories(dir.file("help"));
    project.deriveCompilerFileNames();
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Inside", 8, dir.file("help/a.htm")));
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Out", 8, dir.file("secret.htm")));
    project.keywords.push_back({"out", dir.file("other.htm")});
    NullProgress progress;
    const CompilerInputFiles files =
        writeCompilerFiles(project, progress, kNativePathStyle, {}, {}, [&project] { project.rebuildFileList(); });
    EXPECT_NE(test::readFile(project.helpProjectFile).find("[FILES]\r\na.htm\r\n"), std::string::npos);
    std::vector<std::string> outside;
    for (const CompilerFileMessage& message : files.messages)
        outside.push_back(message.text.substr(0, message.text.find(" lies outside")));
    EXPECT_EQ(outside, (std::vector<std::string>{"the file ../other.htm", "the file ../secret.htm"}));
}

// The "Local" value of each full path in a project at /work/help: "" for a
// file the help file cannot hold. Paths below the project folder take a
// shorter way than the others; both must agree.
TEST(CompilerFiles, TellFilesInsideTheProjectFolderFromFilesOutsideIt)
{
    Project project("Paths");
    project.projectFile = "/work/help/guide.dxp";
    struct Case {
        const char* fullPath;
        const char* local;
    };
    const Case cases[] = {
        {"/work/help/a.htm", "a.htm"},
        {"/work/help/sub/a.htm#top", "sub/a.htm#top"},
        {"/work/help/sub//a.htm", "sub//a.htm"},
        {"/work/help/sub/./a.htm", "sub/./a.htm"},
        {"/work/help/sub/../a.htm", "sub/../a.htm"},
        {"/work/help/a\\b.htm", "a/b.htm"},  // "\\" in a name reads as a folder, as viewers read it
        {"/work/help/q&a 100%.htm", "q&amp;a 100%25.htm"},
        {"/work/help/sub/../../x.htm", ""},
        {"/work/help/../x.htm", ""},
        {"/work/helpers/a.htm", ""},  // beside the project folder, not in it
        {"/work/help/c:/a.htm", ""},  // reads as a drive
        {"/work/a.htm", ""},
        {"/a.htm", ""},
    };
    HelpTextWriter writer(project);
    for (const Case& c : cases) {
        EXPECT_EQ(writer.topicPath(c.fullPath, project.projectFile), c.local) << c.fullPath;
        EXPECT_EQ(writer.insideProject(c.fullPath, project.projectFile), *c.local != '\0') << c.fullPath;
    }
    // A project in the root folder holds every file.
    EXPECT_EQ(writer.topicPath("/sub/a.htm", "/guide.dxp"), "sub/a.htm");
}

// Someone moving from a hand-written help project keeps it: a compile never
// writes or deletes a help project, contents or index file it did not make.
TEST(CompilerFiles, ACompileWritesOnlyInputFilesOfItsOwn)
{
    test::TempDir dir;
    namespace fs = std::filesystem;
    // Files a compile left behind name a process that has ended, or none.
    const std::string ended = "; Written by HTML Doxel for a compile of process 999999999; removed when it ends\r\n";
    const std::string running = "; Written by HTML Doxel for a compile of process " + std::to_string(::getppid()) +
                                "; removed when it ends\r\n";
    const std::string contents = "<!-- Written by HTML Doxel for a compile; removed when it ends -->\r\n<UL>";
    struct Case {
        std::vector<std::pair<const char*, std::string>> files;
        bool plainNames;
        bool kept;  // the files are there after the compile
    };
    const Case cases[] = {
        {{}, true, false},
        {{{"guide.hhp", "the author's own"}}, false, true},
        {{{"guide.hhc", "the author's own"}, {"guide.hhk", "the author's own"}}, false, true},
        {{{"guide.hhp", ended}, {"guide.hhc", contents}, {"guide.hhk", ""}}, false, true},
        {{{"guide.hhp", ended}, {"guide.hhc", contents}}, true, false},
        {{{"guide.hhc", contents}}, true, false},
        {{{"guide.hhp", running}, {"guide.hhc", contents}}, false, true},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir.path() / "p");
        fs::create_directory(dir.path() / "p");
        for (const auto& [name, text] : c.files)
            test::writeFile(dir.path() / "p" / name, text);
        Project project("Guide");
        project.projectFile = dir.file("p/guide.dxp");
        project.titleEntry().appendChild(std::make_unique<ContentsEntry>("A", 8, dir.file("p/a.htm")));
        project.keywords.push_back({"k", dir.file("p/a.htm")});
        project.rebuildFileList();
        reserveCompileInputFiles(project);
        EXPECT_EQ(project.compiledFile, dir.file("p/guide.chm"));
        EXPECT_EQ(project.helpProjectFile == dir.file("p/guide.hhp"), c.plainNames);
        for (const std::string* file : {&project.helpProjectFile, &project.contentsFile, &project.indexFile}) {
            EXPECT_EQ(fs::path(*file).parent_path(), dir.path() / "p");
            EXPECT_EQ(test::readFile(*file), compileInputFirstLine(*file));
            EXPECT_TRUE(isLeftoverCompileInput(*file) == !file->ends_with(".hhp")) << *file;
        }
        NullProgress progress;
        const CompilerInputFiles written = writeCompilerFiles(project, progress, kNativePathStyle, {}, {}, {}, true);
        for (const std::string& file : written.written)
            EXPECT_TRUE(test::readFile(file).starts_with(compileInputFirstLine(file))) << file;
        for (const auto& [name, text] : c.files) {
            if (c.kept) {
                EXPECT_EQ(test::readFile(dir.path() / "p" / name), text) << name;
            }
        }
        // The help project names its own contents and index files.
        const std::string hhp = test::readFile(project.helpProjectFile);
        EXPECT_NE(hhp.find("Contents file=" + fs::path(project.contentsFile).filename().string() + "\r\n"),
                  std::string::npos)
            << hhp;
        for (const std::string& file : written.written)
            fs::remove(file);
        std::size_t left = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path() / "p"))
            ++left;
        EXPECT_EQ(left, c.kept ? c.files.size() : 0);
    }
}

}  // namespace
}  // namespace doxel

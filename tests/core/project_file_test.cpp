#include "core/project_file.h"

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/errors.h"
#include "test_support.h"

namespace doxel {
namespace {

using test::crlf;

class RecordingProgress : public ProgressReporter {
public:
    void showProgress(ProgressMode mode, int value) override
    {
        calls.push_back(std::string(mode == ProgressMode::Start  ? "start "
                                    : mode == ProgressMode::Step ? "step "
                                                                 : "end ") +
                        std::to_string(value));
    }
    std::vector<std::string> calls;
};

Project windowsExample()
{
    Project project("My help");
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Intro", 8, "c:\\work\\help\\intro.htm"));
    project.windowSettings.defaultTopic = "intro.htm";
    project.keywords.push_back({"start", "c:\\work\\help\\intro.htm"});
    return project;
}

const std::string kWindowsExampleText = crlf({"NOTE: This file is maintained by HTML Doxel. Do not modify it directly.",
                                              "",
                                              "[Window]",
                                              "intro.htm",
                                              "32",
                                              "200",
                                              "0",
                                              "0",
                                              "0",
                                              "",
                                              "",
                                              "",
                                              "",
                                              "",
                                              "80",
                                              "70",
                                              "650",
                                              "430",
                                              "",
                                              "[Table of Contents]",
                                              "1",
                                              "[0 ] [h] [42] My help",
                                              "[1 ] [i] [8 ] Intro\aintro.htm",
                                              "",
                                              "[Index]",
                                              "start\aintro.htm"});

TEST(ProjectFile, WritesTheDocumentedExampleByteForByte)
{
    test::TempDir dir;
    Project project = windowsExample();
    NullProgress progress;
    ProgressScope scope(progress, 0);
    EXPECT_EQ(projectFileText(project, "c:\\work\\help\\my.dxp", scope, PathStyle::Windows), kWindowsExampleText);
}

TEST(ProjectFile, ReadsTheDocumentedExampleBack)
{
    Project project;
    readProjectText(project, kWindowsExampleText, "C:\\Work\\Help\\my.dxp", PathStyle::Windows);
    EXPECT_EQ(project.title(), "My help");
    ASSERT_EQ(project.titleEntry().childCount(), 1u);
    const ContentsEntry& intro = *project.titleEntry().child(0);
    EXPECT_EQ(intro.caption, "Intro");
    EXPECT_EQ(intro.iconNumber, 8);
    EXPECT_EQ(intro.topicFile, "c:\\work\\help\\intro.htm");
    ASSERT_EQ(project.keywords.size(), 1u);
    EXPECT_EQ(project.keywords[0], (KeywordEntry{"start", "c:\\work\\help\\intro.htm"}));
    EXPECT_EQ(project.windowSettings.defaultTopic, "intro.htm");
    ASSERT_EQ(project.fileList.size(), 1u);
    EXPECT_EQ(project.projectFile, "C:\\Work\\Help\\my.dxp");
}

TEST(ProjectFile, FormatsLevelsAndIconsAndKeepsCaptionsWithBrackets)
{
    Project project("T");
    ContentsEntry* parent = &project.titleEntry();
    for (int level = 1; level <= 10; ++level)
        parent = parent->appendChild(std::make_unique<ContentsEntry>("[x] y]", level == 1 ? 1 : level));
    test::TempDir dir;
    NullProgress progress;
    writeProjectFile(project, dir.file("p.dxp"), progress);
    const std::string text = test::readFile(dir.file("p.dxp"));
    EXPECT_NE(text.find("[1 ] [h] [0 ] [x] y]\r\n"), std::string::npos);  // open form 1 stored as 0
    EXPECT_NE(text.find("[9 ] [h] [9 ] [x] y]\r\n"), std::string::npos);
    EXPECT_NE(text.find("[10] [h] [10] [x] y]\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("[Index]\r\n"));

    Project back;
    readProjectFile(back, dir.file("p.dxp"));
    const ContentsEntry* entry = &back.titleEntry();
    for (int level = 1; level <= 10; ++level) {
        ASSERT_EQ(entry->childCount(), 1u);
        entry = entry->child(0);
        EXPECT_EQ(entry->caption, "[x] y]");
    }
}

TEST(ProjectFile, RoundTripsAProjectWithFoldersKeywordsAndLevelZeroEntries)
{
    test::TempDir dir;
    const std::string folder = dir.path().string();
    test::writeFile(dir.path() / "help" / "Pages" / "Intro.htm", "<title>x</title>");
    Project project(
        "Guide \xC3\x9C"
        "ber");
    ContentsEntry& title = project.titleEntry();
    ContentsEntry* chapter = title.appendChild(std::make_unique<ContentsEntry>("Chapter", 1));
    chapter->appendChild(std::make_unique<ContentsEntry>("Intro", 8, folder + "/help/Pages/Intro.htm"));
    chapter->appendChild(std::make_unique<ContentsEntry>("Outside", 12, folder + "/shared/x.htm"));
    // "No picture chosen" in a project saved by the Windows program.
    chapter->appendChild(std::make_unique<ContentsEntry>("No picture", 255, folder + "/shared/x.htm"));
    project.root().appendChild(std::make_unique<ContentsEntry>("Beside the title", 2));
    project.keywords.push_back({"alpha", folder + "/help/Pages/Intro.htm"});
    project.keywords.push_back({"alpha", ""});
    project.windowSettings.jump1Text = "Jump \xD0\x96";
    project.windowSettings.left = -20;
    project.rebuildFileList();
    project.modified = true;

    NullProgress progress;
    writeProjectFile(project, folder + "/help/p.dxp", progress);
    EXPECT_FALSE(project.modified);
    const std::string text = test::readFile(folder + "/help/p.dxp");
    EXPECT_NE(text.find("[2 ] [i] [8 ] Intro\aPages\\Intro.htm\r\n"), std::string::npos);
    EXPECT_NE(text.find("[2 ] [i] [12] Outside\a..\\shared\\x.htm\r\n"), std::string::npos);
    EXPECT_NE(text.find("[0 ] [h] [2 ] Beside the title\r\n"), std::string::npos);
    EXPECT_NE(text.find("[2 ] [i] [255] No picture\a..\\shared\\x.htm\r\n"), std::string::npos);

    Project back;
    readProjectFile(back, folder + "/help/p.dxp");
    NullProgress again;
    ProgressScope scope(again, 0);
    EXPECT_EQ(projectFileText(back, folder + "/help/p.dxp", scope), text);
    EXPECT_EQ(back.root().childCount(), 2u);
    EXPECT_EQ(back.keywords, project.keywords);
    EXPECT_EQ(back.windowSettings, project.windowSettings);
    EXPECT_EQ(back.fileList.size(), 2u);
    EXPECT_EQ(back.titleEntry().child(0)->iconNumber, 0);  // read back in the closed form

    // A file list made beside the caller's work is the one made while reading.
    Project beside;
    FileListMaker maker;
    readProjectFile(beside, folder + "/help/p.dxp", kNativePathStyle, nullptr, nullptr, &maker);
    beside.fileList = maker.take();
    EXPECT_TRUE(std::equal(beside.fileList.begin(), beside.fileList.end(), back.fileList.begin(), back.fileList.end(),
                           [](const FileListEntry& a, const FileListEntry& b) { return a.path == b.path; }));
}

TEST(ProjectFile, ReadsBackAsDeepATreeAsItWrites)
{
    Project project;
    ContentsEntry* parent = &project.titleEntry();
    for (int level = 1; level < kMaxContentsDepth; ++level)
        parent = parent->appendChild(std::make_unique<ContentsEntry>("deep", 2));
    test::TempDir dir;
    NullProgress progress;
    writeProjectFile(project, dir.file("deep.dxp"), progress);
    Project back;
    readProjectFile(back, dir.file("deep.dxp"));
    EXPECT_EQ(back.entryCount(), static_cast<std::size_t>(kMaxContentsDepth));

    // One level more is refused at the line that goes too deep.
    parent->appendChild(std::make_unique<ContentsEntry>("too deep", 2));
    writeProjectFile(project, dir.file("deeper.dxp"), progress);
    try {
        readProjectFile(back, dir.file("deeper.dxp"));
        ADD_FAILURE() << "a tree deeper than a project holds was read";
    } catch (const FormatError& error) {
        EXPECT_EQ(error.line(), 21 + kMaxContentsDepth + 1);
        EXPECT_NE(error.problem().find("deeper than the 256 levels"), std::string::npos) << error.what();
    }
    EXPECT_EQ(back.entryCount(), static_cast<std::size_t>(kMaxContentsDepth));
}

TEST(ProjectFile, OpensNoPipeAndSavesOverNoReadOnlyFile)
{
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("x.dxp").c_str(), 0600), 0);
    Project project = windowsExample();
    EXPECT_THROW(readProjectFile(project, dir.file("x.dxp")), IoError);
    EXPECT_EQ(project.title(), "My help");
    NullProgress progress;
    writeProjectFile(project, dir.file("ro.dxp"), progress);
    const std::string before = test::readFile(dir.path() / "ro.dxp");
    std::filesystem::permissions(dir.file("ro.dxp"), std::filesystem::perms::owner_read);
    project.titleEntry().caption = "Changed";
    project.modified = true;
    try {
        writeProjectFile(project, dir.file("ro.dxp"), progress);
        ADD_FAILURE() << "saved over a read-only project file";
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find("Cannot write"), std::string::npos) << error.what();
    }
    EXPECT_TRUE(project.modified);
    EXPECT_EQ(test::readFile(dir.path() / "ro.dxp"), before);
}

TEST(ProjectFile, StepsProgressOncePerEntryAndEndsIt)
{
    Project project;
    for (int i = 0; i < 40; ++i)
        project.titleEntry().appendChild(std::make_unique<ContentsEntry>("e", 8));
    test::TempDir dir;
    RecordingProgress progress;
    writeProjectFile(project, dir.file("p.dxp"), progress);
    ASSERT_EQ(progress.calls.size(), 43u);
    EXPECT_EQ(progress.calls.front(), "start 40");
    EXPECT_EQ(progress.calls[1], "step 0");
    EXPECT_EQ(progress.calls[41], "step 40");
    EXPECT_EQ(progress.calls.back(), "end 0");
}

// A disk that fills up half way: the file size limit makes the write fail
// for every user, root included.
TEST(ProjectFile, WriteThatRunsOutOfSpaceKeepsTheOldFile)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "p.dxp", "old contents");
    Project project;
    for (int i = 0; i < 200; ++i)
        project.titleEntry().appendChild(std::make_unique<ContentsEntry>("a caption of some length", 8));
    project.modified = true;

    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    rlimit small = oldLimit;
    small.rlim_cur = 2000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    RecordingProgress progress;
    EXPECT_THROW(writeProjectFile(project, dir.file("p.dxp"), progress), IoError);
    ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(project.modified);
    EXPECT_EQ(progress.calls.back(), "end 0");
    EXPECT_EQ(test::readFile(dir.file("p.dxp")), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary file left
}

TEST(ProjectFile, FailedWriteIntoAMissingFolderIsReported)
{
    test::TempDir dir;
    Project project;
    project.modified = true;
    RecordingProgress progress;
    EXPECT_THROW(writeProjectFile(project, dir.file("no/such/p.dxp"), progress), IoError);
    EXPECT_TRUE(project.modified);
    EXPECT_EQ(progress.calls.back(), "end 0");
}

TEST(ProjectFile, ReadsAWindowsFileInWindows1252)
{
    std::string text = kWindowsExampleText;
    text.replace(text.find("My help"), 7,
                 "M\xFC"
                 "ller \x80");
    Project project;
    readProjectText(project, text, "/h/my.dxp");
    EXPECT_EQ(project.title(), "M\xC3\xBCller \xE2\x82\xAC");
}

TEST(ProjectFile, AProjectWrittenOnWindowsFindsEveryFileWhateverItsLetterCase)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "übungen" / "Äpfel.htm", "x");
    test::writeFile(dir.path() / "Intro.htm", "x");
    test::writeFile(dir.path() / "Start.htm", "x");
    std::string text = kWindowsExampleText;
    text.replace(text.find("[Window]\r\nintro.htm"), 19, "[Window]\r\nINTRO.HTM#top");
    text.replace(text.find("\r\n\r\n\r\n80"), 8, "\r\n\r\nstart.htm\r\n80");
    text.replace(text.find("Intro\aintro.htm"), 15,
                 "Intro\a\xDC"
                 "BUNGEN\\\xE4"
                 "pfel.htm");
    text.replace(text.find("start\aintro.htm"), 15,
                 "start\a\xDC"
                 "BUNGEN\\\xC4"
                 "PFEL.htm");
    const std::string folder = dir.path().string();
    test::writeFile(dir.path() / "w.dxp", text);

    Project project;
    readProjectFile(project, folder + "/w.dxp");
    const std::string apples = folder + "/übungen/Äpfel.htm";
    EXPECT_EQ(project.titleEntry().child(0)->topicFile, apples);
    ASSERT_EQ(project.keywords.size(), 1u);
    EXPECT_EQ(project.keywords[0].topicFile, apples);
    EXPECT_EQ(project.windowSettings.defaultTopic, "Intro.htm#top");
    EXPECT_EQ(project.windowSettings.homePage, "Start.htm");
}

TEST(ProjectFile, RefusesFilesThatDepartFromTheLayoutAndKeepsTheProject)
{
    const auto replaceLine = [](int line, std::string_view with) {
        std::string text = kWindowsExampleText;
        std::size_t start = 0;
        for (int i = 1; i < line; ++i)
            start = text.find("\r\n", start) + 2;
        const std::size_t end = text.find("\r\n", start);
        text.replace(start, end - start, with);
        return text;
    };
    struct Case {
        std::string text;
        int line;
    };
    const Case cases[] = {
        {"", 1},
        {kWindowsExampleText.substr(0, 200), 23},
        {replaceLine(3, "[Fenster]"), 3},
        {replaceLine(5, "thirty-two"), 5},
        {replaceLine(15, "99999999999"), 15},
        {replaceLine(21, "5"), 21},
        {replaceLine(21, "-1"), 21},
        {replaceLine(21, "2147483647"), 21},
        {replaceLine(22, "no brackets"), 22},
        {replaceLine(22, "[1 ] [h] [42] not the title at level 0"), 22},
        {replaceLine(23, "[2 ] [i] [8 ] jumps a level\aintro.htm"), 23},
        {replaceLine(23, "[1 ] [x] [8 ] Intro"), 23},
        {replaceLine(23, "[1 ] [i] [256] Intro\aintro.htm"), 23},
        {replaceLine(23, "[1 ] [i] [8 Intro"), 23},
        {replaceLine(23, "[1 [i] 8 Intro"), 23},
        {replaceLine(25, "[Stichwort]"), 25},
        {std::string("\x7F"
                     "ELF\0\0\0",
                     7),
         1},
    };
    // Also with the file list made beside: a file that fails after the
    // contents were read stops the making, which reads them.
    for (const auto& c : cases) {
        for (const bool beside : {false, true}) {
            Project project = windowsExample();
            project.projectFile = "/keep/me.dxp";
            project.modified = true;
            FileListMaker maker;
            try {
                readProjectText(project, c.text, "/h/bad.dxp", kNativePathStyle, nullptr, beside ? &maker : nullptr);
                ADD_FAILURE() << "accepted: " << c.text.substr(0, 80);
            } catch (const FormatError& error) {
                EXPECT_EQ(error.line(), c.line) << error.what();
                EXPECT_NE(std::string(error.what()).find("/h/bad.dxp, line "), std::string::npos);
            }
            EXPECT_EQ(project.projectFile, "/keep/me.dxp");
            EXPECT_EQ(project.title(), "My help");
            EXPECT_TRUE(project.modified);
            EXPECT_FALSE(maker.started());
        }
    }
}

TEST(ProjectFile, ReadsAHugeCaptionLineAndLenientLineEnds)
{
    std::string text = kWindowsExampleText;
    const std::string caption(3'000'000, 'c');
    text.replace(text.find("Intro\a"), 5, caption);
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);  // LF only, as an editor on Linux leaves it
    Project project;
    readProjectText(project, text, "/h/p.dxp");
    EXPECT_EQ(project.titleEntry().child(0)->caption, caption);
}

TEST(ProjectFile, ReadsTheSameProjectWhateverItsLineEnds)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < kWindowsExampleText.size();) {
        const std::size_t end = kWindowsExampleText.find("\r\n", start);
        lines.push_back(kWindowsExampleText.substr(start, end - start));
        start = end + 2;
    }
    // Line by line in turn, as files touched by several editors have them.
    // No line that ends with CR is followed by an empty line ending with LF:
    // that pair reads as one CR LF.
    const std::vector<std::vector<std::string>> patterns = {{"\n"}, {"\r"}, {"\r", "\r\n", "\n"}, {"\r\n", "\n"}};
    for (const auto& ends : patterns) {
        for (const bool lastEnded : {true, false}) {
            std::string text;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                text += lines[i];
                if (i + 1 < lines.size() || lastEnded)
                    text += ends[i % ends.size()];
            }
            Project project;
            readProjectText(project, text, "/h/p.dxp");
            EXPECT_EQ(project.title(), "My help") << ends.size() << lastEnded;
            ASSERT_EQ(project.titleEntry().childCount(), 1u);
            EXPECT_EQ(project.titleEntry().child(0)->caption, "Intro");
            EXPECT_EQ(project.windowSettings.defaultTopic, "intro.htm");
            EXPECT_EQ(project.windowSettings.height, 430);
            ASSERT_EQ(project.keywords.size(), 1u) << ends.size() << lastEnded;
            EXPECT_EQ(project.keywords[0].keyword, "start");
            EXPECT_EQ(project.keywords[0].topicFile, "/h/intro.htm");
        }
    }
}

TEST(ProjectFile, ReportsAMissingFileAsAnInputError)
{
    Project project;
    EXPECT_THROW(readProjectFile(project, "/nonexistent/folder/p.dxp"), IoError);
}

}  // namespace
}  // namespace doxel

#include "core/project_settings.h"

#include <filesystem>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/project_file.h"
#include "test_support.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;

// A project in `dir` whose pages lie in subfolders, some named beyond ASCII.
Project projectWithHelpIds(const test::TempDir& dir)
{
    fs::create_directories(dir.path() / "pages" / "übungen");
    test::writeFile(dir.path() / "pages" / "print.htm", "<p>print</p>");
    test::writeFile(dir.path() / "pages" / "übungen" / "Äpfel, Birnen.htm", "<p>fruit</p>");
    Project project("Guide");
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Print", 8, dir.file("pages/print.htm")));
    project.rebuildFileList();
    project.helpIds = {
        {"IDH_PRINT_PREVIEW", 1001, dir.file("pages/print.htm") + "#preview"},
        {"IDH_FRUIT", 7, dir.file("pages/übungen/Äpfel, Birnen.htm")},
        {"IDH_NOTHING_YET", 0x7fffffff, ""},
    };
    project.helpLanguageId = 0x415;
    test::writeFile(dir.path() / "images" / "tab=a.png", "PNG");
    project.extraFiles = {dir.file("images/tab=a.png")};
    return project;
}

TEST(ProjectSettings, SavedBesideTheProjectAndReadBackWithIt)
{
    test::TempDir dir;
    Project project = projectWithHelpIds(dir);
    const std::string file = dir.file("guide.dxp");
    NullProgress progress;
    writeProjectFile(project, file, progress);

    EXPECT_EQ(test::readFile(dir.path() / "guide.dxs"),
              "# HTML Doxel keeps this file beside the project file of the same name.\n"
              "\n"
              "[Help file]\n"
              "Language=0x0415\n"
              "\n"
              "[Help ids]\n"
              "IDH_PRINT_PREVIEW=1001,pages/print.htm#preview\n"
              "IDH_FRUIT=7,pages/übungen/Äpfel, Birnen.htm\n"
              "IDH_NOTHING_YET=2147483647\n"
              "\n"
              "[Extra files]\n"
              "File=images/tab=a.png\n");
    // The project file itself is the one the Windows program reads.
    ProgressScope scope(progress, 0);
    EXPECT_EQ(test::readFile(file), projectFileText(project, file, scope));

    Project read;
    std::vector<std::string> problems;
    readProjectFile(read, file, kNativePathStyle, nullptr, &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(read.helpIds, project.helpIds);
    EXPECT_EQ(read.helpLanguageId, 0x415);
    EXPECT_EQ(read.extraFiles, project.extraFiles);
}

TEST(ProjectSettings, TopicsAreStoredRelativeToWhereTheProjectIsSaved)
{
    test::TempDir dir;
    const Project project = projectWithHelpIds(dir);
    const std::string text = projectSettingsText(project, dir.file("projects/guide.dxp"));
    EXPECT_NE(text.find("IDH_PRINT_PREVIEW=1001,../pages/print.htm#preview\n"), std::string::npos) << text;

    // A project written on Windows names its folders in another letter case.
    test::writeFile(dir.path() / "projects" / "guide.dxp", "");
    StoredPathResolver resolver(dir.file("projects/"));
    const ProjectSettings read = readProjectSettingsText(
        "[Help ids]\nIDH_A=5,..\\PAGES\\Print.htm#x\nIDH_B=6,../pages/ÜBUNGEN/äpfel, birnen.htm\n", "guide.dxs",
        resolver);
    ASSERT_EQ(read.helpIds.size(), 2u);
    EXPECT_EQ(read.helpIds[0].topicFile, dir.file("pages/print.htm") + "#x");
    EXPECT_EQ(read.helpIds[1].topicFile, dir.file("pages/übungen/Äpfel, Birnen.htm"));
}

TEST(ProjectSettings, AProjectWithNothingToKeepRemovesOnlyAFileOfOurs)
{
    test::TempDir dir;
    Project project = projectWithHelpIds(dir);
    const std::string file = dir.file("guide.dxp");
    NullProgress progress;
    writeProjectFile(project, file, progress);
    ASSERT_TRUE(fs::exists(dir.path() / "guide.dxs"));

    // Deleted help ids must not come back from the old file.
    project.helpIds.clear();
    project.helpLanguageId = 0;
    project.extraFiles.clear();
    writeProjectFile(project, file, progress);
    EXPECT_FALSE(fs::exists(dir.path() / "guide.dxs"));
    Project read;
    readProjectFile(read, file);
    EXPECT_TRUE(read.helpIds.empty());

    // A file of that name that someone else wrote stays, and so does the
    // file a link there points at.
    test::writeFile(dir.path() / "guide.dxs", "notes of my own\n");
    writeProjectFile(project, file, progress);
    EXPECT_EQ(test::readFile(dir.path() / "guide.dxs"), "notes of my own\n");
    fs::remove(dir.path() / "guide.dxs");
    test::writeFile(dir.path() / "elsewhere.txt", std::string(kProjectSettingsFirstLine) + "\n");
    fs::create_symlink(dir.path() / "elsewhere.txt", dir.path() / "guide.dxs");
    writeProjectFile(project, file, progress);
    EXPECT_TRUE(fs::exists(dir.path() / "elsewhere.txt"));
}

TEST(ProjectSettings, BadLinesAreNamedAndTheRestIsRead)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> names;  // the help ids read, in order
        int language;
        std::vector<std::string> problems;  // a part of each problem, in order
    };
    const Case cases[] = {
        {"a name or number given twice keeps its first line",
         "[Help ids]\nIDH_A=1,a.htm\nIDH_A=2,b.htm\nIDH_B=1,c.htm\nIDH_C=3\n",
         {"IDH_A", "IDH_C"},
         0,
         {"line 3: IDH_A is given on line 2 already",
          "line 4: the number 1 of IDH_B belongs to the help id on line 2"}},
        {"names, numbers and lines that are no help id",
         "[Help ids]\n1DH=5\nIDH-X=6\nIDH_A=0\nIDH_B=x12\nIDH_C=2147483648\nno equals sign\nIDH_OK=0x3E9 , a.htm\n",
         {"IDH_OK"},
         0,
         {"line 2: \"1DH\" is no help id name", "line 3", "line 4: the number \"0\"", "line 5", "line 6",
          "line 7: \"no equals sign\" is not a NAME=VALUE line"}},
        {"lines before any section and in unknown sections",
         "IDH_A=1\n[Colours]\nred=1\nblue=2\n[Help ids]\nIDH_B=2\n",
         {"IDH_B"},
         0,
         {"line 1", "line 2: the section \"[Colours]\" is unknown"}},
        {"a language no help file is written in, and a second language",
         "[Help file]\nLanguage=0x407\nLanguage=0x419\nLanguage=0x0404\nColour=red\n",
         {},
         0x419,
         {"line 2: the language \"0x407\"", "line 4: the language is given twice", "line 5: the setting \"Colour\""}},
        {"control characters, CR LF lines, a byte order mark and comments",
         "\xEF\xBB\xBF# ours\r\n[help IDS]\r\n; comment\r\nIDH_A=1,a\x01.htm\r\n  IDH_B = 2,b.htm\r\n",
         {"IDH_B"},
         0,
         {"line 4: the line holds control characters"}},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        StoredPathResolver resolver(dir.path().string() + "/");
        const ProjectSettings read = readProjectSettingsText(c.text, "/p/guide.dxs", resolver);
        std::vector<std::string> names;
        for (const HelpId& id : read.helpIds)
            names.push_back(id.name);
        EXPECT_EQ(names, c.names) << c.what;
        EXPECT_EQ(read.helpLanguageId, c.language) << c.what;
        ASSERT_EQ(read.problems.size(), c.problems.size()) << c.what << ": " << ::testing::PrintToString(read.problems);
        for (std::size_t i = 0; i < c.problems.size(); ++i) {
            EXPECT_TRUE(read.problems[i].starts_with("/p/guide.dxs, line ")) << read.problems[i];
            EXPECT_NE(read.problems[i].find(c.problems[i]), std::string::npos) << c.what << ": " << read.problems[i];
        }
    }
}

TEST(ProjectSettings, ADamagedOrUnreadableFileNeverStopsTheProjectFromOpening)
{
    test::TempDir dir;
    Project project = projectWithHelpIds(dir);
    const std::string file = dir.file("guide.dxp");
    NullProgress progress;
    project.helpIds.clear();
    project.helpLanguageId = 0;
    writeProjectFile(project, file, progress);

    // Windows-1252 from an editor on Windows; thousands of bad lines are
    // counted rather than each named.
    std::string text = "[Help ids]\nIDH_A=1,pages/\xE4.htm\n";
    for (int i = 0; i < 5000; ++i)
        text += "bad line\n";
    test::writeFile(dir.path() / "guide.dxs", text);
    Project read;
    std::vector<std::string> problems;
    readProjectFile(read, file, kNativePathStyle, nullptr, &problems);
    ASSERT_EQ(read.helpIds.size(), 1u);
    EXPECT_EQ(read.helpIds[0].topicFile, dir.file("pages/ä.htm"));
    ASSERT_EQ(problems.size(), 51u);
    EXPECT_NE(problems.back().find("4950 more lines"), std::string::npos) << problems.back();

    // A folder where the file should be cannot be read: the project opens
    // without help ids, and says why.
    fs::remove(dir.path() / "guide.dxs");
    fs::create_directory(dir.path() / "guide.dxs");
    problems.clear();
    read = Project();
    readProjectFile(read, file, kNativePathStyle, nullptr, &problems);
    EXPECT_EQ(read.title(), "Guide");
    EXPECT_TRUE(read.helpIds.empty());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("guide.dxs"), std::string::npos) << problems[0];
    // Nor does a save remove or replace a folder.
    project.helpIds = {{"IDH_A", 1, ""}};
    project.modified = true;
    EXPECT_THROW(writeProjectFile(project, file, progress), IoError);
    EXPECT_TRUE(project.modified);
    EXPECT_TRUE(fs::is_directory(dir.path() / "guide.dxs"));
}

TEST(ProjectSettings, TheSettingsFileIsNamedAfterTheProjectFile)
{
    EXPECT_EQ(projectSettingsFileName("/h/guide.dxp"), "/h/guide.dxs");
    EXPECT_EQ(projectSettingsFileName("/h/GUIDE.DXP"), "/h/GUIDE.dxs");
    EXPECT_EQ(projectSettingsFileName("/h/guide"), "/h/guide.dxs");
}

}  // namespace
}  // namespace doxel

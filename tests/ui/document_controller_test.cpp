#include "ui/logic/document_controller.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/errors.h"
#include "core/project_file.h"
#include "scripted_desktop.h"
#include "test_support.h"
#include "ui/logic/string_table.h"

namespace doxel {
namespace {

using test::ScriptedDesktop;
using test::TempDir;

class RecordingView final : public DocumentView {
public:
    void beginProjectChange() override { ++changesBegun; }
    void endProjectChange() override { ++changesEnded; }
    void commitEdits() override { ++commits; }
    void setWindowCaption(const std::string& text) override { caption = text; }
    void recentProjectsChanged() override { ++recentRebuilds; }
    ProgressReporter& progress() override { return m_progress; }

    int changesBegun = 0;
    int changesEnded = 0;
    int commits = 0;
    int recentRebuilds = 0;
    std::string caption = "HTML Doxel";

private:
    NullProgress m_progress;
};

class DocumentControllerTest : public ::testing::Test {
protected:
    DocumentControllerTest() : runner(desktop), controller(project, {settings, desktop, runner, {}, {}}, view)
    {
        controller.resetProject();
    }

    // A small saved project in the temporary folder, with one topic file.
    std::string savedProject(const std::string& name, bool topicOnDisk = true)
    {
        Project other("Saved " + name);
        const std::string topic = folder.file("topic.htm");
        if (topicOnDisk)
            test::writeFile(topic, "<html></html>");
        other.titleEntry().appendChild(std::make_unique<ContentsEntry>("Topic", 8, topic));
        other.rebuildFileList();
        const std::string file = folder.file(name);
        NullProgress progress;
        writeProjectFile(other, file, progress);
        return file;
    }

    void makeModified()
    {
        project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Changed", 1));
        project.modified = true;
    }

    TempDir folder;
    Project project;
    MemorySettingsStore settings;
    ScriptedDesktop desktop;
    RecordingView view;
    CommandRunner runner;
    DocumentController controller;
};

TEST_F(DocumentControllerTest, NewProjectStateHasTheLocalizedTitle)
{
    settings.write("Language", "1000");
    controller.resetProject();
    EXPECT_EQ(project.title(), "Neues Projekt (Titel hierher)");
    EXPECT_EQ(project.entryCount(), 1u);
    EXPECT_FALSE(project.modified);
    EXPECT_EQ(view.changesBegun, view.changesEnded);
}

TEST_F(DocumentControllerTest, SaveAsWritesAddsTheExtensionAndNamesTheWindow)
{
    settings.write("LastDir", folder.file("earlier.dxp"));
    desktop.answerFile(folder.file("book"));
    makeModified();
    ASSERT_TRUE(controller.save());

    const std::string file = folder.file("book.dxp");
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(project.projectFile, file);
    EXPECT_FALSE(project.modified);
    EXPECT_EQ(view.caption, "HTML Doxel [book.dxp]");
    EXPECT_EQ(settings.read("LastDir"), file);
    EXPECT_EQ(settings.read("RUF"), file + "\a");
    EXPECT_EQ(view.recentRebuilds, 1);

    ASSERT_EQ(desktop.fileDialogs.size(), 1u);
    const FileDialogRequest& dialog = desktop.fileDialogs[0];
    EXPECT_EQ(dialog.title, "Save project...");
    EXPECT_EQ(dialog.initialFolder, folder.path().string() + "/");
    EXPECT_EQ(dialog.fileName, "");
    EXPECT_EQ(dialog.defaultExtension, "dxp");
    ASSERT_EQ(dialog.filters.size(), 1u);
    EXPECT_EQ(dialog.filters[0].patterns, "*.dxp");
    EXPECT_TRUE(desktop.finished());
}

// The compiler's file names replace the last four characters, so a name
// with a dot of its own still gets ".dxp".
TEST_F(DocumentControllerTest, SaveAsGivesEveryNameTheProjectExtension)
{
    const std::pair<const char*, const char*> names[] = {
        {"v1.2 manual", "v1.2 manual.dxp"}, {"Guide.DXP", "Guide.DXP"}, {"notes.txt", "notes.txt.dxp"}};
    for (const auto& [chosen, saved] : names) {
        project.projectFile.clear();
        desktop.answerFile(folder.file(chosen));
        ASSERT_TRUE(controller.saveAs());
        EXPECT_EQ(project.projectFile, folder.file(saved));
        EXPECT_TRUE(std::filesystem::exists(folder.file(saved)));
    }
}

// The chooser asked about "v1.2 manual", not about the file written.
TEST_F(DocumentControllerTest, SaveAsAsksBeforeReplacingTheFileItNamesOnlyWithTheExtension)
{
    struct Case {
        const char* name;
        std::vector<MessageAnswer> answers;  // to the replace question, in turn
        bool secondChoice;                   // the chooser, shown again, gives "other"
        const char* written;                 // nothing when cancelled
    };
    const Case cases[] = {
        {"replaced", {MessageAnswer::Yes}, false, "v1.2 manual.dxp"},
        {"no, then cancelled", {MessageAnswer::No}, false, nullptr},
        {"no, then another name", {MessageAnswer::No}, true, "other.dxp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string existing = folder.file("v1.2 manual.dxp");
        test::writeFile(existing, "old");
        std::filesystem::remove(folder.file("other.dxp"));
        project.projectFile.clear();
        desktop.fileDialogs.clear();
        desktop.messages.clear();
        desktop.answerFile(folder.file("v1.2 manual"));
        for (MessageAnswer answer : c.answers)
            desktop.answerMessage(answer);
        if (c.answers.back() == MessageAnswer::No)
            desktop.answerFile(c.secondChoice ? std::optional(folder.file("other")) : std::nullopt);

        EXPECT_EQ(controller.saveAs(), c.written != nullptr);
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].text, "\"v1.2 manual.dxp\" already exists.\n\rDo you want to replace it?");
        EXPECT_EQ(desktop.messages[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(desktop.messages[0].defaultAnswer, MessageAnswer::No);
        const bool replaced = c.written != nullptr && std::string(c.written) == "v1.2 manual.dxp";
        EXPECT_EQ(test::readFile(existing) != "old", replaced);
        EXPECT_EQ(project.projectFile, c.written ? folder.file(c.written) : std::string());
        if (desktop.fileDialogs.size() == 2) {
            // Shown again where it was, with the name typed.
            EXPECT_EQ(desktop.fileDialogs[1].fileName, "v1.2 manual");
            EXPECT_EQ(desktop.fileDialogs[1].initialFolder, folder.path().string() + "/");
        }
        EXPECT_TRUE(desktop.finished());
    }
}

TEST_F(DocumentControllerTest, SaveOfANamedProjectWritesWithoutAsking)
{
    desktop.answerFile(folder.file("book.dxp"));
    ASSERT_TRUE(controller.saveAs());
    makeModified();
    ASSERT_TRUE(controller.save());
    EXPECT_FALSE(project.modified);
    EXPECT_EQ(desktop.fileDialogs.size(), 1u);
    Project reread;
    readProjectFile(reread, folder.file("book.dxp"));
    EXPECT_EQ(reread.entryCount(), 2u);
}

TEST_F(DocumentControllerTest, SaveAsToAnotherFolderStoresThePathsForIt)
{
    const std::string topic = folder.file("pages/a.htm");
    std::filesystem::create_directories(folder.file("pages"));
    std::filesystem::create_directories(folder.file("copy/deeper"));
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("A", 8, topic));
    project.keywords.push_back({"alpha", topic});
    project.rebuildFileList();
    desktop.answerFile(folder.file("book.dxp"));
    ASSERT_TRUE(controller.saveAs());
    project.windowSettings.defaultTopic = "pages\\a.htm";
    project.windowSettings.homePage = "https://example.org/";

    desktop.answerFile(folder.file("copy/deeper/book"));
    desktop.answerMessage(MessageAnswer::Yes);  // the page is left outside
    ASSERT_TRUE(controller.saveAs());
    EXPECT_EQ(project.projectFile, folder.file("copy/deeper/book.dxp"));
    EXPECT_EQ(project.windowSettings.defaultTopic, "..\\..\\pages\\a.htm");
    EXPECT_EQ(project.windowSettings.homePage, "https://example.org/");
    Project reread;
    readProjectFile(reread, project.projectFile);
    EXPECT_EQ(reread.titleEntry().child(0)->topicFile, topic);
    EXPECT_EQ(reread.keywords.at(0).topicFile, topic);
    EXPECT_EQ(reread.windowSettings.defaultTopic, "..\\..\\pages\\a.htm");
}

TEST_F(DocumentControllerTest, SaveAsAsksBeforeLeavingPagesOutsideTheNewFolder)
{
    std::filesystem::create_directories(folder.file("copies"));
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("A", 8, folder.file("pages/a.htm")));
    project.rebuildFileList();
    desktop.answerFile(folder.file("book.dxp"));
    ASSERT_TRUE(controller.saveAs());
    EXPECT_TRUE(desktop.messages.empty());

    // No chooses again; a folder that holds the pages asks nothing.
    desktop.answerFile(folder.file("copies/book2.dxp"));
    desktop.answerMessage(MessageAnswer::No);
    desktop.answerFile(folder.file("book3.dxp"));
    ASSERT_TRUE(controller.saveAs());
    EXPECT_EQ(project.projectFile, folder.file("book3.dxp"));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].text.find(folder.file("pages/a.htm")), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.file("copies/book2.dxp")));
    EXPECT_TRUE(desktop.finished());
}

TEST_F(DocumentControllerTest, SaveAsTakesTheHelpIdsAlongAndOpenNamesTheLinesItCouldNotRead)
{
    const std::string topic = folder.file("pages/a.htm");
    std::filesystem::create_directories(folder.file("pages"));
    std::filesystem::create_directories(folder.file("copy"));
    test::writeFile(topic, "<p>a</p>");
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("A", 8, topic));
    project.rebuildFileList();
    project.helpIds = {{"IDH_A", 1001, topic + "#x"}};
    project.helpLanguageId = 0x419;
    desktop.answerFile(folder.file("copy/book.dxp"));
    desktop.answerMessage(MessageAnswer::Yes);  // the page lies outside copy/
    ASSERT_TRUE(controller.saveAs());
    EXPECT_EQ(
        test::readFile(folder.file("copy/book.dxs")).substr(test::readFile(folder.file("copy/book.dxs")).find('[')),
        "[Help file]\nLanguage=0x0419\n\n[Help ids]\nIDH_A=1001,../pages/a.htm#x\n");

    test::writeFile(folder.file("copy/book.dxs"), "[Help ids]\nIDH_A=1001,../pages/a.htm\nIDH_B=1001\n");
    project.modified = false;
    ASSERT_TRUE(controller.openProjectFile(folder.file("copy/book.dxp"), false));
    EXPECT_EQ(project.helpIds, (std::vector<HelpId>{{"IDH_A", 1001, topic}}));
    EXPECT_EQ(project.helpLanguageId, 0);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_NE(desktop.messages[1].text.find("book.dxs, line 3: the number 1001 of IDH_B"), std::string::npos)
        << desktop.messages[1].text;
    EXPECT_EQ(desktop.messages[1].icon, MessageIcon::Warning);
}

TEST_F(DocumentControllerTest, UndoAndRedoFollowTheSavedState)
{
    desktop.answerFile(folder.file("book.dxp"));
    {
        EditStep step(&controller.history(), 1, EditParts::Contents);
        makeModified();
    }
    ASSERT_TRUE(controller.save());
    {
        EditStep step(&controller.history(), 2, EditParts::Contents);
        project.titleEntry().caption = "Renamed";
    }
    EXPECT_TRUE(project.modified);
    const int changes = view.changesEnded;
    controller.undo();
    EXPECT_FALSE(project.modified);
    EXPECT_EQ(view.changesEnded, changes + 1);
    controller.undo();
    EXPECT_TRUE(project.modified);
    EXPECT_EQ(project.entryCount(), 1u);
    controller.redo();
    controller.redo();
    EXPECT_EQ(project.title(), "Renamed");

    controller.resetProject();
    EXPECT_FALSE(controller.history().canUndo());
    controller.undo();  // nothing to undo: the views are left alone
    EXPECT_EQ(view.changesBegun, view.changesEnded);
}

TEST_F(DocumentControllerTest, CancelledSaveAsChangesNothing)
{
    desktop.answerFile(std::nullopt);
    makeModified();
    EXPECT_FALSE(controller.save());
    EXPECT_TRUE(project.modified);
    EXPECT_TRUE(project.projectFile.empty());
    EXPECT_EQ(settings.read("RUF"), "");
    EXPECT_EQ(view.caption, "HTML Doxel");
}

TEST_F(DocumentControllerTest, FailedSaveAsKeepsTheProjectUntitledAndModified)
{
    desktop.answerFile(folder.file("missing/folder/book.dxp"));
    makeModified();
    EXPECT_THROW(controller.save(), IoError);
    EXPECT_TRUE(project.modified);
    EXPECT_TRUE(project.projectFile.empty());
    EXPECT_EQ(settings.read("LastDir"), "");
}

TEST_F(DocumentControllerTest, CloseQueryAnswers)
{
    struct Case {
        const char* name;
        bool modified;
        std::vector<MessageAnswer> answers;
        std::optional<std::string> saveAs;  // the save dialog's answer, when asked
        bool mayClose;
        bool savedFile;
    };
    const Case cases[] = {
        {"unmodified closes without a question", false, {}, {}, true, false},
        {"Cancel keeps the window", true, {MessageAnswer::Cancel}, {}, false, false},
        {"No closes without saving", true, {MessageAnswer::No}, {}, true, false},
        {"Yes saves and closes", true, {MessageAnswer::Yes}, "closing.dxp", true, true},
        {"Yes with a cancelled save dialog keeps the window", true, {MessageAnswer::Yes}, std::nullopt, false, false},
        // The failed write is shown in the error box, and the window stays.
        {"Yes with a failed save keeps the window",
         true,
         {MessageAnswer::Yes, MessageAnswer::Ok},
         "no/such/x.dxp",
         false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDesktop script;
        CommandRunner scriptRunner(script);
        Project local;
        DocumentController documents(local, {settings, script, scriptRunner, {}, {}}, view);
        documents.resetProject();
        local.modified = c.modified;
        for (const MessageAnswer answer : c.answers)
            script.answerMessage(answer);
        const bool asksForFile = c.answers.size() > 0 && c.answers[0] == MessageAnswer::Yes;
        if (asksForFile)
            script.answerFile(c.saveAs ? std::optional(folder.file(*c.saveAs)) : std::nullopt);
        EXPECT_EQ(documents.closeQuery(), c.mayClose);
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(!local.projectFile.empty(), c.savedFile);
        if (c.modified) {
            ASSERT_FALSE(script.messages.empty());
            EXPECT_EQ(script.messages[0].text, "Save changes?");
            EXPECT_EQ(script.messages[0].caption, "Save project");
            EXPECT_EQ(script.messages[0].buttons, MessageButtons::YesNoCancel);
            EXPECT_EQ(script.messages[0].icon, MessageIcon::Question);
        }
        if (c.answers.size() > 1) {
            EXPECT_EQ(script.messages[1].icon, MessageIcon::Stop);
        }
    }
}

TEST_F(DocumentControllerTest, OpenReadsTheProjectAndRemembersIt)
{
    const std::string file = savedProject("guide.dxp");
    desktop.answerFile(file);
    ASSERT_TRUE(controller.openProject());
    EXPECT_EQ(project.title(), "Saved guide.dxp");
    EXPECT_EQ(project.projectFile, file);
    EXPECT_EQ(view.caption, "HTML Doxel [guide.dxp]");
    EXPECT_EQ(settings.read("RUF"), file + "\a");
    EXPECT_EQ(settings.read("LastDir"), file);
    EXPECT_EQ(view.changesBegun, 2);
    EXPECT_EQ(view.changesEnded, 2);
    EXPECT_EQ(desktop.fileDialogs.at(0).title, "Open project...");
    EXPECT_TRUE(desktop.finished());
}

TEST_F(DocumentControllerTest, TheFirstOpenStartsAtTheSampleProjects)
{
    ScriptedDesktop script;
    CommandRunner scriptRunner(script);
    DocumentController documents(project, {settings, script, scriptRunner, {}, "/usr/share/doc/html-doxel/examples/"},
                                 view);
    script.answerFile(std::nullopt);
    script.answerFile(std::nullopt);
    EXPECT_FALSE(documents.openProject());
    EXPECT_FALSE(documents.saveAs());  // never into the installation
    settings.write("LastDir", folder.file("book.dxp"));
    script.answerFile(std::nullopt);
    EXPECT_FALSE(documents.openProject());
    ASSERT_EQ(script.fileDialogs.size(), 3u);
    EXPECT_EQ(script.fileDialogs[0].initialFolder, "/usr/share/doc/html-doxel/examples/");
    EXPECT_EQ(script.fileDialogs[1].initialFolder, "");
    EXPECT_EQ(script.fileDialogs[2].initialFolder, folder.path().string() + "/");
}

TEST_F(DocumentControllerTest, OpenAsksAboutUnsavedChangesFirst)
{
    const std::string file = savedProject("guide.dxp");
    makeModified();
    desktop.answerMessage(MessageAnswer::Cancel);
    EXPECT_FALSE(controller.openProjectFile(file));
    EXPECT_EQ(project.entryCount(), 2u);

    desktop.answerMessage(MessageAnswer::No);
    EXPECT_TRUE(controller.openProjectFile(file));
    EXPECT_EQ(project.title(), "Saved guide.dxp");
    EXPECT_TRUE(desktop.finished());
}

TEST_F(DocumentControllerTest, OpenThatFailsLeavesTheProjectAsItWas)
{
    test::writeFile(folder.file("broken.dxp"), "not a project\r\n");
    makeModified();
    desktop.answerMessage(MessageAnswer::No);
    EXPECT_THROW(controller.openProjectFile(folder.file("broken.dxp")), FormatError);
    EXPECT_EQ(project.entryCount(), 2u);
    EXPECT_TRUE(project.modified);
    EXPECT_EQ(settings.read("RUF"), "");
    EXPECT_THROW(controller.openProjectFile(folder.file("absent.dxp"), false), IoError);
}

TEST_F(DocumentControllerTest, OpenNamesTheMissingTopicFiles)
{
    struct Case {
        int missing;
        int listed;
        const char* rest;
    };
    const Case cases[] = {{1, 1, nullptr}, {10, 10, nullptr}, {13, 10, "(and 3 more)"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        Project other("Gaps");
        test::writeFile(folder.file("here.htm"), "<html></html>");
        other.titleEntry().appendChild(std::make_unique<ContentsEntry>("Here", 8, folder.file("here.htm")));
        for (int n = 0; n < c.missing; ++n) {
            const std::string name = "gone" + std::string(n < 10 ? "0" : "") + std::to_string(n) + ".htm";
            other.titleEntry().appendChild(std::make_unique<ContentsEntry>(name, 8, folder.file(name)));
        }
        other.rebuildFileList();
        NullProgress progress;
        writeProjectFile(other, folder.file("gaps.dxp"), progress);
        desktop.messages.clear();
        desktop.answerMessage(MessageAnswer::Ok);
        ASSERT_TRUE(controller.openProjectFile(folder.file("gaps.dxp"), false));

        ASSERT_EQ(desktop.messages.size(), 1u);
        const std::string& text = desktop.messages[0].text;
        const std::string intro = loadText(settings, 229) + "\n\n";
        ASSERT_EQ(text.substr(0, intro.size()), intro);
        std::string expected;
        for (int n = 0; n < c.listed; ++n)
            expected += (n == 0 ? "" : "\n") +
                        folder.file("gone" + std::string(n < 10 ? "0" : "") + std::to_string(n) + ".htm");
        if (c.rest != nullptr)
            expected += "\n" + std::string(c.rest);
        EXPECT_EQ(text.substr(intro.size()), expected);
        EXPECT_EQ(text.find("here.htm"), std::string::npos);
        EXPECT_TRUE(desktop.finished());
    }
}

TEST_F(DocumentControllerTest, OpenReportsMissingTopicFilesOnce)
{
    Project other("Two missing");
    other.titleEntry().appendChild(std::make_unique<ContentsEntry>("A", 8, folder.file("a.htm")));
    other.titleEntry().appendChild(std::make_unique<ContentsEntry>("B", 8, folder.file("b.htm")));
    other.rebuildFileList();
    NullProgress progress;
    writeProjectFile(other, folder.file("gaps.dxp"), progress);

    desktop.answerMessage(MessageAnswer::Ok);
    ASSERT_TRUE(controller.openProjectFile(folder.file("gaps.dxp"), false));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text.substr(0, 30), "One or more files belonging to");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(desktop.finished());
}

TEST_F(DocumentControllerTest, NewRemembersTheOldProjectAndAsksAboutChanges)
{
    const std::string file = savedProject("guide.dxp");
    ASSERT_TRUE(controller.openProjectFile(file, false));
    settings.write("RUF", "");
    makeModified();

    desktop.answerMessage(MessageAnswer::Cancel);
    EXPECT_FALSE(controller.newProject());
    EXPECT_EQ(project.projectFile, file);

    desktop.answerMessage(MessageAnswer::No);
    EXPECT_TRUE(controller.newProject());
    EXPECT_TRUE(project.projectFile.empty());
    EXPECT_EQ(project.entryCount(), 1u);
    EXPECT_TRUE(project.keywords.empty());
    EXPECT_TRUE(project.fileList.empty());
    EXPECT_EQ(settings.read("RUF"), file + "\a");
    EXPECT_EQ(view.caption, "HTML Doxel");
    EXPECT_TRUE(desktop.finished());
}

TEST_F(DocumentControllerTest, RecentMenuListsOnlyExistingProjects)
{
    const std::string file = savedProject("guide.dxp");
    settings.write("RUF", "/nowhere/old.dxp\a" + file + "\a");
    const auto items = controller.recentMenuItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].caption, "&1 guide.dxp");
    EXPECT_EQ(items[0].path, file);
}

}  // namespace
}  // namespace doxel

namespace doxel {
namespace {

// Two windows on one project: the save of one must not silently undo the
// other's.
TEST_F(DocumentControllerTest, SaveAsksWhenAnotherWindowSavedTheFileMeanwhile)
{
    struct Case {
        MessageAnswer answer;
        bool saved;
        const char* fileTitle;     // the title on disk afterwards
        const char* projectTitle;  // the title in this window afterwards
    };
    const Case cases[] = {
        {MessageAnswer::Yes, true, "Mine", "Mine"},
        {MessageAnswer::No, false, "Theirs", "Theirs"},
        {MessageAnswer::Cancel, false, "Theirs", "Mine"},
    };
    for (const Case& c : cases) {
        const std::string file = savedProject("two.dxp");
        ASSERT_TRUE(controller.openProjectFile(file, false));
        {
            EditStep step(&controller.history(), 1, EditParts::Contents);
            project.titleEntry().caption = "Mine";
            project.modified = true;
        }
        ASSERT_TRUE(controller.history().canUndo());

        Project other;
        readProjectFile(other, file);
        other.titleEntry().caption = "Theirs";
        NullProgress progress;
        writeProjectFile(other, file, progress);

        desktop.answerMessage(c.answer);
        EXPECT_EQ(controller.save(), c.saved);
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_NE(desktop.messages[0].text.find("changed on disk"), std::string::npos);
        Project onDisk;
        readProjectFile(onDisk, file);
        EXPECT_EQ(onDisk.title(), c.fileTitle);
        EXPECT_EQ(project.title(), c.projectTitle);
        // A reload drops the steps made on the project it replaced; a kept
        // or saved project keeps them.
        EXPECT_EQ(controller.history().canUndo(), c.answer != MessageAnswer::No);
        EXPECT_TRUE(desktop.finished());
        desktop.messages.clear();

        // Once saved or reloaded, the next save is ours again.
        if (c.answer != MessageAnswer::Cancel) {
            EXPECT_TRUE(controller.save());
            EXPECT_TRUE(desktop.messages.empty());
        }
    }
}

TEST_F(DocumentControllerTest, FocusOffersToReloadAChangedFileOnce)
{
    const std::string file = savedProject("focus.dxp");
    ASSERT_TRUE(controller.openProjectFile(file, false));
    EXPECT_FALSE(controller.reloadIfChangedOnDisk());
    EXPECT_TRUE(desktop.messages.empty());

    Project other;
    readProjectFile(other, file);
    other.titleEntry().caption = "Theirs";
    NullProgress progress;
    writeProjectFile(other, file, progress);

    desktop.answerMessage(MessageAnswer::No);
    EXPECT_FALSE(controller.reloadIfChangedOnDisk());
    EXPECT_FALSE(controller.reloadIfChangedOnDisk());  // not asked again for the same change
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(project.title(), "Theirs");

    other.titleEntry().caption = "Theirs again";
    writeProjectFile(other, file, progress);
    desktop.answerMessage(MessageAnswer::Yes);
    EXPECT_TRUE(controller.reloadIfChangedOnDisk());
    EXPECT_EQ(project.title(), "Theirs again");
    EXPECT_TRUE(controller.save());
    EXPECT_TRUE(desktop.finished());
}

}  // namespace
}  // namespace doxel

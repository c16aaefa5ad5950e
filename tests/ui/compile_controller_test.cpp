#include "ui/logic/compile_controller.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "core/errors.h"
#include "scripted_desktop.h"
#include "test_support.h"

namespace doxel {
namespace {

using test::ScriptedDesktop;
using test::TempDir;

class RecordingDocumentView final : public DocumentView {
public:
    void beginProjectChange() override {}
    void endProjectChange() override {}
    void commitEdits() override { ++commits; }
    void setWindowCaption(const std::string&) override {}
    void recentProjectsChanged() override {}
    ProgressReporter& progress() override { return m_progress; }

    int commits = 0;

private:
    NullProgress m_progress;
};

class RecordingCompileView final : public CompileView {
public:
    void showResults(const CompileFiles& files) override { results.push_back(files); }
    void openHelpViewer(const std::string& compiledFile) override { viewed.push_back(compiledFile); }
    void openLogFile(const std::string& logFile) override { logs.push_back(logFile); }

    std::vector<CompileFiles> results;
    std::vector<std::string> viewed;
    std::vector<std::string> logs;
};

// Refuses every read once `refusing` is set, as a settings file that went
// unreadable does.
class RefusingSettings final : public SettingsStore {
public:
    std::string read(const std::string& name) override
    {
        if (refusing)
            throw SettingsError("settings unreadable");
        return m_store.read(name);
    }
    void write(const std::string& name, const std::string& value) override { m_store.write(name, value); }

    bool refusing = false;

private:
    MemorySettingsStore m_store;
};

class CompileControllerTest : public ::testing::Test {
protected:
    CompileControllerTest()
        : runner(desktop),
          documents(project, {settings, desktop, runner, {}, {}}, documentView),
          controller(project,
                     {settings, desktop, documents, progress,
                      [this](const std::string& path) { return existing.contains(path); }},
                     view)
    {
        documents.resetProject();
        settings.write("LogFile", folder.file("log.txt"));
    }

    void addTopic() { project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Topic", 11)); }

    TempDir folder;
    Project project;
    RefusingSettings settings;
    ScriptedDesktop desktop;
    NullProgress progress;
    RecordingDocumentView documentView;
    RecordingCompileView view;
    CommandRunner runner;
    DocumentController documents;
    std::set<std::string> existing;
    CompileController controller;
};

TEST_F(CompileControllerTest, CompilesOnlyWithAnEntryBesidesTheTitleEntry)
{
    struct Case {
        const char* name;
        int titleChildren;
        int moreTopLevel;
        bool compiles;
    };
    const Case cases[] = {
        {"only the title entry", 0, 0, false},
        {"a child of the title entry", 1, 0, true},
        {"a second entry of level 0", 0, 1, true},
        {"both", 2, 3, true},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        documents.resetProject();
        for (int n = 0; n < each.titleChildren; ++n)
            addTopic();
        for (int n = 0; n < each.moreTopLevel; ++n)
            project.root().appendChild(std::make_unique<ContentsEntry>("Top", 8));
        EXPECT_EQ(controller.canCompile(), each.compiles);
        // The same answer as the rule that counts every entry.
        EXPECT_EQ(controller.canCompile(), doxel::canCompile(project));
    }
}

TEST_F(CompileControllerTest, CompileOfAnUntitledProjectGoesThroughSaveAsFirst)
{
    struct Case {
        const char* name;
        bool withTopic;
        std::optional<std::string> saveAs;  // nothing: the chooser is cancelled
        int choosers;
        bool shown;
    };
    const std::string chosen = folder.file("book.dxp");
    const Case cases[] = {
        {"nothing to compile", false, std::nullopt, 0, false},
        {"save as cancelled", true, std::nullopt, 1, false},
        {"saved", true, chosen, 1, true},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        documents.resetProject();
        view.results.clear();
        desktop.fileDialogs.clear();
        documentView.commits = 0;
        if (each.withTopic)
            addTopic();
        if (each.choosers > 0)
            desktop.answerFile(each.saveAs);

        controller.compile();
        // A caption being edited is taken in before anything is decided.
        EXPECT_GE(documentView.commits, 1);
        EXPECT_EQ(int(desktop.fileDialogs.size()), each.choosers);
        ASSERT_EQ(view.results.size(), each.shown ? 1u : 0u);
        if (each.shown) {
            EXPECT_EQ(view.results[0].helpProjectFile, folder.file("book.hhp"));
            EXPECT_EQ(view.results[0].compiledFile, folder.file("book.chm"));
            // The compiler's input files are written before the window shows.
            EXPECT_TRUE(std::filesystem::exists(folder.file("book.hhp")));
            EXPECT_TRUE(std::filesystem::exists(folder.file("book.hhc")));
            EXPECT_TRUE(std::filesystem::exists(folder.file("book.hhk")));
        } else {
            EXPECT_FALSE(std::filesystem::exists(folder.file("book.hhp")));
        }
        EXPECT_TRUE(desktop.finished());
    }
}

TEST_F(CompileControllerTest, CommandsAreEnabledByWhatExists)
{
    addTopic();
    EXPECT_EQ(controller.commandStates(), (CompileCommandStates{true, false, false}));

    project.compiledFile = folder.file("book.chm");
    EXPECT_EQ(controller.commandStates(), (CompileCommandStates{true, false, false}));
    existing.insert(project.compiledFile);
    existing.insert(folder.file("log.txt"));
    EXPECT_EQ(controller.commandStates(), (CompileCommandStates{true, true, true}));

    // Unreadable settings disable only View Log File, and open no box.
    settings.refusing = true;
    EXPECT_EQ(controller.commandStates(), (CompileCommandStates{true, true, false}));
    EXPECT_TRUE(desktop.finished());
}

TEST_F(CompileControllerTest, ViewCommandsActOnlyOnFilesThatExist)
{
    controller.viewHelpFile();  // no compiled file named yet
    project.compiledFile = folder.file("book.chm");
    controller.viewHelpFile();
    EXPECT_EQ(desktop.beeps, 2);
    existing.insert(project.compiledFile);
    controller.viewHelpFile();
    EXPECT_EQ(view.viewed, std::vector<std::string>{folder.file("book.chm")});

    controller.viewLogFile();
    EXPECT_EQ(controller.currentLogFile(), folder.file("log.txt"));
    EXPECT_TRUE(view.logs.empty());
    existing.insert(folder.file("other.txt"));
    settings.write("LogFile", folder.file("other.txt"));
    controller.viewLogFile();
    EXPECT_EQ(view.logs, std::vector<std::string>{folder.file("other.txt")});
    settings.write("LogFile", "");
    controller.viewLogFile();
    EXPECT_EQ(view.logs.size(), 1u);
    EXPECT_EQ(desktop.beeps, 2);
}

}  // namespace
}  // namespace doxel

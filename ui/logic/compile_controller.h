#pragma once

#include <functional>
#include <string>

#include "core/desktop.h"
#include "core/progress.h"
#include "core/project.h"
#include "core/settings.h"
#include "output/compile_run.h"
#include "ui/logic/document_controller.h"

namespace doxel {

// What the compile commands need from the windows.
class CompileView {
public:
    virtual ~CompileView() = default;
    // Shows the results window, which compiles `files` and may call
    // CompileController::viewLogFile.
    virtual void showResults(const CompileFiles& files) = 0;
    // The program's help viewer on an existing compiled file.
    virtual void openHelpViewer(const std::string& compiledFile) = 0;
    // The desktop's text editor on an existing log file.
    virtual void openLogFile(const std::string& logFile) = 0;
};

struct CompileEnvironment {
    SettingsStore& settings;
    Desktop& desktop;
    DocumentController& documents;
    ProgressReporter& progress;
    // Whether a regular file exists; the file system unless a test says
    // otherwise.
    std::function<bool(const std::string&)> fileExists;
};

// Which of the Commands menu's three commands are enabled.
struct CompileCommandStates {
    bool compile = false;
    bool viewHelpFile = false;
    bool viewLogFile = false;
    bool operator==(const CompileCommandStates&) const = default;
};

// The compile commands of the main window on the one open project:
// Compile project, View Help file and View Log File, with their enabling.
// Errors of the file and settings layers leave these functions as
// exceptions, for the window's command runner to show.
class CompileController {
public:
    CompileController(Project& project, CompileEnvironment environment, CompileView& view);

    // Compile while the contents hold an entry besides the title entry;
    // answers without walking the tree, as the window asks after every
    // change of the contents.
    bool canCompile() const;
    // Compile by canCompile, View Help file while the compiled file exists,
    // View Log File while the LogFile setting names an existing file (a
    // setting that cannot be read disables it).
    CompileCommandStates commandStates() const;

    // Compile project: takes a caption still being edited into the project;
    // with nothing to compile does nothing; an untitled project goes
    // through Save as first and, when that is cancelled, is not compiled.
    // Then writes the index, help project and contents files and shows the
    // results window, which compiles.
    void compile();
    // View Help file: the compiled file in the help viewer; a beep when it
    // does not exist.
    void viewHelpFile();
    // View Log File: the file the LogFile setting names, in the text
    // editor when it exists. Also what the results window runs after a
    // compile when the ViewLog setting is on.
    void viewLogFile();

    // The log file the last View Log File was asked for.
    const std::string& currentLogFile() const { return m_logFile; }

private:
    Project& m_project;
    CompileEnvironment m_environment;
    CompileView& m_view;
    std::string m_logFile;
};

}  // namespace doxel

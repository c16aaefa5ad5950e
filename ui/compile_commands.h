#pragma once

#include <QObject>

#include <memory>
#include <string>

#include "output/compiler_library.h"

namespace doxel {

class HelpViewers;
class TCompileForm;
class TMainForm;

// The main window's compile commands: Compile project, View Help file and
// View Log File, with their enabling when the Commands menu opens. Built by
// the main window as its child; holds the one help compiler of the run, and
// ends the help viewers the program started when the window goes.
class CompileCommands final : public QObject {
    Q_OBJECT

public:
    // `compiler`: null for the desktop's chmcmd.
    explicit CompileCommands(TMainForm& form, std::unique_ptr<CompilerLibrary> compiler = nullptr);
    ~CompileCommands() override;

    // Compile project (Compile1, CompileButton, F9): saves an untitled
    // project through Save as first, writes the index, help project and
    // contents files, and shows the results window, which compiles.
    void ToolButton5Click();
    // View Help file: the compiled file in the help viewer; a beep when it
    // does not exist.
    void Launchcompiledfile1Click();
    // View Log File: the log file named by the LogFile setting in the
    // desktop's text editor, when it exists.
    void Viewlogfile1Click();
    // The Commands menu opens: its three commands are enabled by their rules.
    void Commands1Click();

    // The log file the last View Log File was asked for.
    const std::string& currentLogFile() const { return m_logFile; }

signals:
    // The results window is about to be shown (modally).
    void compileFormOpened(doxel::TCompileForm* form);

private:
    // Compile1 and CompileButton follow the contents as they change, so
    // that F9 works as soon as there is something to compile.
    void updateCompileEnabled();

    TMainForm& m_form;
    std::unique_ptr<CompilerLibrary> m_compiler;
    HelpViewers& m_viewers;
    std::string m_logFile;
};

}  // namespace doxel

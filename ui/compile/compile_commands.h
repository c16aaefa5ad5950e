#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <string>

#include "output/compiler_library.h"
#include "ui/kit/command_context.h"
#include "ui/logic/compile_controller.h"

class QAbstractItemModel;

namespace doxel {

class HelpViewers;

// The main window's compile commands: Compile project, View Help file and
// View Log File, with their enabling when the Commands menu opens; the
// rules are CompileController's. Built by the main window as its child;
// holds the one help compiler of the run, and ends the help viewers the
// program started when the window goes.
class CompileCommands final : public QObject, private CompileView {
    Q_OBJECT

public:
    // Opens a file in the desktop's text editor; false when there is none.
    using TextEditor = std::function<bool(Desktop&, const std::string&)>;

    // `contents`: the contents model, whose changes Compile follows.
    // `compiler`: null for the desktop's chmcmd. `editor`: null for the
    // desktop's text editor.
    CompileCommands(const CommandContext& context, const QAbstractItemModel& contents,
                    std::unique_ptr<CompilerLibrary> compiler = nullptr, TextEditor editor = nullptr);
    ~CompileCommands() override;

    // Compile project (Compile1, CompileButton, F9): the results window,
    // run through the dialog runner, compiles.
    void compile();
    void viewHelpFile();
    void viewLogFile();
    // The Commands menu opens: its three commands are enabled by their rules.
    void updateCommandStates();

    const CompileController& controller() const { return m_controller; }

private:
    // CompileView
    void showResults(const CompileFiles& files) override;
    void openHelpViewer(const std::string& compiledFile) override;
    void openLogFile(const std::string& logFile) override;

    // Compile1 and CompileButton follow the contents as they change, so
    // that F9 works as soon as there is something to compile.
    void updateCompileEnabled();

    CommandContext m_context;
    std::unique_ptr<CompilerLibrary> m_compiler;
    TextEditor m_editor;
    HelpViewers& m_viewers;
    CompileController m_controller;
};

}  // namespace doxel

#pragma once

#include <QWidget>

#include <functional>
#include <string>

#include "core/desktop.h"
#include "core/progress.h"
#include "core/project.h"
#include "core/settings.h"
#include "ui/kit/action_registry.h"
#include "ui/kit/dialog_runner.h"
#include "ui/logic/command_runner.h"
#include "ui/logic/document_controller.h"

namespace doxel {

// What the main window hands to each command set (contents, compile,
// index, preview, dialogs, tools, help): the parts of the window every
// command may use. The pages and models a set works on are given to its
// constructor beside it; no command set reaches back into the main window.
//
//     CompileCommands::CompileCommands(const CommandContext& context, ...)
//         : QObject(&context.window), m_context(context) { ... }
//     ...
//     m_context.runner.run([this] { ... m_context.dialogs.run(dialog) ... });
//
// The references live as long as the main window, which owns the command
// sets as its children; a set keeps the context by value.
struct CommandContext {
    // The main window: the parent of the dialogs a command opens and the
    // owner of the command sets.
    QWidget& window;
    ActionRegistry& actions;
    // Every command runs through it; it shows the error that ends one.
    CommandRunner& runner;
    Project& project;
    SettingsStore& settings;
    Desktop& desktop;
    DocumentController& documents;
    // The progress window of long commands.
    ProgressReporter& progress;
    DialogRunner& dialogs;
    // Sets the text of the main window's status line.
    std::function<void(const std::string&)> setStatusText;
    // Gives the main tool bar the coloured pictures, or the grey ones
    // (setting ToolbColored), once the settings dialog changed it.
    std::function<void(bool)> setToolBarColored;
};

}  // namespace doxel

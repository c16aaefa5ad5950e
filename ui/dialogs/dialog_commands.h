#pragma once

#include <QObject>

#include "ui/kit/command_context.h"

namespace doxel {

// The commands that open the project properties and settings dialogs: the
// Options menu's ProjectProperties1 and Preferences1, and the main tool
// bar's ProjectPropButton; and the Edit menu's list of help ids, HelpIds1.
class DialogCommands final : public QObject {
    Q_OBJECT

public:
    explicit DialogCommands(const CommandContext& context);

    // Handlers.
    void editProjectProperties();
    void editSettings();
    void editHelpIds();

private:
    CommandContext m_context;
};

// The settings dialog, filled from the settings store; when confirmed, its
// values are stored and the main tool bar takes the chosen colouring at
// once. True when it was confirmed. Errors of the store reach the caller.
bool runSettingsDialog(const CommandContext& context);

// What the HTML editor commands do when the setting HtmlEditor names no
// program: message 100 ("Please specify the path to your favourite HTML
// Editor..."), then the settings dialog. Call it inside the command's run.
void askForHtmlEditor(const CommandContext& context);

}  // namespace doxel

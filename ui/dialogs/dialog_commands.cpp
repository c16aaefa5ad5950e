#include "ui/dialogs/dialog_commands.h"

#include "core/text_ids.h"
#include "ui/dialogs/auto_sizer_dialog.h"
#include "ui/dialogs/preferences_dialog.h"
#include "ui/dialogs/project_properties_dialog.h"
#include "ui/logic/command_runner.h"
#include "ui/logic/preferences_values.h"
#include "ui/logic/string_table.h"
#include "ui/logic/window_properties.h"

namespace doxel {

DialogCommands::DialogCommands(const CommandContext& context) : QObject(&context.window), m_context(context)
{
    m_context.actions.bind({Command::ProjectProperties, Command::ProjectPropertiesButton}, this,
                           &DialogCommands::editProjectProperties);
    m_context.actions.bind({Command::Settings}, this, &DialogCommands::editSettings);
}

void DialogCommands::editProjectProperties()
{
    m_context.runner.run([this] {
        Project& project = m_context.project;
        // The auto sizer changes only the dialog's position fields; the
        // window settings change with the dialog's own OK.
        const auto adjust = [this](const WindowFrame& shown, QWidget& owner) -> std::optional<WindowFrame> {
            TAutoSizer sizer(m_context.settings, shown, &owner);
            if (!m_context.dialogs.run(sizer))
                return std::nullopt;
            return sizer.frame();
        };
        TProjectProperties dialog(m_context.settings, projectFileChoices(project), propertiesFromProject(project),
                                  adjust, &m_context.window);
        if (!m_context.dialogs.run(dialog))
            return;
        EditStep step(&m_context.documents.history(), text_id::kStepProjectProperties, EditParts::Settings);
        confirmProjectProperties(project, dialog.values());
    });
}

void DialogCommands::editSettings()
{
    m_context.runner.run([this] { runSettingsDialog(m_context); });
}

bool runSettingsDialog(const CommandContext& context)
{
    TPreferences dialog(context.settings, context.desktop, readPreferences(context.settings), &context.window);
    if (!context.dialogs.run(dialog))
        return false;
    const PreferencesValues values = dialog.values();
    writePreferences(context.settings, values);
    if (context.setToolBarColored)
        context.setToolBarColored(values.toolbarColored);
    return true;
}

void askForHtmlEditor(const CommandContext& context)
{
    showMessage(context.desktop, loadText(context.settings, text_id::kSpecifyHtmlEditor), kProgramName,
                MessageButtons::Ok, MessageIcon::Information);
    runSettingsDialog(context);
}

}  // namespace doxel

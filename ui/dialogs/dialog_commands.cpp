#include "ui/dialogs/dialog_commands.h"

#include <algorithm>

#include "core/text_ids.h"
#include "editing/help_id_list.h"
#include "ui/dialogs/auto_sizer_dialog.h"
#include "ui/dialogs/help_ids_dialog.h"
#include "ui/dialogs/preferences_dialog.h"
#include "ui/dialogs/project_properties_dialog.h"
#include "ui/logic/command_runner.h"
#include "ui/logic/preferences_values.h"
#include "ui/logic/string_table.h"
#include "ui/logic/window_properties.h"

namespace doxel {
namespace {

// The help id list's questions as the window asks them: the help id
// dialog through the dialog runner, refusals in a warning box.
class WindowHelpIdDesktop final : public HelpIdDesktop {
public:
    explicit WindowHelpIdDesktop(const CommandContext& context) : m_context(context), m_owner(&context.window) {}

    void setOwner(QWidget* owner) { m_owner = owner; }

    std::string text(int id) override { return loadText(m_context.settings, id); }
    std::optional<HelpIdInput> askHelpId(const HelpIdInput& current, const std::vector<std::string>& topics) override
    {
        std::vector<std::string> choices = topics;
        // An anchor of a page, or a page no entry opens any more, stays
        // choosable for the id that has it.
        if (!current.topicFile.empty() && std::find(choices.begin(), choices.end(), current.topicFile) == choices.end())
            choices.push_back(current.topicFile);
        std::vector<std::string> shown;
        shown.reserve(choices.size());
        for (const std::string& topic : choices)
            shown.push_back(shownTopic(topic, m_context.project.projectFile));
        THelpIdProperties dialog(m_context.settings, current, choices, shown, m_owner);
        if (!m_context.dialogs.run(dialog))
            return std::nullopt;
        return dialog.values();
    }
    void showRefusal(const std::string& message) override
    {
        showMessage(m_context.desktop, message, loadText(m_context.settings, text_id::kHelpId), MessageButtons::Ok,
                    MessageIcon::Warning);
    }
    void beep() override { m_context.desktop.beep(); }

private:
    const CommandContext& m_context;
    QWidget* m_owner;
};

}  // namespace

DialogCommands::DialogCommands(const CommandContext& context) : QObject(&context.window), m_context(context)
{
    m_context.actions.bind({Command::ProjectProperties, Command::ProjectPropertiesButton}, this,
                           &DialogCommands::editProjectProperties);
    m_context.actions.bind({Command::Settings}, this, &DialogCommands::editSettings);
    m_context.actions.bind({Command::HelpIds}, this, &DialogCommands::editHelpIds);
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

void DialogCommands::editHelpIds()
{
    m_context.runner.run([this] {
        WindowHelpIdDesktop desktop(m_context);
        HelpIdList list(m_context.project, desktop);
        list.setHistory(&m_context.documents.history());
        THelpIds dialog(m_context.settings, list, m_context.project.projectFile, &m_context.window);
        // The list's own questions open over it, not over the main window.
        desktop.setOwner(&dialog);
        m_context.dialogs.run(dialog);
    });
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

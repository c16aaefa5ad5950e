#include "ui/tools/tool_commands.h"

#include <QAction>

#include "ui/tools/search_replace_dialog.h"
#include "ui/tools/txt2html_wizard.h"

namespace doxel {

ToolCommands::ToolCommands(const CommandContext& context) : QObject(&context.window), m_context(context)
{
    setObjectName(QStringLiteral("ToolCommands"));
    context.actions.bind({Command::TXTtoHTMLWizard1, Command::TXTtoHTMLWizard2}, this,
                         &ToolCommands::TXTtoHTMLWizard1Click);
    context.actions.bind({Command::SearchandReplace1, Command::SearchandReplace2}, this,
                         &ToolCommands::SearchandReplace1Click);
    // The tool bar's button only opens its drop-down of the two tools.
    context.actions.action(Command::WizardButton)->setEnabled(true);
}

void ToolCommands::TXTtoHTMLWizard1Click()
{
    m_context.runner.run([this] {
        TTXT2HTML wizard(m_context.settings, m_context.desktop, m_context.runner, &m_context.window);
        m_context.dialogs.run(wizard);
    });
}

void ToolCommands::SearchandReplace1Click()
{
    m_context.runner.run([this] {
        TSearchReplace dialog(m_context.settings, m_context.desktop, m_context.runner, &m_context.window);
        m_context.dialogs.run(dialog);
    });
}

}  // namespace doxel

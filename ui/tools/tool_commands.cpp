#include "ui/tools/tool_commands.h"

#include <QAction>

#include "ui/tools/search_replace_dialog.h"
#include "ui/tools/txt2html_wizard.h"

namespace doxel {

ToolCommands::ToolCommands(const CommandContext& context) : QObject(&context.window), m_context(context)
{
    setObjectName(QStringLiteral("ToolCommands"));
    context.actions.bind({Command::TxtToHtmlWizard, Command::WizardsTxtToHtml}, this,
                         &ToolCommands::runTxtToHtmlWizard);
    context.actions.bind({Command::SearchAndReplace, Command::WizardsSearchAndReplace}, this,
                         &ToolCommands::runSearchAndReplace);
}

void ToolCommands::runTxtToHtmlWizard()
{
    m_context.runner.run([this] {
        TTXT2HTML wizard(m_context.settings, m_context.desktop, m_context.runner, &m_context.window);
        m_context.dialogs.run(wizard);
    });
}

void ToolCommands::runSearchAndReplace()
{
    m_context.runner.run([this] {
        TSearchReplace dialog(m_context.settings, m_context.desktop, m_context.runner, &m_context.window);
        m_context.dialogs.run(dialog);
    });
}

}  // namespace doxel

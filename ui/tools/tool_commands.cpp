#include "ui/tools/tool_commands.h"

#include <QAction>

#include <filesystem>

#include "core/project.h"

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

std::string ToolCommands::startFolder() const
{
    if (!m_lastFolder.empty() || m_context.project.projectFile.empty())
        return m_lastFolder;
    return std::filesystem::path(m_context.project.projectFile).parent_path().string();
}

void ToolCommands::runTxtToHtmlWizard()
{
    m_context.runner.run([this] {
        TTXT2HTML wizard(m_context.settings, m_context.desktop, m_context.runner, &m_context.window);
        wizard.setStartFolder(startFolder());
        m_context.dialogs.run(wizard);
        m_lastFolder = wizard.lastFolder();
    });
}

void ToolCommands::runSearchAndReplace()
{
    m_context.runner.run([this] {
        TSearchReplace dialog(m_context.settings, m_context.desktop, m_context.runner, &m_context.window);
        dialog.setStartFolder(startFolder());
        m_context.dialogs.run(dialog);
        m_lastFolder = dialog.lastFolder();
    });
}

}  // namespace doxel

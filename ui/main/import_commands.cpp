#include "ui/main/import_commands.h"

#include "import/project_import.h"
#include "platform/chm_reader.h"

namespace doxel {

ImportCommands::ImportCommands(const CommandContext& context) : QObject(&context.window), m_context(context)
{
    m_context.actions.bind({Command::ImportHelpProject1}, this, &ImportCommands::ImportHelpProject1Click);
}

void ImportCommands::ImportHelpProject1Click()
{
    m_context.runner.run([this] {
        if (!m_context.documents.closeQuery())
            return;
        const std::optional<std::string> source = m_context.desktop.chooseOpenFile(
            {"Import HTML Help project",
             {{"HTML Help projects, contents and help files", "*.hhp;*.hhc;*.chm"}, {"All files", "*"}},
             {},
             {},
             {}});
        if (!source)
            return;
        const ImportReport report = runImport(
            *source, {}, [](const std::string& file) { return std::make_unique<ChmArchive>(file); }, m_context.progress);
        m_context.documents.openProjectFile(report.projectFile, false);
        showMessage(m_context.desktop, report.text(), "Import", MessageButtons::Ok, MessageIcon::Information);
    });
}

}  // namespace doxel

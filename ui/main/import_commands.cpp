#include "ui/main/import_commands.h"

#include "core/text_ids.h"
#include "formats/chm_archive.h"
#include "import/project_import.h"
#include "ui/logic/string_table.h"

namespace doxel {

ImportCommands::ImportCommands(const CommandContext& context) : QObject(&context.window), m_context(context)
{
    m_context.actions.bind({Command::ImportHelpProject}, this, &ImportCommands::importHelpProject);
}

void ImportCommands::importHelpProject()
{
    m_context.runner.run([this] {
        if (!m_context.documents.closeQuery())
            return;
        const auto text = [this](int id) { return loadText(m_context.settings, id); };
        const std::optional<std::string> source = m_context.desktop.chooseOpenFile(
            {text(text_id::kImportHelpProjectTitle),
             {{text(text_id::kImportSourceFilter), "*.hhp;*.hhc;*.chm"}, {text(text_id::kAllFilesFilter), "*"}},
             {},
             {},
             {}});
        if (!source)
            return;
        const ImportReport report = runImport(*source, {}, ChmArchive::open, m_context.progress);
        m_context.documents.openProjectFile(report.projectFile, false);
        showMessage(m_context.desktop, report.text(), text(text_id::kImportCaption), MessageButtons::Ok,
                    MessageIcon::Information);
    });
}

}  // namespace doxel

#include "ui/compile_commands.h"

#include <QAction>
#include <QMenu>

#include <filesystem>

#include "output/compile_run.h"
#include "output/compiler_files.h"
#include "platform/chmcmd_compiler.h"
#include "platform/help_viewers.h"
#include "ui/compile_form.h"
#include "ui/contents_model.h"
#include "ui/contents_page.h"
#include "ui/main_form.h"
#include "ui/text_editor.h"

namespace doxel {
namespace {

bool isFile(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

// canCompile without walking the tree: the title entry is the first of the
// level-0 entries, so any other entry is a second level-0 entry or a child
// of the title entry.
bool holdsEntriesBesidesTitle(Project& project)
{
    return project.root().childCount() > 1 || project.titleEntry().childCount() > 0;
}

}  // namespace

CompileCommands::CompileCommands(TMainForm& form, std::unique_ptr<CompilerLibrary> compiler)
    : QObject(&form),
      m_form(form),
      m_compiler(compiler ? std::move(compiler) : std::make_unique<ChmcmdCompiler>()),
      m_viewers(programHelpViewers())
{
    setObjectName(QStringLiteral("CompileCommands"));
    ActionRegistry& actions = form.actions();
    actions.bind({"Compile1", "CompileButton"}, this, &CompileCommands::ToolButton5Click);
    actions.bind({"Launchcompiledfile1"}, this, &CompileCommands::Launchcompiledfile1Click);
    actions.bind({"Viewlogfile1"}, this, &CompileCommands::Viewlogfile1Click);
    connect(actions.menu(QStringLiteral("Commands1")), &QMenu::aboutToShow, this, &CompileCommands::Commands1Click);

    ContentsModel& model = form.contentsModel();
    connect(&model, &QAbstractItemModel::rowsInserted, this, &CompileCommands::updateCompileEnabled);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, &CompileCommands::updateCompileEnabled);
    connect(&model, &QAbstractItemModel::modelReset, this, &CompileCommands::updateCompileEnabled);
    Commands1Click();
}

CompileCommands::~CompileCommands()
{
    // The main window goes: so do the help viewers the program started.
    m_viewers.closeAll();
}

void CompileCommands::updateCompileEnabled()
{
    const bool enabled = holdsEntriesBesidesTitle(m_form.project());
    for (const char* name : {"Compile1", "CompileButton"})
        m_form.actions().action(QString::fromLatin1(name))->setEnabled(enabled);
}

void CompileCommands::Commands1Click()
{
    ActionRegistry& actions = m_form.actions();
    actions.action(QStringLiteral("Viewlogfile1"))->setEnabled(logFileExists(m_form.settings()));
    actions.action(QStringLiteral("Launchcompiledfile1"))->setEnabled(helpFileExists(m_form.project()));
    updateCompileEnabled();
}

void CompileCommands::ToolButton5Click()
{
    m_form.commandRunner().run([this] {
        Project& project = m_form.project();
        // A caption still being edited belongs in the files.
        m_form.contentsPage()->tree()->commitEditing();
        if (!canCompile(project))
            return;
        if (project.projectFile.empty()) {
            m_form.documents().saveAs();
            if (project.projectFile.empty())
                return;
        }
        project.deriveCompilerFileNames();
        WriteCompilerInputFiles(project, m_form.progressReporter());

        TCompileForm results({m_form.settings(), *m_compiler, m_viewers, [this] { Viewlogfile1Click(); }},
                             compileFilesOf(project), &m_form);
        emit compileFormOpened(&results);
        results.exec();
    });
}

void CompileCommands::Launchcompiledfile1Click()
{
    m_form.commandRunner().run([this] {
        const std::string& compiledFile = m_form.project().compiledFile;
        if (!isFile(compiledFile)) {
            m_form.desktop().beep();
            return;
        }
        m_viewers.open(compiledFile);
    });
}

void CompileCommands::Viewlogfile1Click()
{
    m_form.commandRunner().run([this] {
        m_logFile = ReadSetting(m_form.settings(), "LogFile");
        if (isFile(m_logFile))
            openInTextEditor(m_form.desktop(), m_logFile);
    });
}

}  // namespace doxel

#include "ui/compile/compile_commands.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QMenu>

#include "platform/chmcmd_compiler.h"
#include "platform/help_viewers.h"
#include "platform/text_editor.h"
#include "ui/compile/compile_form.h"

namespace doxel {

CompileCommands::CompileCommands(const CommandContext& context, const QAbstractItemModel& contents,
                                 std::unique_ptr<CompilerLibrary> compiler)
    : QObject(&context.window),
      m_context(context),
      m_compiler(compiler ? std::move(compiler) : std::make_unique<ChmcmdCompiler>()),
      m_viewers(programHelpViewers()),
      m_controller(context.project, {context.settings, context.desktop, context.documents, context.progress, {}}, *this)
{
    setObjectName(QStringLiteral("CompileCommands"));
    ActionRegistry& actions = context.actions;
    actions.bind({Command::Compile1, Command::CompileButton}, this, &CompileCommands::ToolButton5Click);
    actions.bind({Command::Launchcompiledfile1}, this, &CompileCommands::Launchcompiledfile1Click);
    actions.bind({Command::Viewlogfile1}, this, &CompileCommands::Viewlogfile1Click);
    connect(actions.menu(Menu::Commands1), &QMenu::aboutToShow, this, &CompileCommands::Commands1Click);

    connect(&contents, &QAbstractItemModel::rowsInserted, this, &CompileCommands::updateCompileEnabled);
    connect(&contents, &QAbstractItemModel::rowsRemoved, this, &CompileCommands::updateCompileEnabled);
    connect(&contents, &QAbstractItemModel::modelReset, this, &CompileCommands::updateCompileEnabled);
    Commands1Click();
}

CompileCommands::~CompileCommands()
{
    // The main window goes: so do the help viewers the program started.
    m_viewers.closeAll();
}

void CompileCommands::updateCompileEnabled()
{
    const bool enabled = m_controller.canCompile();
    for (Command command : {Command::Compile1, Command::CompileButton})
        m_context.actions.action(command)->setEnabled(enabled);
}

void CompileCommands::Commands1Click()
{
    const CompileCommandStates states = m_controller.commandStates();
    m_context.actions.action(Command::Viewlogfile1)->setEnabled(states.viewLogFile);
    m_context.actions.action(Command::Launchcompiledfile1)->setEnabled(states.viewHelpFile);
    for (Command command : {Command::Compile1, Command::CompileButton})
        m_context.actions.action(command)->setEnabled(states.compile);
}

void CompileCommands::ToolButton5Click()
{
    m_context.runner.run([this] { m_controller.compile(); });
}

void CompileCommands::Launchcompiledfile1Click()
{
    m_context.runner.run([this] { m_controller.viewHelpFile(); });
}

void CompileCommands::Viewlogfile1Click()
{
    m_context.runner.run([this] { m_controller.viewLogFile(); });
}

void CompileCommands::showResults(const CompileFiles& files)
{
    TCompileForm results({m_context.settings, *m_compiler, m_viewers, [this] { Viewlogfile1Click(); }}, files,
                         &m_context.window);
    m_context.dialogs.run(results);
}

void CompileCommands::openHelpViewer(const std::string& compiledFile)
{
    m_viewers.open(compiledFile);
}

void CompileCommands::openLogFile(const std::string& logFile)
{
    openInTextEditor(m_context.desktop, logFile);
}

}  // namespace doxel

#include "ui/compile/compile_commands.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "core/atomic_file.h"
#include "platform/builtin_compiler.h"
#include "platform/help_viewers.h"
#include "platform/text_editor.h"
#include "ui/compile/compile_form.h"
#include "ui/kit/qt_text.h"

namespace doxel {
namespace {

// A log larger than this is not worth reading in a window.
constexpr std::size_t kLogViewLimit = 16 * 1024 * 1024;

}  // namespace

CompileCommands::CompileCommands(const CommandContext& context, const QAbstractItemModel& contents,
                                 std::unique_ptr<CompilerLibrary> compiler, TextEditor editor)
    : QObject(&context.window),
      m_context(context),
      m_compiler(compiler ? std::move(compiler) : std::make_unique<ChosenCompiler>(context.settings)),
      m_editor(editor ? std::move(editor) : TextEditor(openInTextEditor)),
      m_viewers(programHelpViewers()),
      m_controller(context.project, {context.settings, context.desktop, context.documents, context.progress, {}}, *this)
{
    setObjectName(QStringLiteral("CompileCommands"));
    ActionRegistry& actions = context.actions;
    actions.bind({Command::Compile, Command::CompileButton}, this, &CompileCommands::compile);
    actions.bind({Command::ViewHelpFile}, this, &CompileCommands::viewHelpFile);
    actions.bind({Command::ViewLogFile}, this, &CompileCommands::viewLogFile);
    connect(actions.menu(Menu::CommandsMenu), &QMenu::aboutToShow, this, &CompileCommands::updateCommandStates);

    connect(&contents, &QAbstractItemModel::rowsInserted, this, &CompileCommands::updateCompileEnabled);
    connect(&contents, &QAbstractItemModel::rowsRemoved, this, &CompileCommands::updateCompileEnabled);
    connect(&contents, &QAbstractItemModel::modelReset, this, &CompileCommands::updateCompileEnabled);
    updateCommandStates();
}

CompileCommands::~CompileCommands()
{
    // The main window goes: so do the help viewers the program started.
    m_viewers.closeAll();
}

void CompileCommands::updateCompileEnabled()
{
    const bool enabled = m_controller.canCompile();
    for (Command command : {Command::Compile, Command::CompileButton})
        m_context.actions.action(command)->setEnabled(enabled);
}

void CompileCommands::updateCommandStates()
{
    const CompileCommandStates states = m_controller.commandStates();
    m_context.actions.action(Command::ViewLogFile)->setEnabled(states.viewLogFile);
    m_context.actions.action(Command::ViewHelpFile)->setEnabled(states.viewHelpFile);
    for (Command command : {Command::Compile, Command::CompileButton})
        m_context.actions.action(command)->setEnabled(states.compile);
}

void CompileCommands::compile()
{
    m_context.runner.run([this] { m_controller.compile(); });
}

void CompileCommands::viewHelpFile()
{
    m_context.runner.run([this] { m_controller.viewHelpFile(); });
}

void CompileCommands::viewLogFile()
{
    m_context.runner.run([this] { m_controller.viewLogFile(); });
}

void CompileCommands::showResults(const CompileFiles& files)
{
    TCompileForm results({m_context.settings, *m_compiler, m_viewers, [this] { viewLogFile(); }, &m_context.desktop},
                         files, &m_context.window);
    m_context.dialogs.run(results);
    // Ctrl+Q in the results window: the main window's own close follows,
    // with its question about unsaved changes.
    if (results.quitWanted())
        QMetaObject::invokeMethod(&m_context.window, &QWidget::close, Qt::QueuedConnection);
}

void CompileCommands::openHelpViewer(const std::string& compiledFile)
{
    m_viewers.open(compiledFile);
}

void CompileCommands::openLogFile(const std::string& logFile)
{
    if (m_editor(m_context.desktop, logFile))
        return;
    // No text editor that opens a window (only vim, say): the log in a
    // read-only window of our own, which stays open beside the main one.
    auto* view = new QDialog(&m_context.window);
    view->setObjectName(QStringLiteral("LogView"));
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setWindowTitle(toQString(logFile));
    auto* text = new QPlainTextEdit(view);
    text->setObjectName(QStringLiteral("LogText"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setPlainText(QString::fromUtf8(readWholeFile(logFile, kLogViewLimit)));
    auto* layout = new QVBoxLayout(view);
    layout->addWidget(text);
    view->resize(640, 400);
    view->show();
}

}  // namespace doxel

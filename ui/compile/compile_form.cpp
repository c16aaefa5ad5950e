#include "ui/compile/compile_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

#include "core/text_ids.h"
#include "platform/help_viewers.h"
#include "ui/kit/icons.h"
#include "ui/kit/qt_text.h"
#include "ui/kit/window_placement.h"
#include "ui/logic/command_runner.h"
#include "ui/logic/string_table.h"

namespace doxel {
namespace {

// Room for a message line of the compiler (about 80 characters) beside the
// buttons, and for a dozen lines: the design's 284 by 186 pixels wrap and
// scroll every line.
constexpr int kMessageColumns = 84;
constexpr int kMessageLines = 14;
constexpr int kSummaryRows = 6;
constexpr int kSummaryColumnWidth = 100;
constexpr QSize kButtonIconSize(24, 24);

const QColor kMessageColor(0x00, 0x80, 0x80);  // teal
const QColor kFailureColor(0xff, 0x00, 0x00);

QToolButton* makeButton(const char* name, const char* picture, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setIcon(resourceIcon(picture));
    button->setIconSize(kButtonIconSize);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// The run's own texts in the program's language.
QString localRunText(SettingsStore& settings, const std::string& text)
{
    const std::pair<const char*, int> texts[] = {{kStoppedByChecksText, text_id::kStoppedByChecks},
                                                 {kNothingWrittenText, text_id::kNothingWritten},
                                                 {kStoppedText, text_id::kCompileStopped},
                                                 {kSearchOffNote, text_id::kSearchOffNote}};
    for (const auto& [english, id] : texts) {
        if (text == english)
            return localText(settings, id);
    }
    return toQString(text);
}

QWidget* makePage(const char* name, QWidget* content, QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(content);
    return page;
}

}  // namespace

TCompileForm::TCompileForm(CompileFormServices services, CompileFiles files, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_services(std::move(services)),
      m_files(std::move(files))
{
    initIconResources();
    setObjectName(QStringLiteral("TCompileForm"));
    for (int picture = 0; picture < kSummaryRows; ++picture)
        m_images[static_cast<std::size_t>(picture)] =
            resourceIcon(QStringLiteral("summary/%1.svg").arg(picture).toLatin1().constData());
    buildWindow();
    setUpControls();
    fitToDesktopFonts();
}

TCompileForm::~TCompileForm()
{
    // A window that goes while its compile runs waits for the run; what the
    // run still reports is dropped with the window.
    if (m_worker.joinable())
        m_worker.join();
}

void TCompileForm::buildWindow()
{
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo"));
    m_memo->setReadOnly(true);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setMemoColor(kMessageColor);

    m_infoView = new QTreeWidget(this);
    m_infoView->setObjectName(QStringLiteral("InfoView"));
    m_infoView->setColumnCount(2);
    m_infoView->setHeaderHidden(true);
    m_infoView->setRootIsDecorated(false);
    m_infoView->setItemsExpandable(false);
    m_infoView->setUniformRowHeights(true);
    m_infoView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_infoView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_infoView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_infoView->setAllColumnsShowFocus(true);
    m_infoView->setIconSize(QSize(16, 16));
    m_infoView->header()->setStretchLastSection(false);
    m_infoView->setColumnWidth(0, kSummaryColumnWidth);
    m_infoView->setColumnWidth(1, kSummaryColumnWidth);

    m_pageControl = new QTabWidget(this);
    m_pageControl->setObjectName(QStringLiteral("PageControl"));
    m_pageControl->setUsesScrollButtons(false);
    m_pageControl->tabBar()->setElideMode(Qt::ElideNone);
    m_compMsg = makePage("CompMsg", m_memo, m_pageControl);
    m_summary = makePage("Summary", m_infoView, m_pageControl);
    m_pageControl->addTab(m_compMsg, QString());
    m_pageControl->addTab(m_summary, QString());

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_launchCHMButton = makeButton("LaunchCHMButton", "compile/viewchm.svg", m_panel);
    m_launchLogButton = makeButton("LaunchLogButton", "compile/viewlog.svg", m_panel);
    m_stopButton = makeButton("StopButton", "compile/stop.svg", m_panel);
    m_stopButton->setEnabled(false);
    m_closeButton = makeButton("CloseButton", "compile/close.svg", m_panel);
    auto* buttons = new QVBoxLayout(m_panel);
    buttons->setContentsMargins(2, 2, 2, 2);
    buttons->setSpacing(2);
    buttons->addWidget(m_launchCHMButton);
    buttons->addWidget(m_launchLogButton);
    buttons->addStretch(1);
    buttons->addWidget(m_stopButton);
    buttons->addWidget(m_closeButton);
    connect(m_launchCHMButton, &QToolButton::clicked, this, &TCompileForm::viewHelpFile);
    connect(m_launchLogButton, &QToolButton::clicked, this, &TCompileForm::openLogFile);
    connect(m_closeButton, &QToolButton::clicked, this, &TCompileForm::closeWindow);
    connect(m_stopButton, &QToolButton::clicked, this, &TCompileForm::stopCompile);
    auto* quit = new QShortcut(QKeySequence::Quit, this);
    quit->setObjectName(QStringLiteral("QuitShortcut"));
    connect(quit, &QShortcut::activated, this, &TCompileForm::quitRequested);

    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("Status"));
    m_status->setSizeGripEnabled(false);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(4, 4, 0, 0);
    body->setSpacing(2);
    body->addWidget(m_pageControl, 1);
    body->addWidget(m_panel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(body, 1);
    layout->addWidget(m_status);
}

void TCompileForm::fitToDesktopFonts()
{
    // Tab captions and six summary rows in the desktop's font decide how
    // much room the window needs beyond its design size.
    for (const SummaryRow& row : summaryRows({})) {
        auto* probe = new QTreeWidgetItem(m_infoView, {QString::fromLatin1(row.label), QStringLiteral("0")});
        probe->setIcon(0, m_images[0]);
    }
    m_infoView->resizeColumnToContents(0);
    const int labelWidth = std::max(kSummaryColumnWidth, m_infoView->columnWidth(0) + 8);
    const int rowHeight = m_infoView->sizeHintForRow(0);
    m_infoView->clear();
    m_infoView->setColumnWidth(0, labelWidth);
    const int frames = 2 * m_infoView->frameWidth() + 12;
    const int pageWidth = std::max(m_pageControl->tabBar()->sizeHint().width(), labelWidth + kSummaryColumnWidth);
    const QSize needed(pageWidth + frames + m_panel->sizeHint().width(),
                       m_status->sizeHint().height() + m_pageControl->tabBar()->sizeHint().height() +
                           kSummaryRows * rowHeight + frames);
    const QFontMetrics metrics(m_memo->font());
    const QSize messages(metrics.horizontalAdvance(QLatin1Char('x')) * kMessageColumns + frames +
                             m_memo->verticalScrollBar()->sizeHint().width() + m_panel->sizeHint().width(),
                         metrics.lineSpacing() * kMessageLines + m_status->sizeHint().height() +
                             m_pageControl->tabBar()->sizeHint().height() + frames);
    QSize size = messages.expandedTo(needed).expandedTo(minimumSizeHint());
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
    centreOverOwner(*this);
}

void TCompileForm::setUpControls()
{
    SettingsStore& settings = m_services.settings;
    setWindowTitle(localText(settings, text_id::kCompileProject));
    m_pageControl->setTabText(m_pageControl->indexOf(m_compMsg), localText(settings, text_id::kCompilerMessages));
    m_pageControl->setTabText(m_pageControl->indexOf(m_summary), localText(settings, text_id::kSummary));
    const std::pair<QToolButton*, int> hints[] = {{m_launchCHMButton, text_id::kViewCompiledFile},
                                                  {m_launchLogButton, text_id::kViewLogFile},
                                                  {m_stopButton, text_id::kStopCompile},
                                                  {m_closeButton, text_id::kClose}};
    for (const auto& [button, id] : hints) {
        button->setToolTip(localText(settings, id));
        button->setAccessibleName(button->toolTip());
    }
    // Fetched now: the settings may refuse a read in the middle of a run.
    m_failureText = localText(settings, kCompilerFailedTextId);
}

void TCompileForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    // Right after the window is shown, once control is back in the event
    // loop, so that the window is on the screen before the compile starts.
    QTimer::singleShot(0, this, &TCompileForm::startCompile);
}

void TCompileForm::startCompile()
{
    m_compiling = true;
    // Nothing to view while the files are being made.
    m_launchCHMButton->setEnabled(false);
    m_launchLogButton->setEnabled(false);
    m_stopButton->setEnabled(true);
    emit runStarted();
    // The viewers are the window's: they are ended here, before the run,
    // so that the compiler can replace the file.
    m_services.viewers.close(m_files.compiledFile);
    m_worker = std::thread([this] {
        CompileResult result;
        std::string error;
        bool failed = false;
        try {
            result = compileRun(m_services.compiler, m_services.settings, *this, m_files);
        } catch (const std::exception& caught) {
            // The run could not go on; the window shows it as a compiler
            // that could not run rather than letting the error escape.
            error = caught.what();
            failed = true;
        } catch (...) {
            failed = true;
        }
        onWindowThread([this, result, error, failed] { compileFinished(result, error, failed); });
    });
}

void TCompileForm::compileFinished(const CompileResult& result, const std::string& error, bool failed)
{
    // The thread's last step was to post this call: the join is quick.
    if (m_worker.joinable())
        m_worker.join();
    m_result = result;
    if (failed) {
        if (!error.empty())
            addLogLine(error);
        showFailure({});
    }
    m_compiling = false;
    m_stopButton->setEnabled(false);
    m_launchCHMButton->setEnabled(!m_failed);
    m_launchLogButton->setEnabled(!m_compilerFailed);
    emit runFinished();
    if (m_closeRequested)
        QDialog::done(m_closeResult);
}

void TCompileForm::done(int result)
{
    if (m_compiling) {
        // The results would be gone with the window: the run stops, and the
        // window closes when it has.
        m_closeRequested = true;
        m_closeResult = result;
        stopCompile();
        return;
    }
    QDialog::done(result);
}

void TCompileForm::closeEvent(QCloseEvent* event)
{
    if (m_compiling) {
        m_closeRequested = true;
        stopCompile();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TCompileForm::stopCompile()
{
    if (!m_compiling || m_stopRequested)
        return;
    m_stopRequested = true;
    m_stopButton->setEnabled(false);
    m_status->showMessage(localText(m_services.settings, text_id::kStoppingCompile));
}

void TCompileForm::quitRequested()
{
    if (m_compiling && m_services.desktop != nullptr &&
        showMessage(*m_services.desktop, loadText(m_services.settings, text_id::kStopCompileAndQuit), kProgramName,
                    MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::No) != MessageAnswer::Yes)
        return;
    m_quitWanted = true;
    done(Rejected);
}

void TCompileForm::throwIfStopped() const
{
    if (m_stopRequested)
        throw CompileStopped();
}

std::string TCompileForm::startViewer()
{
    std::string problem;
    if (m_services.viewers.open(m_files.compiledFile, &problem))
        return {};
    return problem.empty() ? std::string("The help viewer could not be started") : problem;
}

void TCompileForm::viewHelpFile()
{
    // The file is not checked first: a compile that wrote none leaves the
    // viewer nothing to show, as the button promises no more.
    if (const std::string problem = startViewer(); !problem.empty())
        m_status->showMessage(toQString(problem));
}

void TCompileForm::openLogFile()
{
    if (m_services.viewLogFile)
        m_services.viewLogFile();
}

void TCompileForm::closeWindow()
{
    close();
}

template <typename Call>
void TCompileForm::onWindowThread(Call call)
{
    if (QThread::currentThread() == thread())
        call();
    else
        QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void TCompileForm::closeHelpViewers(const std::string&)
{
    // The run asks for it first thing; startCompile has done it on the
    // window's thread, which owns the viewers.
}

void TCompileForm::keepAlive()
{
    throwIfStopped();
    onWindowThread([this] { emit keptAlive(); });
}

void TCompileForm::addLogLine(const std::string& line)
{
    onWindowThread([this, line] { m_memo->appendPlainText(localRunText(m_services.settings, line)); });
}

void TCompileForm::showProgressText(const std::string& text)
{
    throwIfStopped();
    onWindowThread([this, text] { m_status->showMessage(toQString(text)); });
}

void TCompileForm::openHelpFile(const std::string&)
{
    onWindowThread([this] {
        // LaunchHelp: a viewer that cannot start is worth a line among the
        // messages, where the author looks for what went wrong.
        if (const std::string problem = startViewer(); !problem.empty())
            addLogLine(problem);
    });
}

void TCompileForm::viewLogFile()
{
    onWindowThread([this] { openLogFile(); });
}

void TCompileForm::showSummary(const CompileStatistics& statistics)
{
    onWindowThread([this, statistics] {
        m_infoView->clear();
        for (const SummaryRow& row : summaryRows(statistics)) {
            auto* item = new QTreeWidgetItem(m_infoView, {QString::fromLatin1(row.label), QString::number(row.count)});
            item->setIcon(0, m_images.at(static_cast<std::size_t>(row.picture)));
        }
        m_infoView->setCurrentItem(nullptr);
        m_status->showMessage(QStringLiteral("OK."));
        m_pageControl->setCurrentWidget(m_summary);
    });
}

void TCompileForm::showFailure(const std::string& text)
{
    onWindowThread([this, text] {
        m_failed = true;
        setMemoColor(kFailureColor);
        // A run that ended before the compiler ran has no summary and no
        // log; any other filled both, and only its help file is missing.
        m_compilerFailed = text.empty() && m_infoView->topLevelItemCount() == 0;
        const QString shown = text.empty() ? m_failureText : localRunText(m_services.settings, text);
        m_memo->appendPlainText(shown);
        m_status->showMessage(shown.section(QLatin1Char('\n'), 0, 0));
        m_launchCHMButton->setEnabled(false);
        m_launchLogButton->setEnabled(!m_compilerFailed);
        m_pageControl->setCurrentWidget(m_compMsg);
    });
}

void TCompileForm::setMemoColor(const QColor& color)
{
    QPalette colors = m_memo->palette();
    colors.setColor(QPalette::Active, QPalette::Text, color);
    colors.setColor(QPalette::Inactive, QPalette::Text, color);
    m_memo->setPalette(colors);
}

}  // namespace doxel

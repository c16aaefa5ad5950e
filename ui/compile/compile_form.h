#pragma once

#include <QDialog>
#include <QIcon>

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "core/desktop.h"
#include "core/settings.h"
#include "output/compile_run.h"
#include "output/compiler_library.h"

class QPlainTextEdit;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QWidget;

namespace doxel {

class HelpViewers;

// What the results window works with; the main window gives its own.
struct CompileFormServices {
    SettingsStore& settings;
    // Kept by the main window for the whole run: a failed compile leaves it
    // loaded for the next one.
    CompilerLibrary& compiler;
    HelpViewers& viewers;
    // The main window's View Log File command.
    std::function<void()> viewLogFile;
    // For the question of Ctrl+Q during a compile; none: quit without asking.
    Desktop* desktop = nullptr;
};

// The results window of a compile: a tool window centred on the screen. Its
// first activation runs the compile of `files`, collecting the compiler's
// lines in `Memo` (teal) and its progress texts in the status line; after a
// run that wrote a help file the Summary page lists the six counts; after
// one that wrote none `Memo` turns red with the reason (text 230 when the
// compiler could not run) and stays in front.
//
// The compile runs on a thread of its own and reports to the window through
// queued calls, in the order the run made them, so the window stays
// responsive and no handler of it runs inside another. `StopButton` stops a
// running compile, and so does closing the window, which then closes when
// the run is over; Ctrl+Q asks whether to stop it and quit the program.
class TCompileForm final : public QDialog, private CompileHost {
    Q_OBJECT

public:
    TCompileForm(CompileFormServices services, CompileFiles files, QWidget* parent = nullptr);
    ~TCompileForm() override;

    // Handlers of the window's design.
    void setUpControls();
    void startCompile();
    void viewHelpFile();
    void openLogFile();
    void closeWindow();
    // Asks the run to stop at its next report; it ends with kStoppedText.
    void stopCompile();
    // Ctrl+Q during a compile: asks whether to stop it and quit.
    void quitRequested();

    // The user chose to quit the program from this window.
    bool quitWanted() const { return m_quitWanted; }

    bool isCompiling() const { return m_compiling; }
    // The result of the run, once runFinished was sent.
    const CompileResult& result() const { return m_result; }

    QStatusBar* status() const { return m_status; }
    QTabWidget* pageControl() const { return m_pageControl; }
    QPlainTextEdit* memo() const { return m_memo; }
    QTreeWidget* infoView() const { return m_infoView; }
    QToolButton* launchCHMButton() const { return m_launchCHMButton; }
    QToolButton* launchLogButton() const { return m_launchLogButton; }
    QToolButton* closeButton() const { return m_closeButton; }
    QToolButton* stopButton() const { return m_stopButton; }

signals:
    void runStarted();
    // Each time the compile reports that it is still going (keepAlive).
    void keptAlive();
    void runFinished();

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Runs `call` here when on the window's thread; from the compile's
    // thread, as a queued call after what that thread reported before.
    template <typename Call>
    void onWindowThread(Call call);
    // The run's end, on the window's thread: `error` is the reason of a run
    // that could not go on, empty otherwise.
    void compileFinished(const CompileResult& result, const std::string& error, bool failed);

    // CompileHost, called from the compile's thread.
    void closeHelpViewers(const std::string& compiledFile) override;
    void keepAlive() override;
    void addLogLine(const std::string& line) override;
    void showProgressText(const std::string& text) override;
    void openHelpFile(const std::string& compiledFile) override;
    void viewLogFile() override;
    void showSummary(const CompileStatistics& statistics) override;
    void showFailure(const std::string& text) override;

    // Throws CompileStopped on the compile's thread once a stop was asked.
    void throwIfStopped() const;
    void buildWindow();
    void fitToDesktopFonts();
    void setMemoColor(const QColor& color);
    // Starts a viewer for the compiled file; the reason when none started.
    std::string startViewer();

    CompileFormServices m_services;
    CompileFiles m_files;
    CompileResult m_result;
    QString m_failureText;
    std::array<QIcon, 6> m_images;  // ImageList1
    bool m_activated = false;
    bool m_compiling = false;
    bool m_failed = false;
    // The compiler could not run: no log to view either.
    bool m_compilerFailed = false;
    bool m_quitWanted = false;
    std::atomic<bool> m_stopRequested = false;
    bool m_closeRequested = false;
    int m_closeResult = Rejected;

    QStatusBar* m_status = nullptr;
    QTabWidget* m_pageControl = nullptr;
    QWidget* m_compMsg = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QWidget* m_summary = nullptr;
    QTreeWidget* m_infoView = nullptr;
    QWidget* m_panel = nullptr;
    QToolButton* m_launchCHMButton = nullptr;
    QToolButton* m_launchLogButton = nullptr;
    QToolButton* m_closeButton = nullptr;
    QToolButton* m_stopButton = nullptr;
    std::thread m_worker;
};

}  // namespace doxel

// How often the results window gets to repaint while chmcmd compiles a
// generated project of topic pages in it:
//   QT_QPA_PLATFORM=offscreen build/release/bench/bench_compile_window [PAGES] [ROUNDS]
// (or under xvfb-run; defaults 5000 pages, 3 rounds). The project comes
// from bench_compile_project, next to this program, in a temporary folder;
// settings and desktop files go there too. Each round runs the Compile
// command of the main window; while the results window's compile runs, the
// program records when the window received the compile thread's progress
// reports (keepAlive), when a 10 ms timer of the window fired (the event
// loop really turning: input and repaints are handled then; each firing
// asks for a repaint of the status line) and when a widget of the window
// painted. It prints the longest gap and the 99th percentile of each. The
// target is a longest gap under 100 ms.
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/desktop.h"
#include "core/settings.h"
#include "quiet_desktop.h"
#include "ui/compile/compile_form.h"
#include "ui/main/main_form.h"

namespace doxel::bench {
namespace {

using Clock = std::chrono::steady_clock;

// Moments of one kind during a run, from its start to its end.
struct Moments {
    std::vector<Clock::time_point> times;

    // Gaps in milliseconds, the run's start and end counted as moments.
    std::vector<double> gaps(Clock::time_point start, Clock::time_point end) const
    {
        std::vector<double> result;
        Clock::time_point last = start;
        for (Clock::time_point t : times) {
            result.push_back(std::chrono::duration<double, std::milli>(t - last).count());
            last = t;
        }
        result.push_back(std::chrono::duration<double, std::milli>(end - last).count());
        std::sort(result.begin(), result.end());
        return result;
    }
};

void printGaps(const char* what, const Moments& moments, Clock::time_point start, Clock::time_point end)
{
    const std::vector<double> gaps = moments.gaps(start, end);
    const double p99 = gaps[std::min(gaps.size() - 1, gaps.size() * 99 / 100)];
    std::printf("  %-28s %6zu   longest gap %7.1f ms   99th percentile %6.1f ms\n", what, moments.times.size(),
                gaps.back(), p99);
}

// Records the paints of the results window's widgets.
class PaintRecorder final : public QObject {
public:
    PaintRecorder(QWidget* window, Moments& paints) : m_window(window), m_paints(paints) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget == m_window || m_window->isAncestorOf(widget))
                m_paints.times.push_back(Clock::now());
        }
        return false;
    }

private:
    QWidget* m_window;
    Moments& m_paints;
};

std::filesystem::path makeScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "doxel-compile-window-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(2);
    }
    return pattern;
}

}  // namespace
}  // namespace doxel::bench

int main(int argc, char* argv[])
{
    using namespace doxel;
    using namespace doxel::bench;
    const int pages = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::filesystem::path scratch = makeScratchFolder();
    ::setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (scratch / "data").c_str(), 1);
    QApplication application(argc, argv);

    const QString generator = QCoreApplication::applicationDirPath() + QStringLiteral("/bench_compile_project");
    const std::filesystem::path project = scratch / "manual";
    if (QProcess::execute(generator, {QString::fromStdString(project.string()), QString::number(pages)}) != 0) {
        std::fprintf(stderr, "could not generate the project with %s\n", qPrintable(generator));
        return 2;
    }

    MemorySettingsStore settings;
    settings.write("LogFile", (scratch / "log.txt").string());
    QuietDesktop desktop;
    WatchedDialogRunner dialogs;
    int exitStatus = 0;
    {
        TMainForm form({settings, desktop, dialogs, {}, {scratch.string() + "/", [] { return std::string(); }}});
        form.setUpWindow((project / "manual.dxp").string());
        form.show();

        std::printf("%d pages, %d rounds (%s)\n", pages, rounds, qPrintable(QGuiApplication::platformName()));
        for (int round = 1; round <= rounds; ++round) {
            Moments keptAlive;
            Moments ticks;
            Moments paints;
            Clock::time_point start;
            Clock::time_point end;
            CompileStatistics counts;
            bool succeeded = false;
            dialogs.opened = [&](QDialog& dialog) {
                auto* results = qobject_cast<TCompileForm*>(&dialog);
                if (results == nullptr)
                    return;
                auto* recorder = new PaintRecorder(results, paints);
                recorder->setParent(results);
                auto* timer = new QTimer(results);
                timer->setInterval(10);
                timer->setTimerType(Qt::PreciseTimer);
                // Each firing also asks for a repaint of the status line, so
                // that the paints show how soon a change reaches the screen.
                QObject::connect(timer, &QTimer::timeout, results, [&ticks, results] {
                    ticks.times.push_back(Clock::now());
                    results->status()->update();
                });
                QObject::connect(results, &TCompileForm::runStarted, results, [&, timer, recorder] {
                    start = Clock::now();
                    qApp->installEventFilter(recorder);
                    timer->start();
                });
                QObject::connect(results, &TCompileForm::keptAlive, results,
                                 [&keptAlive] { keptAlive.times.push_back(Clock::now()); });
                QObject::connect(results, &TCompileForm::runFinished, results, [&, timer, recorder, results] {
                    end = Clock::now();
                    timer->stop();
                    qApp->removeEventFilter(recorder);
                    counts = results->result().statistics;
                    succeeded = results->result().succeeded;
                    results->closeButton()->click();
                });
            };
            form.actions().action(Command::Compile)->trigger();
            dialogs.opened = nullptr;

            const double seconds = std::chrono::duration<double>(end - start).count();
            std::printf("round %d: compile %.2f s, %s; topics %d, errors %d, warnings %d\n", round, seconds,
                        succeeded ? "completed" : "FAILED", counts.topics, counts.errors, counts.warnings);
            printGaps("keepAlive calls", keptAlive, start, end);
            printGaps("10 ms timer firings", ticks, start, end);
            printGaps("paints of the window", paints, start, end);
            if (!succeeded)
                exitStatus = 1;
        }
    }
    std::error_code error;
    std::filesystem::remove_all(scratch, error);
    return exitStatus;
}

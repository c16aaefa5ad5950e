// Speed and memory of the main window, one run per process (start-up is
// measured once, as a user meets it):
//   xvfb-run -a -s "-screen 0 1280x800x24" build/release/bench/bench_window [entries]
// or with QT_QPA_PLATFORM=offscreen. Prints the time from the process's
// start and from main() to the main window shown, the time to open the
// generated project (100,000 entries by default) into the window, the time
// to save it with and without the progress window, and the peak RSS.
// Settings and desktop files go to a temporary folder.
#include <QApplication>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "core/project_file.h"
#include "generated_project.h"
#include "platform/desktop_apps.h"
#include "platform/file_association.h"
#include "platform/program_paths.h"
#include "platform/qsettings_store.h"
#include "quiet_desktop.h"
#include "ui/contents/contents_page.h"
#include "ui/main/main_form.h"
#include "ui/main/splash_form.h"

namespace doxel::bench {
namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Seconds the process has run, from /proc (includes loading the libraries).
double processAgeMilliseconds()
{
    std::ifstream stat("/proc/self/stat");
    std::string text;
    std::getline(stat, text);
    std::size_t at = text.rfind(')');
    for (int field = 2; field < 22 && at != std::string::npos; ++field)
        at = text.find(' ', at + 1);
    const double startTicks = std::strtod(text.c_str() + at + 1, nullptr);
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double uptime = static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    return (uptime - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000.0;
}

double peakRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::string temporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "doxel-window-bench-XXXXXX").string();
    return ::mkdtemp(pattern.data());
}

}  // namespace
}  // namespace doxel::bench

int main(int argc, char* argv[])
{
    using namespace doxel;
    using namespace doxel::bench;
    const Clock::time_point mainStart = Clock::now();
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::string folder = temporaryFolder();
    if (std::getenv("DOXEL_BENCH_KEEP_HOME") == nullptr) {
        setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    }

    // The start-up of the program's window job, step by step.
    QApplication application(argc, argv);
    TSplash splash(TSplash::Mode::Startup);
    splash.showNow();
    QSettingsStore settings;
    QuietDesktop desktop;
    ModalDialogRunner dialogs;
    const auto registerAssociation = [] { return registerFileAssociation(programPath(), "html-doxel"); };
    auto form = std::make_unique<TMainForm>(MainFormServices{
        settings, desktop, dialogs, registerAssociation, {programDataFolder(), findDesktopHtmlEditor}});
    form->setUpWindow();
    form->show();
    splash.close();
    if (!QTest::qWaitForWindowExposed(form.get()))
        std::fprintf(stderr, "the window was not shown\n");
    const double shownFromMain = millisecondsSince(mainStart);
    const double shownFromProcess = processAgeMilliseconds();
    std::printf("start-up to the window shown: %.0f ms from main(), %.0f ms from the process start\n", shownFromMain,
                shownFromProcess);
    std::printf("peak RSS after start-up: %.1f MB\n", peakRssMegabytes());

    // The generated project, written once, opened into the window.
    const std::string file = folder + "/manual.dxp";
    {
        Project generated;
        generateProject(generated, folder, entries, entries / 5);
        NullProgress none;
        WriteProjectFile(generated, file, none);
    }
    const Clock::time_point openStart = Clock::now();
    form->openRecentProject(file);
    form->contentsPage()->tree()->repaint();
    QCoreApplication::processEvents();
    const double openTime = millisecondsSince(openStart);
    std::printf("opening %zu entries into the window: %.0f ms\n", form->project().entryCount() - 1, openTime);
    std::printf("peak RSS after opening: %.1f MB\n", peakRssMegabytes());

    // Saving: the logic alone, then through the progress window, in turns;
    // the medians of five rounds.
    std::vector<double> plain;
    std::vector<double> withWindow;
    for (int round = 0; round < 5; ++round) {
        NullProgress none;
        Clock::time_point start = Clock::now();
        WriteProjectFile(form->project(), folder + "/plain.dxp", none);
        plain.push_back(millisecondsSince(start));
        start = Clock::now();
        WriteProjectFile(form->project(), folder + "/window.dxp", form->progressReporter());
        withWindow.push_back(millisecondsSince(start));
    }
    std::sort(plain.begin(), plain.end());
    std::sort(withWindow.begin(), withWindow.end());
    std::printf("saving: %.0f ms without a progress window, %.0f ms with it (%+.0f%%)\n", plain[2], withWindow[2],
                (withWindow[2] / plain[2] - 1.0) * 100.0);

    form.reset();
    std::filesystem::remove_all(folder);
    return 0;
}

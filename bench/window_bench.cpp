// Speed and memory of the main window, one run per process (start-up is
// measured once, as a user meets it):
//   xvfb-run -a -s "-screen 0 1280x800x24" build/release/bench/bench_window [entries]
// The start-up beside a bare Qt main window (bench_bare_window), in turns,
// each in a process of its own; medians of the rounds, the sample project
// open in the window:
//   xvfb-run -a -s "-screen 0 1280x800x24" build/release/bench/bench_window --startup [rounds]
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
#include "startup_probe.h"
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

// A child of --startup: the program's window job up to the window shown,
// on `project`, then the probe's line.
int showWindowOnce(int argc, char* argv[], const std::string& project)
{
    const double atMain = processAgeMilliseconds();
    QApplication application(argc, argv);
    const double atApplication = processAgeMilliseconds();
    TSplash splash(TSplash::Mode::Startup);
    splash.showNow();
    const double atSplash = processAgeMilliseconds();
    QSettingsStore settings;
    QuietDesktop desktop;
    ModalDialogRunner dialogs;
    TMainForm form(MainFormServices{settings, desktop, dialogs, {}, {programDataFolder(), findDesktopHtmlEditor}});
    const double atWindow = processAgeMilliseconds();
    form.setUpWindow(project);
    const double atProject = processAgeMilliseconds();
    form.show();
    splash.close();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    printStartupProbe();
    std::printf("steps: main() %.0f, application %.0f, splash %.0f, window built %.0f, project open %.0f ms\n", atMain,
                atApplication, atSplash, atWindow, atProject);
    return 0;
}

struct Probe {
    double milliseconds = 0;
    double megabytes = 0;
    bool webEngine = false;
};

Probe runChild(const std::string& command)
{
    Probe probe;
    FILE* child = ::popen(command.c_str(), "r");
    if (child == nullptr)
        return probe;
    char line[256] = {};
    while (std::fgets(line, sizeof line, child) != nullptr) {
        char mapped[32] = {};
        if (std::sscanf(line, "shown %lf ms, %lf MB, web engine %31s", &probe.milliseconds, &probe.megabytes, mapped) ==
            3)
            probe.webEngine = std::string(mapped) == "mapped";
    }
    ::pclose(child);
    return probe;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The program's start-up beside a bare Qt main window, in turns.
int compareStartup(const std::string& self, int rounds)
{
    const std::string folder = std::filesystem::path(self).parent_path().string();
    const std::string sample = std::string(DOXEL_SOURCE_DIR) + "/examples/sample/sample.dxp";
    const std::string quiet = " 2>/dev/null";
    // The children's settings go to a folder of their own, as the main
    // benchmark's do.
    const std::string home = temporaryFolder();
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    std::vector<double> bare;
    std::vector<double> window;
    std::vector<double> memory;
    bool webEngine = false;
    for (int round = 0; round < rounds; ++round) {
        bare.push_back(runChild(folder + "/bench_bare_window" + quiet).milliseconds);
        const Probe probe = runChild(self + " --shown-once '" + sample + "'" + quiet);
        window.push_back(probe.milliseconds);
        memory.push_back(probe.megabytes);
        webEngine = webEngine || probe.webEngine;
    }
    const double ratio = median(window) / std::max(median(bare), 1.0);
    std::printf("start-up, medians of %d rounds in turns:\n", rounds);
    std::printf("  bare Qt main window:           %.0f ms\n", median(bare));
    std::printf("  main window with the sample:   %.0f ms (%.2f times), %.1f MB resident\n", median(window), ratio,
                median(memory));
    std::printf("  web engine mapped at start-up: %s\n", webEngine ? "yes" : "no");
    std::filesystem::remove_all(home);
    return 0;
}

}  // namespace
}  // namespace doxel::bench

int main(int argc, char* argv[])
{
    using namespace doxel;
    using namespace doxel::bench;
    if (argc > 2 && std::string(argv[1]) == "--shown-once")
        return showWindowOnce(argc, argv, argv[2]);
    if (argc > 1 && std::string(argv[1]) == "--startup")
        return compareStartup(argv[0], argc > 2 ? std::atoi(argv[2]) : 9);
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
        writeProjectFile(generated, file, none);
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
        writeProjectFile(form->project(), folder + "/plain.dxp", none);
        plain.push_back(millisecondsSince(start));
        start = Clock::now();
        writeProjectFile(form->project(), folder + "/window.dxp", form->progressReporter());
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

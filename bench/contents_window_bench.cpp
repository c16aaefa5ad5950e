// Speed of the contents commands in the main window, on the generated
// 100,000-entry project (plus a header holding a 10,000-entry subtree):
//   xvfb-run -a -s "-screen 0 1280x800x24" build/release/bench/bench_contents_window [entries]
// or with QT_QPA_PLATFORM=offscreen. Each figure runs the command through
// its menu item or tool button and includes the tree's new layout and one
// repaint; medians of several rounds. Adding 10,000 topic files reads real
// pages written beforehand, with the progress window shown, and reports the
// longest time the window went without handling its events.
// Settings and desktop files go to a temporary folder.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/project_file.h"
#include "generated_project.h"
#include "platform/qsettings_store.h"
#include "quiet_desktop.h"
#include "ui/contents/contents_page.h"
#include "ui/main/main_form.h"
#include "ui/main/progress_form.h"

namespace doxel::bench {
namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string temporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "doxel-contents-bench-XXXXXX").string();
    return ::mkdtemp(pattern.data());
}

std::vector<std::string> writePages(const std::string& folder, int count)
{
    std::vector<std::string> pages;
    for (int i = 0; i < count; ++i) {
        const std::string dir = folder + "/added/part" + std::to_string(i / 500);
        std::filesystem::create_directories(dir);
        pages.push_back(dir + "/page" + std::to_string(i) + ".htm");
        std::ofstream(pages.back(), std::ios::binary)
            << "<html>\r\n<head>\r\n<title>Added page " << i << "</title>\r\n</head>\r\n<body><p>Text of page " << i
            << ".</p></body>\r\n</html>\r\n";
    }
    return pages;
}

class Bench {
public:
    Bench(TMainForm& form, const std::string& file) : m_form(form), m_file(file) {}

    void open()
    {
        m_form.project().modified = false;
        m_form.openRecentProject(m_file);
        settle();
    }

    // The command, the tree's layout and a repaint.
    double timed(const char* action)
    {
        const Clock::time_point start = Clock::now();
        m_form.actions().actionNamed(QString::fromLatin1(action))->trigger();
        settle();
        return millisecondsSince(start);
    }

    void settle()
    {
        ContentsTree* tree = m_form.contentsPage()->tree();
        tree->viewport()->repaint();
        QCoreApplication::processEvents();
    }

    ContentsEntry* big()
    {
        for (const auto& child : m_form.project().titleEntry().children()) {
            if (child->caption == "Big")
                return child.get();
        }
        return nullptr;
    }

    // Selects "Big" and opens it and its branches, as a user would before
    // moving it.
    void openBig()
    {
        ContentsEntry* header = big();
        if (header == nullptr)
            return;
        ContentsTree* tree = m_form.contentsPage()->tree();
        ContentsModel& model = m_form.contentsModel();
        m_form.contentsPage()->selectEntry(header);
        tree->expand(model.indexOf(header));
        for (const auto& branch : header->children())
            tree->expand(model.indexOf(branch.get()));
        settle();
    }

private:
    TMainForm& m_form;
    std::string m_file;
};

}  // namespace
}  // namespace doxel::bench

int main(int argc, char* argv[])
{
    using namespace doxel;
    using namespace doxel::bench;
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int subtree = 10000;
    const int added = 10000;
    const int rounds = 5;
    const std::string folder = temporaryFolder();
    setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);

    QApplication application(argc, argv);
    QSettingsStore settings;
    QuietDesktop desktop(MessageAnswer::No);
    ModalDialogRunner dialogs;
    auto form = std::make_unique<TMainForm>(MainFormServices{
        settings, desktop, dialogs, [] { return std::string(); }, {folder + "/", [] { return std::string(); }}});
    form->setUpWindow();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        std::fprintf(stderr, "the window was not shown\n");

    const std::string file = folder + "/manual.dxp";
    {
        Project generated;
        generateProject(generated, folder, entries, 0);
        addBigHeader(generated, subtree);
        NullProgress none;
        writeProjectFile(generated, file, none);
    }
    Bench bench(*form, file);
    bench.open();
    std::printf("%zu entries below the title, one header with a %d-entry subtree\n", form->project().entryCount() - 1,
                subtree);

    std::vector<double> expand;
    std::vector<double> collapse;
    for (int round = 0; round < rounds; ++round) {
        expand.push_back(bench.timed("Expandallitems1"));
        collapse.push_back(bench.timed("Collapseallitems1"));
    }
    std::printf("expand all: %.0f ms, collapse all: %.0f ms\n", median(expand), median(collapse));

    std::vector<double> sortCollapsed;
    std::vector<double> sortExpanded;
    for (int round = 0; round < 3; ++round) {
        bench.open();
        sortCollapsed.push_back(bench.timed("Alphabetically1"));
        bench.timed("Donotsort1");
        bench.open();
        bench.timed("Expandallitems1");
        sortExpanded.push_back(bench.timed("Alphabetically1"));
        bench.timed("Donotsort1");
    }
    std::printf("sort alphabetically: %.0f ms with the tree collapsed, %.0f ms with every entry shown\n",
                median(sortCollapsed), median(sortExpanded));

    bench.open();
    std::vector<double> moves;
    std::vector<double> movesShown;
    for (int round = 0; round < rounds; ++round) {
        bench.openBig();
        moves.push_back(bench.timed(round % 2 == 0 ? "DownButton" : "UpButton"));
    }
    bench.timed("Expandallitems1");
    for (int round = 0; round < rounds; ++round) {
        bench.openBig();
        movesShown.push_back(bench.timed(round % 2 == 0 ? "DownButton" : "UpButton"));
    }
    std::printf("moving the %d-entry subtree (opened first): %.0f ms; with every entry of the tree shown: %.0f ms\n",
                subtree, median(moves), median(movesShown));

    // Giving every header the picture of the selected one: a progress
    // step for each entry.
    bench.open();
    std::vector<double> assign;
    for (int round = 0; round < 3; ++round) {
        form->contentsPage()->selectEntry(bench.big());
        assign.push_back(bench.timed("toselecteditem1"));
    }
    std::printf("assigning the current picture to all headers: %.0f ms\n", median(assign));

    // Adding topic files: real pages, titles read, the progress window up.
    bench.open();
    desktop.chosen = writePages(folder, added);
    form->contentsPage()->selectEntry(&form->project().titleEntry());
    bench.settle();
    QTimer ticker;
    ticker.setInterval(5);
    Clock::time_point lastTick = Clock::now();
    double longestGap = 0;
    bool progressShown = false;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, millisecondsSince(lastTick));
        lastTick = Clock::now();
        if (TProgress* window = form->progressReporter().window())
            progressShown = progressShown || window->isVisible();
    });
    const std::size_t before = form->project().entryCount();
    ticker.start();
    lastTick = Clock::now();
    const double addTime = bench.timed("NewItemButton");
    ticker.stop();
    const ContentsEntry& title = form->project().titleEntry();
    std::printf(
        "adding %d topic files: %.0f ms (%zu entries added, the last captioned \"%s\"; progress window "
        "%s; longest time without handling events %.0f ms)\n",
        added, addTime, form->project().entryCount() - before, title.child(title.childCount() - 1)->caption.c_str(),
        progressShown ? "shown" : "NOT shown", longestGap);

    form->project().modified = false;
    form.reset();
    std::filesystem::remove_all(folder);
    return 0;
}

// Speed of the contents editor on generated projects:
//   build/release/bench/bench_editing
// Sizes double between runs (50,000, 100,000 and 200,000 entries; 10,000
// and 20,000 moved or added entries) so that a quadratic step shows as a
// fourfold time. The observer answers rows the way a Qt model asks for
// them, so the figures include keeping the rows.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <unistd.h>

#include "editing/contents_editor.h"
#include "editing/edit_history.h"
#include "editing/topic_files.h"
#include "generated_project.h"

namespace doxel::bench {
namespace {

std::string scratchFolder()
{
    // Never destroyed, so that the clean-up at exit can still read it.
    static const std::string& folder = *[] {
        std::string pattern = (std::filesystem::temp_directory_path() / "doxel-editing-bench-XXXXXX").string();
        auto* made = new std::string(::mkdtemp(pattern.data()));
        // Tens of thousands of pages: do not leave them behind.
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(scratchFolder(), error);
        });
        return made;
    }();
    return folder;
}

class QuietDesktop final : public EditorDesktop {
public:
    std::string text(int) override { return "New header"; }
    void beep() override {}
    void showMessage(MessageIcon, int, int) override {}
    void showFixedMessage(MessageIcon, const std::string&, const std::string&) override {}
    bool askYesNo(int, int) override { return true; }
    void saveProjectAs() override {}
    std::vector<std::string> chooseTopicFiles(const std::string&) override { return chosen; }
    std::vector<std::string> chosen;
};

// Asks for the rows a Qt model needs for each report.
class ModelLikeObserver final : public ContentsObserver {
public:
    explicit ModelLikeObserver(ContentsEditor& editor) : m_editor(editor) {}
    void entriesAboutToBeInserted(const ContentsEntry& parent, std::size_t, std::size_t) override { row(parent); }
    void entryAboutToBeMoved(const ContentsEntry& from, std::size_t at, const ContentsEntry& to, std::size_t) override
    {
        row(from);
        row(to);
        m_moved = from.child(at);
    }
    // The view lays out the moved row again.
    void entryMoved() override { row(*m_moved); }
    void entryChanged(const ContentsEntry& entry) override { row(entry); }
    void expansionChanged(const ContentsEntry& entry) override { row(entry); }

private:
    void row(const ContentsEntry& entry)
    {
        if (entry.parent() != nullptr)
            benchmark::DoNotOptimize(m_editor.rowOf(entry));
    }
    ContentsEditor& m_editor;
    const ContentsEntry* m_moved = nullptr;
};

// A project, the editor over it and its observer, ready to time.
struct Rig {
    explicit Rig(int entries) : editor(project, settings, desktop, progress), observer(editor)
    {
        regenerate(entries);
        editor.setObserver(&observer);
    }
    void regenerate(int entries)
    {
        generateProject(project, scratchFolder(), entries, 0);
        editor.projectReplaced();
    }

    Project project;
    MemorySettingsStore settings;
    QuietDesktop desktop;
    NullProgress progress;
    ContentsEditor editor;
    ModelLikeObserver observer;
};

void BM_ExpandAll(benchmark::State& state)
{
    Rig rig(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        rig.editor.expandAll();
        state.PauseTiming();
        rig.editor.collapseAll();
        state.ResumeTiming();
    }
}

void BM_CollapseAll(benchmark::State& state)
{
    Rig rig(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        rig.editor.expandAll();
        state.ResumeTiming();
        rig.editor.collapseAll();
    }
}

void BM_SortAlphabetically(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    Rig rig(entries);
    for (auto _ : state) {
        state.PauseTiming();
        rig.regenerate(entries);
        state.ResumeTiming();
        rig.editor.sortAlphabetically();
    }
}

// Opens `big` and its branches, as a user would before moving it; the
// rest of the tree stays collapsed, so `big` stays among the title
// entry's tens of thousands of children.
void expandSubtree(ContentsEditor& editor, ContentsEntry& big)
{
    editor.entryExpanding(big);
    for (const auto& branch : big.children())
        editor.entryExpanding(*branch);
}

void BM_MoveLargeSubtree(benchmark::State& state)
{
    Rig rig(static_cast<int>(state.range(0)));
    ContentsEntry& big = addBigHeader(rig.project, static_cast<int>(state.range(1)));
    rig.editor.projectReplaced();
    rig.editor.select(&big);
    bool down = true;
    for (auto _ : state) {
        state.PauseTiming();
        expandSubtree(rig.editor, big);
        state.ResumeTiming();
        rig.editor.moveSelected(down ? MoveDirection::Down : MoveDirection::Up);
        down = !down;
    }
}

void BM_DropLargeSubtree(benchmark::State& state)
{
    Rig rig(static_cast<int>(state.range(0)));
    ContentsEntry& big = addBigHeader(rig.project, static_cast<int>(state.range(1)));
    rig.editor.projectReplaced();
    ContentsEntry& title = rig.project.titleEntry();
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        expandSubtree(rig.editor, big);
        ContentsEntry* target = title.child(static_cast<std::size_t>(turn++ % 2 == 0 ? 0 : title.childCount() - 1));
        if (target == &big)
            target = title.child(1);
        state.ResumeTiming();
        rig.editor.startDrag(big);
        rig.editor.dropOn(target);
        rig.editor.endDrag();
    }
}

// `count` pages with titles in subfolders of the scratch folder, written
// once.
const std::vector<std::string>& topicFiles(int count)
{
    static std::map<int, std::vector<std::string>> made;
    auto& files = made[count];
    if (files.empty()) {
        const std::string folder = scratchFolder() + "/added" + std::to_string(count);
        for (int i = 0; i < count; ++i) {
            const std::string sub = folder + "/part" + std::to_string(i / 1000);
            if (i % 1000 == 0)
                std::filesystem::create_directories(sub);
            files.push_back(sub + "/page" + std::to_string(i) + ".htm");
            std::ofstream(files.back()) << "<html>\r\n<head>\r\n<meta charset=\"windows-1252\">\r\n<title>Page number "
                                        << i << " &auml;</title>\r\n</head>\r\n<body><p>Text of page " << i
                                        << ".</p></body>\r\n</html>\r\n";
        }
    }
    return files;
}

void BM_AddTopicFiles(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    Rig rig(entries);
    rig.desktop.chosen = topicFiles(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        rig.regenerate(entries);
        rig.editor.select(rig.project.titleEntry().child(0));
        state.ResumeTiming();
        rig.editor.addTopics();
    }
    state.counters["file_rows"] = static_cast<double>(rig.project.fileList.size());
}

void BM_FileListLookUp(benchmark::State& state)
{
    Rig rig(static_cast<int>(state.range(0)));
    std::vector<std::string> wanted;
    std::mt19937 random(7);
    for (int i = 0; i < 1000; ++i) {
        wanted.push_back(rig.project.fileList[random() % rig.project.fileList.size()].path);
        wanted.push_back(scratchFolder() + "/chapter3/missing" + std::to_string(i) + ".htm");
    }
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rig.project.fileList.find(topicPathOf(wanted[next])));
        next = (next + 1) % wanted.size();
    }
}

void BM_AddHeaderByPlacement(benchmark::State& state)
{
    Rig rig(static_cast<int>(state.range(0)));
    ContentsEntry& title = rig.project.titleEntry();
    rig.editor.select(title.child(title.childCount() / 2));
    for (auto _ : state) {
        rig.editor.addHeader();
        state.PauseTiming();
        rig.editor.select(title.child(title.childCount() / 2));
        state.ResumeTiming();
    }
}

void BM_AddOneNewTopicFile(benchmark::State& state)
{
    Rig rig(static_cast<int>(state.range(0)));
    const std::vector<std::string>& files = topicFiles(10000);
    rig.editor.select(rig.project.titleEntry().child(0));
    std::size_t next = 0;
    for (auto _ : state)
        rig.editor.addTopicFiles({files[next++ % files.size()]});
}

ContentsEntry* headerCaptioned(Project& project, const std::string& caption)
{
    for (const auto& child : project.titleEntry().children()) {
        if (child->caption == caption)
            return child.get();
    }
    return nullptr;
}

// Delete a header of 10,000 entries in a project of 100,000 or 200,000,
// then time its undo (with the editor taking the tree up again, as the
// window has it) or the delete itself (its step copies the tree first).
void BM_UndoDeleteLargeSubtree(benchmark::State& state)
{
    Rig rig(static_cast<int>(state.range(0)));
    EditHistory history(rig.project);
    rig.editor.setHistory(&history);
    ContentsEntry& big = addBigHeader(rig.project, static_cast<int>(state.range(1)));
    rig.editor.projectReplaced();
    const std::string caption = big.caption;
    for (auto _ : state) {
        state.PauseTiming();
        rig.editor.select(headerCaptioned(rig.project, caption));
        rig.editor.deleteSelected();
        state.ResumeTiming();
        history.undo();
        rig.editor.projectReplaced();
    }
}

void BM_DeleteLargeSubtreeWithHistory(benchmark::State& state)
{
    Rig rig(static_cast<int>(state.range(0)));
    EditHistory history(rig.project);
    rig.editor.setHistory(&history);
    ContentsEntry& big = addBigHeader(rig.project, static_cast<int>(state.range(1)));
    rig.editor.projectReplaced();
    const std::string caption = big.caption;
    for (auto _ : state) {
        state.PauseTiming();
        history.clear();
        rig.editor.select(headerCaptioned(rig.project, caption));
        state.ResumeTiming();
        rig.editor.deleteSelected();
        state.PauseTiming();
        history.undo();
        rig.editor.projectReplaced();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_UndoDeleteLargeSubtree)->Args({100000, 10000})->Args({200000, 10000})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteLargeSubtreeWithHistory)
    ->Args({100000, 10000})
    ->Args({200000, 10000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandAll)->Arg(50000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollapseAll)->Arg(50000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortAlphabetically)->Arg(50000)->Arg(100000)->Arg(200000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveLargeSubtree)
    ->Args({100000, 10000})
    ->Args({100000, 20000})
    ->Args({200000, 10000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DropLargeSubtree)
    ->Args({100000, 10000})
    ->Args({100000, 20000})
    ->Args({200000, 10000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddTopicFiles)
    ->Args({100000, 10000})
    ->Args({100000, 20000})
    ->Args({200000, 10000})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileListLookUp)->Arg(50000)->Arg(100000)->Arg(200000);
BENCHMARK(BM_AddHeaderByPlacement)->Arg(50000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddOneNewTopicFile)->Arg(50000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace doxel::bench

BENCHMARK_MAIN();

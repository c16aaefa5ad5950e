// Speed of the keyword index editor with automatic sorting on:
//   build/release/bench/bench_keywords
// Adding or editing one keyword puts the row in its place without sorting
// the list again, so its time barely grows with the list (10,000, 20,000
// and 40,000 keywords); a full sort by the header is shown beside it for
// comparison.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "editing/keyword_index.h"

namespace doxel::bench {
namespace {

class QuietDesktop final : public KeywordDesktop {
public:
    void beep() override {}
    std::string text(int) override { return {}; }
    std::optional<KeywordEntry> askProperties(const KeywordEntry&, const std::vector<std::string>&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> askText(const std::string&, const std::string&, const std::string&) override
    {
        return answer;
    }
    bool askYesNo(int, int) override { return true; }
    std::string answer;
};

// Keywords as authors write them: one or two words of mixed case, many
// sharing their first letters.
std::string randomKeyword(std::mt19937& random)
{
    static const char* const words[] = {"install", "Install", "setup", "window", "Window", "file", "print",
                                        "printer", "options", "über",  "error",  "errors", "help", "index"};
    std::string keyword = words[random() % std::size(words)];
    keyword += ' ';
    for (int i = 0; i < 6; ++i)
        keyword += static_cast<char>('a' + random() % 26);
    return keyword;
}

struct Rig {
    explicit Rig(std::size_t count)
    {
        project.keywords.reserve(count + 1);
        for (std::size_t i = 0; i < count; ++i)
            project.keywords.push_back({randomKeyword(random), "/help/page" + std::to_string(i) + ".htm"});
        index.setAutoSort(true);
    }

    std::mt19937 random{42};
    Project project;
    QuietDesktop desktop;
    KeywordIndex index{project, desktop};
};

// Add keyword for the selected topic, then Delete, so the list keeps its
// length; each pair is one iteration.
void AddAndDeleteKeyword(benchmark::State& state)
{
    Rig rig(static_cast<std::size_t>(state.range(0)));
    ContentsEntry& topic =
        *rig.project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Topic", 8, "/help/a.htm"));
    for (auto _ : state) {
        rig.desktop.answer = randomKeyword(rig.random);
        rig.index.add(&topic);
        rig.index.deleteSelected();
    }
    state.counters["keywords"] = static_cast<double>(rig.project.keywords.size());
}
BENCHMARK(AddAndDeleteKeyword)->Arg(10'000)->Arg(20'000)->Arg(40'000)->Unit(benchmark::kMicrosecond);

// Edit keyword on a row anywhere in the list; the row moves to its new place.
void EditKeyword(benchmark::State& state)
{
    Rig rig(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        rig.index.select(rig.random() % rig.project.keywords.size());
        rig.desktop.answer = randomKeyword(rig.random);
        rig.index.edit();
    }
}
BENCHMARK(EditKeyword)->Arg(10'000)->Arg(20'000)->Arg(40'000)->Unit(benchmark::kMicrosecond);

// A click on the "Keyword" header sorts the whole list once, alternately
// ascending and descending, so every sort has work to do.
void SortByHeader(benchmark::State& state)
{
    Rig rig(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        rig.index.headerClicked(0);
}
BENCHMARK(SortByHeader)->Arg(20'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace doxel::bench

BENCHMARK_MAIN();

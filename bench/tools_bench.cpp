// The content tools' inner loops: replaceEveryOccurrence over texts of growing size
// with a match every 64 bytes (time must grow linearly with the text, so
// the per-byte time stays flat), with and without letter case, and a
// text turned into a page.
//   build/release/bench/bench_tools --benchmark_min_time=0.2
#include <benchmark/benchmark.h>

#include <string>

#include "tools/replace.h"
#include "tools/txt_to_html.h"

namespace {

std::string textOf(std::size_t size)
{
    std::string text;
    const std::string line = "<TD BGCOLOR=\"#FFFFFF\">a cell of a table row, then more words</TD>\r";
    while (text.size() < size)
        text += line;
    return text;
}

void replaceAll(benchmark::State& state, bool ignoreCase)
{
    const std::string text = textOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            doxel::replaceEveryOccurrence(text, "bgcolor=\"#ffffff\"", "BGCOLOR=\"#0080C0\"", ignoreCase));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    state.SetComplexityN(state.range(0));
}

void BM_ReplaceAllIgnoringCase(benchmark::State& state)
{
    replaceAll(state, true);
}

void BM_ReplaceAllMatchingCase(benchmark::State& state)
{
    // Every occurrence differs in case, so the text is scanned without a
    // match: the plain search speed.
    replaceAll(state, false);
}

void BM_PageOf(benchmark::State& state)
{
    const std::string text = textOf(static_cast<std::size_t>(state.range(0)));
    const doxel::PageOptions options;
    for (auto _ : state)
        benchmark::DoNotOptimize(doxel::pageOf(text, "Title", options));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

}  // namespace

BENCHMARK(BM_ReplaceAllIgnoringCase)->RangeMultiplier(8)->Range(1 << 12, 1 << 24)->Complexity(benchmark::oN);
BENCHMARK(BM_ReplaceAllMatchingCase)->RangeMultiplier(8)->Range(1 << 12, 1 << 24)->Complexity(benchmark::oN);
BENCHMARK(BM_PageOf)->Arg(1 << 20)->Arg(1 << 24);

BENCHMARK_MAIN();

// The search index of a help file: pages of about 2 KB of German text (the
// size of the 2,000-page comparison project) with words drawn from a
// vocabulary of 40,000, the most common ones most often.
//   build/dev/bench/bench_fulltext --benchmark_filter=FullText
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <random>

#include "compiler/fulltext/fulltext_index.h"

namespace {

std::vector<std::string> vocabulary()
{
    static const char* const syllables[] = {"ver", "ein",   "stel", "lung", "grü", "ße",  "mün", "chen", "da",   "tei",
                                            "pro", "gramm", "hil",  "fe",   "öff", "nen", "in",  "halt", "such", "en"};
    std::mt19937 random(1);
    std::vector<std::string> words;
    for (int i = 0; i < 40000; ++i) {
        std::string word;
        const int count = 2 + static_cast<int>(random() % 3);
        for (int s = 0; s < count; ++s)
            word += syllables[random() % 20];
        words.push_back(word + std::to_string(i % 97));
    }
    return words;
}

std::vector<doxel::chm::FullTextPage> pages(int count)
{
    const std::vector<std::string> words = vocabulary();
    std::mt19937 random(2);
    // Word i is drawn about 1/(i+1) as often as word 0.
    std::vector<double> weights;
    for (std::size_t i = 0; i < words.size(); ++i)
        weights.push_back(1.0 / static_cast<double>(i + 1));
    std::discrete_distribution<int> zipf(weights.begin(), weights.end());
    std::vector<doxel::chm::FullTextPage> result;
    for (int p = 0; p < count; ++p) {
        std::string html = "<html><head><title>Seite " + std::to_string(p) +
                           "</title><style>p { margin: 0 }</style></head><body>\n<h1>" + words[zipf(random)] +
                           "</h1>\n";
        while (html.size() < 2200) {
            html += "<p>";
            for (int w = 0; w < 12; ++w)
                html += (w == 3 ? "<b>" + words[zipf(random)] + "</b>" : words[zipf(random)]) + ' ';
            html += "&amp; ende.</p>\n";
        }
        html += "</body></html>\n";
        result.push_back({static_cast<std::uint32_t>(p), "Seite " + std::to_string(p), std::move(html)});
    }
    return result;
}

void BM_FullTextIndex(benchmark::State& state)
{
    const auto input = pages(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (const auto& page : input)
        bytes += page.html.size();
    std::size_t indexSize = 0;
    for (auto _ : state) {
        const auto result = doxel::chm::buildFullTextIndex(input, {1252, 0x407});
        indexSize = result.data.size();
        benchmark::DoNotOptimize(result.data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["index_bytes"] = static_cast<double>(indexSize);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["max_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_FullTextIndex)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullTextIndex)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();

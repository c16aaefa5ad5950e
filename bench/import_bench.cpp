// The import of a large help project: an .hhc of 100,000 entries and an
// .hhk of 20,000 keywords, read alone (the sitemap reader) and imported
// whole (with the topic files on disk). Bytes per second are those of the
// sitemap text.
//   cmake --build --preset dev --target bench_import
//   build/dev/bench/bench_import --benchmark_min_time=1
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/path_rules.h"
#include "formats/sitemap_reader.h"
#include "import/project_import.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEntries = 100'000;
constexpr int kKeywords = 20'000;
constexpr int kFolders = 100;

std::string topic(int n)
{
    return "chapter" + std::to_string(n % kFolders) + "/topic" + std::to_string(n) + ".htm";
}

// The contents as a documentation generator writes it: chapters of ten
// sections, each with nine topics below.
std::string contentsText()
{
    std::string out =
        "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<HTML>\n<HEAD>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\n</HEAD><BODY>\n<UL>\n";
    for (int n = 0; n < kEntries; ++n) {
        const bool head = n % 10 == 0;
        if (head && n > 0)
            out += "</UL>\n";
        out += "<LI><OBJECT type=\"text/sitemap\">\n<param name=\"Name\" value=\"Topic &amp; section " +
               std::to_string(n) +
               " \xC3\xBC"
               "ber\">\n<param name=\"Local\" value=\"" +
               topic(n) + "#s" + std::to_string(n) + "\">\n<param name=\"ImageNumber\" value=\"11\">\n</OBJECT>\n";
        if (head)
            out += "<UL>\n";
    }
    return out + "</UL>\n</UL>\n</BODY></HTML>\n";
}

std::string indexText()
{
    std::string out = "<HTML><BODY>\n<UL>\n";
    for (int n = 0; n < kKeywords; ++n) {
        out += "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"keyword " + std::to_string(n) +
               "\"><param name=\"Local\" value=\"" + topic(n * 5) + "\"></OBJECT>\n";
        if (n % 4 == 0) {
            out +=
                "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"sub\"><param name=\"Local\" "
                "value=\"" +
                topic(n * 5 + 1) + "\"></OBJECT></UL>\n";
        }
    }
    return out + "</UL>\n</BODY></HTML>\n";
}

void BM_ReadContents(benchmark::State& state)
{
    const std::string text = contentsText();
    for (auto _ : state)
        benchmark::DoNotOptimize(doxel::readSitemap(text, nullptr, "big.hhc"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadContents)->Unit(benchmark::kMillisecond);

void BM_ReadIndex(benchmark::State& state)
{
    const std::string text = indexText();
    for (auto _ : state)
        benchmark::DoNotOptimize(doxel::readSitemap(text, nullptr, "big.hhk"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadIndex)->Unit(benchmark::kMillisecond);

// The whole import from files, topic files on disk.
void BM_ImportProject(benchmark::State& state)
{
    const fs::path folder = fs::temp_directory_path() / "doxel-bench-import";
    fs::remove_all(folder);
    for (int n = 0; n < kEntries; ++n) {
        const fs::path page = folder / topic(n);
        if (n < kFolders)
            fs::create_directories(page.parent_path());
        std::ofstream(page) << "x";
    }
    const std::string contents = contentsText();
    const std::string index = indexText();
    std::ofstream(folder / "big.hhc") << contents;
    std::ofstream(folder / "big.hhk") << index;
    std::ofstream(folder / "big.hhp") << "[OPTIONS]\nContents file=big.hhc\nIndex file=big.hhk\nTitle=Big\n";
    for (auto _ : state) {
        doxel::Project project;
        const doxel::ImportReport report =
            doxel::importHelpProject((folder / "big.hhp").string(), (folder / "big.dxp").string(), project);
        if (!report.notes.empty())
            state.SkipWithError(report.notes.front().c_str());
        benchmark::DoNotOptimize(project.entryCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * (contents.size() + index.size())));
    fs::remove_all(folder);
}
BENCHMARK(BM_ImportProject)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

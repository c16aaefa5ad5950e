// Speed and memory of the project core on generated projects:
//   build/release/bench/bench_project
// Each benchmark runs at 50,000, 100,000 and 200,000 entries so that a
// quadratic step shows as a fourfold time for a doubled project.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "core/project_file.h"
#include "generated_project.h"
#include "output/compiler_files.h"

namespace doxel::bench {
namespace {

std::string scratchFolder()
{
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "doxel-bench-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return folder;
}

int keywordsFor(int entries)
{
    return entries / 5;
}

void BM_ModelMemory(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        Project project;
        generateProject(project, scratchFolder(), entries, keywordsFor(entries));
        state.counters["model_MB"] = static_cast<double>(heapInUse() - before) / (1024.0 * 1024.0);
    }
}

void BM_WriteProjectFile(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    Project project;
    generateProject(project, scratchFolder(), entries, keywordsFor(entries));
    const std::string file = scratchFolder() + "/manual.dxp";
    NullProgress progress;
    for (auto _ : state)
        writeProjectFile(project, file, progress);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(file)));
}

void BM_ReadProjectFile(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    const std::string file = scratchFolder() + "/read" + std::to_string(entries) + ".dxp";
    {
        Project project;
        generateProject(project, scratchFolder(), entries, keywordsFor(entries));
        NullProgress progress;
        writeProjectFile(project, file, progress);
    }
    double modelMegabytes = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        auto project = std::make_unique<Project>();
        readProjectFile(*project, file);
        modelMegabytes = static_cast<double>(heapInUse() - before) / (1024.0 * 1024.0);
        // Freeing the project read is not part of reading it.
        state.PauseTiming();
        project.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(file)));
    state.counters["model_MB"] = modelMegabytes;
}

void BM_WriteCompilerFiles(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    Project project;
    generateProject(project, scratchFolder(), entries, keywordsFor(entries));
    project.deriveCompilerFileNames();
    NullProgress progress;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const std::string& file : writeCompilerFiles(project, progress).written)
            bytes += static_cast<std::int64_t>(std::filesystem::file_size(file));
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

BENCHMARK(BM_ModelMemory)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteProjectFile)->Arg(50000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadProjectFile)->Arg(50000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteCompilerFiles)->Arg(50000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace doxel::bench

BENCHMARK_MAIN();

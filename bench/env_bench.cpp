// What the environment adds to the program's start-up: finding the
// desktop's CHM viewer and its version (GIO and two dpkg-query runs), and
// the start-up steps around it (folders, log folder test, debug flag).
//   build/dev/bench/bench_env
#include <benchmark/benchmark.h>

#include <filesystem>

#include "env/environment.h"
#include "platform/chm_viewer.h"

namespace {

void BM_DesktopChmViewerVersion(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(doxel::desktopChmViewerVersion());
}
BENCHMARK(BM_DesktopChmViewerVersion)->Unit(benchmark::kMillisecond);

void BM_StartEnvironment(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "doxel-bench-env";
    std::filesystem::create_directories(folder);
    doxel::StartupInputs inputs;
    inputs.modulePath = (folder / "doxel").string();
    inputs.arguments = {inputs.modulePath};
    inputs.fallbackLogFolder = folder.string();
    inputs.helpViewerVersion = doxel::desktopChmViewerVersion;
    inputs.browserVersion = [] { return doxel::ComponentVersion{"102.0.5005.177", "Qt WebEngine 6.4.2"}; };
    for (auto _ : state)
        benchmark::DoNotOptimize(doxel::startEnvironment(inputs));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_StartEnvironment)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>

namespace doxel::bench {

// Milliseconds the process has run, from /proc (loading the libraries
// included).
inline double processAgeMilliseconds()
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

// The resident set now, in MB (VmRSS).
inline double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    }
    return 0;
}

// Whether the web engine's core library is mapped into the process.
inline bool webEngineMapped()
{
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        if (line.find("libQt6WebEngineCore") != std::string::npos)
            return true;
    }
    return false;
}

// The one line a start-up child prints for bench_window --startup.
inline void printStartupProbe()
{
    std::printf("shown %.1f ms, %.1f MB, web engine %s\n", processAgeMilliseconds(), residentMegabytes(),
                webEngineMapped() ? "mapped" : "not mapped");
    std::fflush(stdout);
}

}  // namespace doxel::bench

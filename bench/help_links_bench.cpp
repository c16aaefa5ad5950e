// Times the check that reads a compiled help file back as a viewer does:
//   bench_help_links FILE.chm CONTENTS INDEX [ROUNDS]
// CONTENTS and INDEX are the names of the contents and index files at the
// top of the help file ("manual.hhc"). Prints the entries checked, the
// warnings and the fastest of ROUNDS runs (default 3) in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/errors.h"
#include "output/compiled_help_check.h"
#include "platform/chmcmd_compiler.h"

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s FILE.chm CONTENTS INDEX [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;
    try {
        doxel::ChmcmdCompiler reader;
        double fastest = 1e300;
        std::size_t warnings = 0;
        for (int i = 0; i < rounds; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const auto help = reader.openCompiled(argv[1]);
            warnings = doxel::checkHelpFileLinks(*help, argv[2], argv[3]).size();
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
            fastest = std::min(fastest, took.count());
        }
        std::printf("help file check: %zu warnings, %.1f ms\n", warnings, fastest);
    } catch (const doxel::Error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}

// Compiles one help project (.hhp) with the built-in compiler and nothing
// else around it, for bench/compile_bench.sh to set beside chmcmd alone.
#include <cstdio>

#include "compiler/help_compiler.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_chm_compile FILE.hhp\n");
        return 2;
    }
    const bool compiled =
        doxel::chm::compileHelpProject(argv[1], [](const std::string& line) { std::printf("%s\n", line.c_str()); });
    return compiled ? 0 : 1;
}

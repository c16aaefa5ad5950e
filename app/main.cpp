#include <cstdio>
#include <string>
#include <vector>

#include "app/command_jobs.h"
#include "app/compile_job.h"
#include "core/command_line.h"

int main(int argc, char* argv[])
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    // Installed as a link named doxel-hhc, the program is a help compiler
    // with the command line build tools expect of one.
    const std::string name = argc > 0 ? argv[0] : "";
    if (name == "doxel-hhc" || name.ends_with("/doxel-hhc"))
        return doxel::compileForBuildTools(arguments);
    return doxel::runCommandLine(doxel::parseCommandLine(arguments));
}

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_jobs.h"
#include "core/command_line.h"

int main(int argc, char* argv[])
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return doxel::runCommandLine(doxel::parseCommandLine(arguments));
}

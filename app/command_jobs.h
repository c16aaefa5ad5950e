#pragma once

#include "core/command_line.h"

namespace doxel {

// Runs what the command line asks for and returns the exit status.
int runCommandLine(const CommandLine& command);

}  // namespace doxel

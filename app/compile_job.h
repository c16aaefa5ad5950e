#pragma once

#include <string>

namespace doxel {

class SettingsStore;

// The compiler's log file for a run without a window: the LogFile setting,
// or its default when it is empty or cannot be read.
std::string commandLineLogFile(SettingsStore& settings);

// `doxel --compile FILE.dxp`: writes the compiler's input files, compiles
// without any window, prints the compiler's lines and then the six counts
// on standard output, and deletes the input files. Returns 0 on success, 1
// when errors were counted, 2 when the project could not be read or the
// compiler could not run (the input files are then kept).
int compileFromCommandLine(const std::string& projectFile);

}  // namespace doxel

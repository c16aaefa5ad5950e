#pragma once

#include <string>

namespace doxel {

// `doxel --compile FILE.dxp`: writes the compiler's input files, compiles
// without any window, prints the compiler's lines and then the six counts
// on standard output, and deletes the input files. Returns 0 on success, 1
// when errors were counted, 2 when the project could not be read or the
// compiler could not run (the input files are then kept).
int compileFromCommandLine(const std::string& projectFile);

}  // namespace doxel

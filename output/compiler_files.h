#pragma once

#include <string>
#include <vector>

#include "core/path_rules.h"
#include "core/progress.h"
#include "core/project.h"

namespace doxel {

// Writes the compiler's input files under the names the project holds
// (Project::deriveCompilerFileNames sets them), in the order the compile
// needs them: the index file, the help project file, the contents file.
// The help project is written as the compiler gets it: every file named
// relative to the project folder, so that the files can be moved and
// compiled anywhere, and no log file (the compile run writes the log).
// Returns the paths written, in that order. Throws IoError; a file that
// fails stops the files after it.
std::vector<std::string> WriteCompilerInputFiles(const Project& project, ProgressReporter& progress,
                                                 PathStyle style = kNativePathStyle);

}  // namespace doxel

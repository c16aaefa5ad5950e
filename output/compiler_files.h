#pragma once

#include <string>
#include <vector>

#include "core/path_rules.h"
#include "core/progress.h"
#include "core/project.h"

namespace doxel {

// Sets the project's four compiler file names from its project file and
// writes the compiler's input files next to it, in the order the compile
// needs them: the index file, the help project file (with `logFile` as its
// error log), the contents file. Returns the paths written, in that order.
// Throws IoError; a file that fails stops the files after it.
std::vector<std::string> WriteCompilerInputFiles(Project& project, const std::string& logFile,
                                                 ProgressReporter& progress, PathStyle style = kNativePathStyle);

}  // namespace doxel

#pragma once

#include <string>
#include <vector>

#include "core/desktop.h"

namespace doxel {

// Opens a file, a program or an address as the desktop's default action
// would. Without parameters the file or address goes to the desktop's
// handler; with parameters `file` is a program started with them, split
// like a shell would but never run through one. `folder` is the working
// folder of a started program (may be empty). Failures are not reported.
void shellOpen(Desktop& desktop, const std::string& file, const std::string& parameters = {},
               const std::string& folder = {});

// Splits a command line into arguments the way a shell splits words:
// blanks separate, double quotes group (a doubled quote inside quotes is a
// quote), nothing else is special. So `editor "my file.htm" -x` gives
// editor, my file.htm, -x.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

}  // namespace doxel

#pragma once

#include <string>

namespace doxel {

// `doxel --import SOURCE [PROJECT.dxp]`: a new project from an HTML Help
// project, a contents file or a compiled help file. Prints the import's
// report; returns 0 when the project was written, 2 when it could not be
// (an existing project file among the reasons).
int importFromCommandLine(const std::string& source, const std::string& projectFile);

}  // namespace doxel

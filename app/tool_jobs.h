#pragma once

#include <string>
#include <vector>

namespace doxel {

// `doxel --txt-to-html [options] FILE.txt...`: writes each page beside its
// text file, prints each page's path and then the wizard's count line.
// `doxel --replace [options] SEARCH REPLACEMENT FILE...`: replaces in the
// files and prints how many were processed and how many changed.
// Both return 0 on success, 1 when a file could not be read or written (named
// on standard error; the other files are still done), 2 for wrong usage.
int txtToHtmlFromCommandLine(const std::vector<std::string>& arguments);
int replaceFromCommandLine(const std::vector<std::string>& arguments);

}  // namespace doxel

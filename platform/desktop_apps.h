#pragma once

#include <string>

namespace doxel {

// The desktop's HTML editor: the first application registered for
// "text/html" that is not a web browser, as its command line with every
// double quote removed ("bluefish %U"); empty when there is none.
std::string findDesktopHtmlEditor();

}  // namespace doxel

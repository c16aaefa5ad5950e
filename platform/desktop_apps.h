#pragma once

#include <string>

namespace doxel {

// The desktop's HTML editor: the first application registered for
// "text/html" that is neither a web browser nor a terminal program, as its
// command line with every double quote removed ("bluefish %U"); empty when
// there is none.
std::string findDesktopHtmlEditor();

}  // namespace doxel

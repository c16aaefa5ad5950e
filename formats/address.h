#pragma once

#include <string_view>

namespace doxel {

// Whether a link target names an address ("http://x", "mailto:x",
// "mk:@MSITStore:a.chm::/b.htm", "ms-its:a.chm::/b.htm") rather than a file:
// a scheme of a letter and then letters, digits, "+", "-" or ".", two
// characters or more, before a colon. A single letter is a Windows drive
// ("c:\help\a.htm"), which names a file.
bool isAddress(std::string_view target);

}  // namespace doxel

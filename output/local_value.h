#pragma once

#include <string>
#include <string_view>

namespace doxel {

// Help viewers read a "Local" value of the contents and index as HTML and
// then as a URL. A file path goes in with "&" as "&amp;", "%" as "%25" and,
// before its anchor, "?" as "%3F", so that it leads to the file it names
// ("q&a.htm", "100% sure.htm", "what?.htm").
std::string localValueOf(std::string_view path);

// The file part of a "Local" value whose references are decoded, as a
// viewer takes it: cut at the anchor or query, "%XX" escapes decoded, and
// a "%" that starts none dropped with the character after it.
std::string filePartOfLocal(std::string_view decoded);

// `decoded` with "%XX" escapes decoded in its file part; the anchor or
// query after it kept as it is.
std::string percentDecodedLocal(std::string_view decoded);

}  // namespace doxel

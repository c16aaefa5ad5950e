#pragma once

#include <string>
#include <string_view>

namespace doxel {

// Help viewers read a "Local" value of the contents and index as HTML and
// then as a URL. A file path goes in with "&" as "&amp;", "%" as "%25" and,
// before its anchor, "?" as "%3F", so that it leads to the file it names
// ("q&a.htm", "100% sure.htm", "what?.htm").
std::string localValueOf(std::string_view path);
// localValueOf, appended to `out`.
void appendLocalValue(std::string& out, std::string_view path);

// The file part of a "Local" value whose references are decoded, as a
// viewer takes it: cut at the anchor or query, "%XX" escapes decoded, and
// a "%" that starts none dropped with the character after it.
std::string filePartOfLocal(std::string_view decoded);

// A file name as a local URL ("what?.htm" gives "what%3F.htm"): "%", "?"
// and "#" escaped, so that it is not cut at a query or an anchor.
std::string urlOfFileName(std::string_view name);

}  // namespace doxel

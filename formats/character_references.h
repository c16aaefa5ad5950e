#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace doxel {

struct HtmlEntity {
    std::string_view name;   // without "&", with ";" where the name has it
    std::string_view value;  // UTF-8
};

extern const HtmlEntity kHtmlEntities[];
extern const std::size_t kHtmlEntityCount;

// A UTF-8 text with its character references decoded as a browser shows
// them in a page's title: named ones from the whole table of HTML (the
// longest name that matches, so "&notin;" is one character while
// "&notit;" is "¬it;"), and "&#N;" and "&#xH;" (the ";" may be missing).
// A number of 0, a surrogate or one beyond U+10FFFF gives U+FFFD; 128 to
// 159 are read as Windows-1252, as browsers do. "&nbsp;" gives a plain
// space, since a caption is shown in the tree. Anything else stays as is.
std::string decodeHtmlReferences(std::string_view text);

}  // namespace doxel

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

// Where a text with character references stands, for the few rules that
// differ.
struct ReferenceRules {
    // An attribute value (an address, a sitemap's "Name" or "Local"): a name
    // without its ";" that a letter, digit or "=" follows stays as it is.
    bool inAttribute = false;
    // "&nbsp;" as a plain space, for a caption shown in a tree.
    bool nbspAsSpace = false;
};

// A UTF-8 text with its character references decoded as a browser decodes
// them: named ones from the whole table of HTML (the longest name that
// matches, so "&notin;" is one character while "&notit;" is "¬it;"), and
// "&#N;" and "&#xH;" (the ";" may be missing). A number of 0, a surrogate or
// one beyond U+10FFFF gives U+FFFD; 128 to 159 are read as Windows-1252, as
// browsers do. Anything else stays as it is. Every reader of the help
// formats and of pages decodes through this one function.
std::string decodeCharacterReferences(std::string_view text, ReferenceRules rules = {});

}  // namespace doxel

#pragma once

#include <string>
#include <string_view>

namespace doxel::chm {

// The text a reader of the page sees, as UTF-8: tags, comments, scripts and
// styles are left out and character references decoded. A tag that breaks
// a line or a block ("<p>", "<td>", "<br>") leaves a space, so the words on
// either side stay apart, while an inline one ("<b>", "<span>") leaves
// nothing: "<b>Mün</b>chen" reads "München", and so do comments. The title
// element's text is part of it.
std::string visiblePageText(std::string_view html);

}  // namespace doxel::chm

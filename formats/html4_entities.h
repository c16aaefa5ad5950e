#pragma once

#include <string>
#include <string_view>

namespace doxel {

// Every named HTML 4 entity ("&auml;", "&amp;") and every numeric reference
// ("&#1046;", "&#x416;") of a UTF-8 text turned into its character. An "&"
// that starts no known entity, or one without its ";", stays as it is.
std::string decodeHtmlEntities(std::string_view text);

}  // namespace doxel

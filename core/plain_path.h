#pragma once

#include <string>
#include <string_view>

namespace doxel {

// `text` with every "\" turned into "/": help projects and pages write paths
// with either.
std::string forwardSlashes(std::string text);

// A path relative to a folder ("pages\..\a.htm", "./b.htm") made plain: "/"
// separated, without "." and empty parts, each ".." taking back the part
// before it. Empty when it leads outside the folder ("../a.htm",
// "a/../../b.htm") or names the folder itself: a help file takes nothing
// from outside its project folder.
std::string plainRelativePath(std::string_view relative);

// `text` with each "%XX" (two hex digits) turned into its byte; a "%" that
// starts no such escape stays.
std::string percentDecoded(std::string_view text);

}  // namespace doxel

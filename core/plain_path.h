#pragma once

#include <string>
#include <string_view>

namespace doxel {

// `text` with every "\" turned into "/": help projects and pages write paths
// with either.
std::string forwardSlashes(std::string_view text);

// A path relative to a folder ("pages\..\a.htm", "./b.htm") made plain: "/"
// separated, without "." and empty parts, each ".." taking back the part
// before it. Empty when it leads outside the folder ("../a.htm",
// "a/../../b.htm") or names the folder itself: a help file takes nothing
// from outside its project folder.
std::string plainRelativePath(std::string_view relative);

// What becomes of a "%" that starts no escape: kept, or dropped with the
// character after it, as help viewers do with a page's name ("100% sure.htm"
// leads to "100sure.htm").
enum class LonePercent { Keep, DropWithNext };

// `text` with each "%XX" (two hex digits) turned into its byte.
std::string percentDecoded(std::string_view text, LonePercent lone = LonePercent::Keep);

}  // namespace doxel

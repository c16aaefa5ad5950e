#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace doxel {

// Which files a tool lists from a folder, by the extension of the name in
// any letter case (the part from the last "."): the TXT to HTML wizard takes
// ".txt"; search and replace takes ".txt", ".htm" and ".html", so "x.Htm"
// and "Y.HTML" are taken while "x.shtml" and "x.asp" are not.
enum class ToolFileKind { Text, TextAndHtml };

bool toolTakesFile(std::string_view name, ToolFileKind kind);

// The entries of one folder (subfolders are not entered; hidden entries are
// included) that the tool takes, each as folder + "/" + name, in the order
// of their names. A folder listing on Linux comes in no useful order, so
// the names are sorted by their bytes, the order a Windows listing gives.
// With `subfolders`, the files of each subfolder follow, folder by folder
// in name order, at any depth; a symbolic link to a folder is not entered.
// Throws IoError when a folder cannot be read.
std::vector<std::string> addFiles(const std::string& folder, ToolFileKind kind, bool subfolders = false);

}  // namespace doxel

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
// Throws IoError when the folder cannot be read.
std::vector<std::string> AddFiles(const std::string& folder, ToolFileKind kind);

// The list of a tool's dialog: paths in the order added, each with a check
// box. New entries are ticked; a path may be listed twice.
class ToolFileList {
public:
    struct Item {
        std::string path;
        bool ticked = true;
    };

    void append(const std::vector<std::string>& paths);
    void clear() { m_items.clear(); }
    void tickAll(bool ticked);
    void setTicked(std::size_t index, bool ticked) { m_items.at(index).ticked = ticked; }

    const std::vector<Item>& items() const { return m_items; }
    bool empty() const { return m_items.empty(); }
    // The ticked paths, in list order.
    std::vector<std::string> ticked() const;

private:
    std::vector<Item> m_items;
};

}  // namespace doxel

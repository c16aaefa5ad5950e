#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace doxel {

// The recent projects list lives in the setting RUF: up to five full paths
// of project files, each followed by BEL (byte 7), in ascending order
// ignoring letter case, without duplicates. Paths are compared exactly, as
// the file system does: "/p/Book.dxp" and "/p/book.dxp" are two entries.
inline constexpr std::size_t kRecentProjectLimit = 5;
inline constexpr char kRecentSeparator = '\a';

// Compares two texts ignoring letter case (Latin, Greek, Cyrillic letters
// of any form); <0, 0 or >0.
int compareIgnoringCase(std::string_view a, std::string_view b);

// The entries of an RUF value: every text that a BEL ends, sorted ignoring
// case (equal ones by their bytes), duplicates dropped; text after the last
// BEL is dropped.
std::vector<std::string> recentProjectList(std::string_view ruf);

// The RUF value after adding `path`: an empty path or a path already
// present changes nothing; a full list loses its alphabetically first entry
// before the path is added. So with a.dxp to e.dxp stored, adding f.dxp
// drops a.dxp and adds f.dxp, while adding b.dxp keeps the list.
std::string addRecentProject(std::string_view ruf, const std::string& path);

struct RecentMenuItem {
    std::string caption;  // "&1 name.dxp" ("&" in the name doubled)
    std::string path;     // the item's hint: the full path
};

// The items of the Recent menu: the entries whose file exists, numbered in
// the list's (alphabetical) order.
std::vector<RecentMenuItem> recentMenuItems(std::string_view ruf,
                                            const std::function<bool(const std::string&)>& fileExists);

}  // namespace doxel

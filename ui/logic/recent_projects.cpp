#include "ui/logic/recent_projects.h"

#include <algorithm>

#include "core/path_rules.h"
#include "core/text_compare.h"
#include "core/text_encoding.h"

namespace doxel {
namespace {

// The list's order: ignoring case, and paths that differ only in case (two
// files here) by their bytes.
bool listedBefore(const std::string& a, const std::string& b)
{
    const int order = compareIgnoringCase(a, b);
    return order != 0 ? order < 0 : a < b;
}

// Adds `path` to a sorted list unless it is there.
void insertSorted(std::vector<std::string>& list, const std::string& path)
{
    const auto at = std::lower_bound(list.begin(), list.end(), path, listedBefore);
    if (at == list.end() || *at != path)
        list.insert(at, path);
}

std::string joined(const std::vector<std::string>& list)
{
    std::string ruf;
    for (const std::string& entry : list)
        ruf += entry + kRecentSeparator;
    return ruf;
}

std::string menuEscaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '&')
            out += '&';
        out += c;
    }
    return out;
}

}  // namespace

int compareIgnoringCase(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const long ca = decodeUtf8(a, i);
        const long cb = decodeUtf8(b, j);
        // An invalid byte compares as itself, above every character.
        const unsigned long fa =
            ca < 0 ? 0x110000UL + static_cast<unsigned char>(a[i - 1]) : foldCase(static_cast<unsigned long>(ca));
        const unsigned long fb =
            cb < 0 ? 0x110000UL + static_cast<unsigned char>(b[j - 1]) : foldCase(static_cast<unsigned long>(cb));
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

std::vector<std::string> recentProjectList(std::string_view ruf)
{
    std::vector<std::string> list;
    std::size_t start = 0;
    for (std::size_t end = ruf.find(kRecentSeparator); end != std::string_view::npos;
         start = end + 1, end = ruf.find(kRecentSeparator, start)) {
        if (end > start)
            insertSorted(list, std::string(ruf.substr(start, end - start)));
    }
    return list;
}

std::string addRecentProject(std::string_view ruf, const std::string& path)
{
    if (path.empty())
        return std::string(ruf);
    std::vector<std::string> list = recentProjectList(ruf);
    if (std::binary_search(list.begin(), list.end(), path, listedBefore))
        return joined(list);
    // A value edited by hand may hold more than five; it shrinks back to the
    // limit here rather than growing without end.
    while (list.size() >= kRecentProjectLimit)
        list.erase(list.begin());
    insertSorted(list, path);
    return joined(list);
}

std::vector<RecentMenuItem> recentMenuItems(std::string_view ruf,
                                            const std::function<bool(const std::string&)>& fileExists)
{
    std::vector<RecentMenuItem> items;
    for (const std::string& path : recentProjectList(ruf)) {
        if (!fileExists(path))
            continue;
        items.push_back({"&" + std::to_string(items.size() + 1) + " " + menuEscaped(fileNameOf(path)), path});
    }
    return items;
}

}  // namespace doxel

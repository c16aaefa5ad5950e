#include "tools/tool_files.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>

#include "core/errors.h"
#include "core/path_rules.h"

namespace doxel {

bool toolTakesFile(std::string_view name, ToolFileKind kind)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string extension = asciiUpper(name.substr(dot));
    if (extension == ".TXT")
        return true;
    return kind == ToolFileKind::TextAndHtml && (extension == ".HTM" || extension == ".HTML");
}

std::vector<std::string> AddFiles(const std::string& folder, ToolFileKind kind)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        throw IoError(describeErrno("Cannot list", folder, errno));
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != ".." && toolTakesFile(name, kind))
            names.emplace_back(name);
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0)
        throw IoError(describeErrno("Cannot list", folder, error));
    std::sort(names.begin(), names.end());
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    for (std::string& name : names)
        name.insert(0, prefix);
    return names;
}

}  // namespace doxel

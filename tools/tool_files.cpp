#include "tools/tool_files.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

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

namespace {

void addFolder(const std::string& folder, ToolFileKind kind, bool subfolders, std::vector<std::string>& out)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        throw IoError(describeErrno("Cannot list", folder, errno));
    std::vector<std::string> names;
    std::vector<std::string> folders;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..") {
            errno = 0;
            continue;
        }
        if (subfolders) {
            // A linked folder is not entered: it may lead back up the tree.
            struct stat info {};
            if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode)) {
                folders.emplace_back(name);
                errno = 0;
                continue;
            }
        }
        if (toolTakesFile(name, kind))
            names.emplace_back(name);
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0)
        throw IoError(describeErrno("Cannot list", folder, error));
    std::sort(names.begin(), names.end());
    std::sort(folders.begin(), folders.end());
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    for (const std::string& name : names)
        out.push_back(prefix + name);
    for (const std::string& name : folders)
        addFolder(prefix + name, kind, true, out);
}

}  // namespace

std::vector<std::string> addFiles(const std::string& folder, ToolFileKind kind, bool subfolders)
{
    std::vector<std::string> files;
    addFolder(folder, kind, subfolders, files);
    return files;
}

}  // namespace doxel

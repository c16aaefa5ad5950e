#include "platform/program_paths.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace doxel {
namespace fs = std::filesystem;

std::string programPath()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string("html-doxel") : self.string();
}

std::string resourcePath(const std::string& name)
{
    const fs::path folder = fs::path(programPath()).parent_path();
    for (const fs::path& candidate :
         {folder / name, folder / "data" / name, folder.parent_path() / "share" / "html-doxel" / name}) {
        std::error_code error;
        if (fs::exists(candidate, error))
            return candidate.string();
    }
    return {};
}

std::string examplesFolder()
{
    const fs::path folder = fs::path(programPath()).parent_path();
    for (const fs::path& candidate : {folder.parent_path() / "share" / "doc" / "html-doxel" / "examples",
                                      folder / "examples", folder.parent_path().parent_path() / "examples"}) {
        std::error_code error;
        if (fs::is_directory(candidate / "sample", error))
            return candidate.string() + "/";
    }
    return {};
}

std::string installationPrefix(const std::string& program)
{
    const fs::path folder = fs::path(program).parent_path();
    if (folder.filename() != "bin")
        return {};
    std::error_code error;
    const fs::path prefix = folder.parent_path();
    return fs::is_directory(prefix / "share" / "html-doxel", error) ? prefix.string() : std::string();
}

std::string programDataFolder()
{
    return programDataFolder(programPath());
}

std::string programDataFolder(const std::string& program)
{
    // An installed program's folder is shared by every program of the
    // system (and writable when root runs it): its files go to the user's.
    const fs::path folder = fs::path(program).parent_path();
    if (installationPrefix(program).empty() && ::access(folder.c_str(), W_OK) == 0)
        return folder.string() + "/";
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const fs::path base = (dataHome != nullptr && dataHome[0] == '/')
                              ? fs::path(dataHome)
                              : fs::path(home != nullptr ? home : "/tmp") / ".local" / "share";
    const fs::path data = base / "html-doxel";
    std::error_code error;
    fs::create_directories(data, error);
    return data.string() + "/";
}

}  // namespace doxel

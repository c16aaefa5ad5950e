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
    for (const fs::path& candidate : {folder / name, folder / "data" / name, folder.parent_path() / "share" / "html-doxel" / name}) {
        std::error_code error;
        if (fs::exists(candidate, error))
            return candidate.string();
    }
    return {};
}

std::string programDataFolder()
{
    const fs::path folder = fs::path(programPath()).parent_path();
    if (::access(folder.c_str(), W_OK) == 0)
        return folder.string() + "/";
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const fs::path base = (dataHome != nullptr && dataHome[0] == '/') ? fs::path(dataHome)
                          : fs::path(home != nullptr ? home : "/tmp") / ".local" / "share";
    const fs::path data = base / "html-doxel";
    std::error_code error;
    fs::create_directories(data, error);
    return data.string() + "/";
}

}  // namespace doxel

#include "app/window_module.h"

#include <cstdlib>
#include <dlfcn.h>
#include <iostream>
#include <vector>

#include "core/errors.h"
#include "core/path_rules.h"
#include "platform/program_paths.h"

namespace doxel {
namespace {

constexpr int kExitFailure = 2;

bool environmentSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

}  // namespace

bool displayAvailable()
{
    return environmentSet("DISPLAY") || environmentSet("WAYLAND_DISPLAY") || environmentSet("QT_QPA_PLATFORM");
}

int runWindowModule(const std::string& projectFile)
{
    const std::string folder(folderOf(programPath()));
    const std::vector<std::string> candidates = {folder + kWindowModuleName,
                                                 folder + "../lib/html-doxel/modules/" + kWindowModuleName};
    std::string problems;
    for (const std::string& candidate : candidates) {
        // Kept loaded until the process ends: Qt does not survive being
        // unloaded.
        void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (module == nullptr) {
            problems += std::string("\n  ") + ::dlerror();
            continue;
        }
        if (void* entry = ::dlsym(module, kWindowEntrySymbol))
            return reinterpret_cast<WindowEntryFunction>(entry)(DOXEL_VERSION, projectFile.c_str());
        problems += "\n  " + candidate + ": no " + kWindowEntrySymbol;
    }
    std::cerr << "doxel: the window cannot be shown, since its module cannot be loaded:" << escapeControls(problems)
              << "\n";
    return kExitFailure;
}

}  // namespace doxel

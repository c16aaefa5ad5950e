#include "ui/help/help_environment.h"

#include "env/file_version.h"
#include "platform/chm_viewer.h"
#include "platform/program_paths.h"
#include "ui/preview/web_browser_loader.h"

namespace doxel {

ComponentVersion webEngineVersion()
{
    const WebEngineVersionFunction version = loadWebEngineVersion(nullptr);
    if (version == nullptr)
        return {};
    FileVersion chromium;
    if (!parseFileVersion(version(0), chromium))
        return {};
    return {chromium.text(), std::string("Qt WebEngine ") + version(1)};
}

Environment startProgramEnvironment()
{
    StartupInputs inputs;
    inputs.modulePath = programPath();
    inputs.arguments = programArguments();
    inputs.fallbackLogFolder = programDataFolder();
    // Whether there is a viewer; its version (which asks its package) when
    // the author asks for it.
    inputs.helpViewerVersion = desktopChmViewerPresence;
    // The web engine's version is asked when the author asks for it:
    // asking at start-up would load the engine.
    return startEnvironment(inputs);
}

}  // namespace doxel

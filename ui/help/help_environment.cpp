#include "ui/help/help_environment.h"

#include <QtWebEngineCore/qtwebenginecoreglobal.h>

#include "env/file_version.h"
#include "platform/chm_viewer.h"
#include "platform/program_paths.h"

namespace doxel {

ComponentVersion webEngineVersion()
{
    const std::string chromium = qWebEngineChromiumVersion();
    FileVersion version;
    if (!parseFileVersion(chromium, version))
        return {};
    return {version.text(), std::string("Qt WebEngine ") + qWebEngineVersion()};
}

Environment startProgramEnvironment()
{
    StartupInputs inputs;
    inputs.modulePath = programPath();
    inputs.arguments = programArguments();
    inputs.fallbackLogFolder = programDataFolder();
    inputs.helpViewerVersion = desktopChmViewerVersion;
    inputs.browserVersion = webEngineVersion;
    return startEnvironment(inputs);
}

}  // namespace doxel

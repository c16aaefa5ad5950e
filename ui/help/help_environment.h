#pragma once

#include "env/environment.h"

namespace doxel {

// The browser engine of the preview: "Qt WebEngine 6.4.2" and the version
// of the Chromium it is built on ("90.0.4430.228").
ComponentVersion webEngineVersion();

// The start-up steps of the environment for this program: its own folders
// and command line, the desktop's CHM viewer and the web engine.
Environment startProgramEnvironment();

}  // namespace doxel

#pragma once

#include "env/environment.h"

namespace doxel {

// The browser engine of the preview: "Qt WebEngine 6.4.2" and the version
// of the Chromium it is built on ("90.0.4430.228"), asked of the preview's
// module (which this loads); nothing without the module.
ComponentVersion webEngineVersion();

// The start-up steps of the environment for this program: its own folders
// and command line and the desktop's CHM viewer.
Environment startProgramEnvironment();

}  // namespace doxel

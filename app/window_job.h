#pragma once

#include <string>

namespace doxel {

// The program with its window: the start-up screen, the main window (which
// opens `projectFile` when it names a project) and the event loop until the
// window closes. Returns the exit status. Needs a display.
int runWindowJob(const std::string& projectFile);

// Whether a window can be shown: a display is named (DISPLAY or
// WAYLAND_DISPLAY) or a Qt platform is chosen (QT_QPA_PLATFORM).
bool displayAvailable();

}  // namespace doxel

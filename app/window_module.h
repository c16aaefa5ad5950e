#pragma once

#include <string>

namespace doxel {

// The window is a module of its own (doxel_window.so), loaded only to show
// it. Its one entry point runs the program with its window: the start-up
// screen, the main window (which opens `projectFile` when it names a
// project) and the event loop until the window closes; it returns the exit
// status. A module of another version than the program's refuses to run.
inline constexpr const char* kWindowModuleName = "doxel_window.so";
inline constexpr const char* kWindowEntrySymbol = "doxel_window_main";
using WindowEntryFunction = int (*)(const char* programVersion, const char* projectFile);

// Whether a window can be shown: a display is named (DISPLAY or
// WAYLAND_DISPLAY) or a Qt platform is chosen (QT_QPA_PLATFORM).
bool displayAvailable();

// Loads the window module, from beside the program or from
// ../lib/html-doxel/modules/ of an installation, and runs the window. Exit
// status 2, with the reason on standard error, when the module cannot be
// loaded.
int runWindowModule(const std::string& projectFile);

}  // namespace doxel

#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "env/environment.h"

namespace doxel {

// The desktop's CHM viewer: the default application for compiled help
// files (GIO), KchmViewer on a standard installation.

// Starts it on `file` showing `page` ("welcome.htm"); viewers that cannot
// be told a page open the file at its default topic. Returns the process
// id, or -1 with `problem` set.
pid_t startDesktopViewerAt(const std::string& file, const std::string& page, std::string& problem);

// Its name and version, as the Help menu shows them: "KchmViewer 7.7" and
// "7.7.0.0" from the package that installed it. Both empty when no viewer
// is set up; a viewer whose version cannot be found shows "0.0.0.0".
ComponentVersion desktopChmViewerVersion();
// The same viewer without asking its package: version "0.0.0.0" and the
// viewer's name, or nothing without a viewer. Cheap enough for start-up,
// where only whether there is a viewer matters.
ComponentVersion desktopChmViewerPresence();

// "7.7.0.0" from a Debian package version such as "1:7.7-1+b1"; empty when
// it does not begin with a number.
std::string fourPartVersion(const std::string& packageVersion);
// "7.7" from "1:7.7-1+b1": the upstream part.
std::string upstreamVersion(const std::string& packageVersion);

// Starts `file` (a path or a name looked up in PATH) with `parameters`
// split like a shell would, never through one, without waiting for it.
// Returns 0 when it started, else the system's error code (errno).
int startDetachedProgram(const std::string& file, const std::string& parameters);

// The program's own command line, argument 0 first.
std::vector<std::string> programArguments();

}  // namespace doxel

#pragma once

#include <string>

namespace doxel {

// Full path of the running executable.
std::string programPath();

// A read-only resource shipped with the program ("blank.htm", "doxel.chm",
// "icons/html-doxel.svg"): next to the executable in a build tree, else
// under share/html-doxel/ of the installation. Empty when not found.
std::string resourcePath(const std::string& name);
// The folder of the sample projects, with its final "/": the installation's
// share/doc/html-doxel/examples/, else a source tree's examples/ above a
// build folder; empty when there is none.
std::string examplesFolder();

// The installation that holds `program` (".../bin/doxel" beside
// ".../share/html-doxel/"), or empty for a program run from its build tree.
std::string installationPrefix(const std::string& program);

// The folder for files the program writes (log.txt, temp.txt), with its
// final "/": the program's folder when it is writable and not an
// installation's bin folder, else $XDG_DATA_HOME/html-doxel/ (created when
// missing).
std::string programDataFolder();
std::string programDataFolder(const std::string& program);

}  // namespace doxel

#pragma once

#include <string>

namespace doxel {

inline constexpr const char* kProjectMimeType = "application/x-htmldoxel-project";
inline constexpr const char* kDesktopFileName = "html-doxel.desktop";

// Where the association lives; the defaults follow the XDG base
// directories ($XDG_DATA_HOME or ~/.local/share, $XDG_CONFIG_HOME or
// ~/.config).
struct AssociationFolders {
    std::string dataHome;
    std::string configHome;
    static AssociationFolders fromEnvironment();
};

// Makes the running program the handler of ".dxp" files for this user: a
// shared-mime-info package for the type (glob *.dxp), a desktop entry whose
// Exec is `programPath` and whose Icon is `iconPath`, and the entry made
// the default for the type in mimeapps.list (other lines kept). Runs at
// every start, so moving the program and starting it once re-points the
// association. Files are rewritten only when their text changes, and the
// mime database is refreshed only then. Returns an error text, empty on
// success; a refused write never stops the program.
std::string registerFileAssociation(const std::string& programPath, const std::string& iconPath,
                                    const AssociationFolders& folders = AssociationFolders::fromEnvironment());

// Whether the installation that holds `programPath` brings the desktop
// entry and the project type itself, in one of the folders the desktop
// reads: `dataDirs` (as in $XDG_DATA_DIRS; empty means the default
// "/usr/local/share:/usr/share") or the user's `dataHome` (an installation
// into ~/.local). Then the program writes none of its own.
bool installationProvidesAssociation(const std::string& programPath, const std::string& dataDirs,
                                     const std::string& dataHome = {});

// Removes the user's desktop entry and project type that an earlier start
// of the program wrote, so that they do not hide the installation's ones
// (a user's file of the same name wins). Files whose text the program did
// not write are kept. Returns an error text, empty on success.
std::string removeUserFileAssociation(const AssociationFolders& folders = AssociationFolders::fromEnvironment());

// The text of the desktop entry, exposed for tests.
std::string desktopEntryText(const std::string& programPath, const std::string& iconPath);

// mimeapps.list with the default for the project type set, other sections
// and lines as they were.
std::string mimeAppsWithDefault(const std::string& existing);

}  // namespace doxel

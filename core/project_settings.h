#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/path_rules.h"
#include "core/project.h"

namespace doxel {

// What the project file has no place for (the help ids, the help file's
// chosen language) lives in a small file of our own beside it, NAME.dxs for
// NAME.dxp, so that the project file stays as the Windows program reads
// it. UTF-8 with LF lines, in sections like an INI file:
//
//   # HTML Doxel keeps this file beside the project file of the same name.
//   [Help file]
//   Language=0x0415
//
//   [Help ids]
//   IDH_PRINT_PREVIEW=1001,pages/print.htm#preview
//
//   [Extra files]
//   File=images/tab_a.png
//
// Topics and files are relative to the project folder with "/" separators.
// A project without help ids, extra files and with the automatic language
// has no such file.
inline constexpr const char* kProjectSettingsFirstLine =
    "# HTML Doxel keeps this file beside the project file of the same name.";
// A settings file larger than this is not read.
inline constexpr std::size_t kProjectSettingsFileLimit = std::size_t{16} << 20;
// More help ids than this are not read; no application comes near it.
inline constexpr std::size_t kMaxHelpIds = 100000;
// Nor more extra files than this.
inline constexpr std::size_t kMaxExtraFiles = kMaxHelpIds;

// "/h/guide.dxs" for "/h/guide.dxp"; a name without the ".dxp" extension
// gets ".dxs" added.
std::string projectSettingsFileName(std::string_view projectFile);

// The settings file's text for the project saved as `projectFile`; empty
// when the project has nothing to keep there.
std::string projectSettingsText(const Project& project, std::string_view projectFile,
                                PathStyle style = kNativePathStyle);

// What a settings file held. `problems` names every line that could not be
// taken ("guide.dxs, line 4: ..."), for the caller to show: the rest of the
// file is read all the same, and a name or number given twice keeps its
// first line.
struct ProjectSettings {
    std::vector<HelpId> helpIds;
    int helpLanguageId = 0;
    std::vector<std::string> extraFiles;
    std::vector<std::string> problems;
};

// Reads settings text; topics are resolved against the project folder as
// the project file's paths are.
ProjectSettings readProjectSettingsText(std::string text, const std::string& fileName, StoredPathResolver& resolver,
                                        PathStyle style = kNativePathStyle);

// Reads the settings file of `projectFile` when there is one. A file that
// cannot be read is a problem as a bad line is, never an exception: the
// project opens without what it held.
ProjectSettings readProjectSettings(const std::string& projectFile, PathStyle style = kNativePathStyle,
                                    FolderListings* listings = nullptr);

// Writes the settings file of `projectFile`, replacing it only once the new
// one is complete, or removes a settings file of ours there when the project
// has nothing to keep (a file whose first line is not ours is left alone).
// Throws IoError.
void writeProjectSettings(const Project& project, const std::string& projectFile, PathStyle style = kNativePathStyle);

}  // namespace doxel

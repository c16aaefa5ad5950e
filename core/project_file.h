#pragma once

#include <string>
#include <vector>

#include "core/path_rules.h"
#include "core/progress.h"
#include "core/project.h"

namespace doxel {

inline constexpr const char* kProjectNoteLine =
    "NOTE: This file is maintained by HTML Doxel. Do not modify it directly.";
// A project file larger than this is refused rather than read into memory.
inline constexpr std::size_t kProjectFileLimit = std::size_t{1} << 30;

// The project file's text: CR LF lines, BEL separators, topic paths relative
// to the folder of `fileName`. Steps `progress` once per contents entry,
// from 0 (the title entry) to the number of entries below it.
std::string projectFileText(const Project& project, const std::string& fileName, ProgressScope& progress,
                            PathStyle style = kNativePathStyle);

// Writes the project to `fileName`, replacing it only once the new file is
// complete, and what the project file cannot hold to its settings file
// beside it (writeProjectSettings). Clears `modified` on success; a failed
// write throws IoError, leaves the old file as it was and `modified` as it
// was.
void writeProjectFile(Project& project, const std::string& fileName, ProgressReporter& progress,
                      PathStyle style = kNativePathStyle);

// Reads `fileName` into `project`, replacing everything the file stores, and
// makes it the project file. A file that departs from the layout throws
// FormatError naming the line; a file that cannot be read throws IoError. In
// both cases `project` is left exactly as it was. A file that is not valid
// UTF-8 is read as Windows-1252. The folders that stored paths lead to are
// listed into `listings` when given, for the rest of a run to reuse.
// The help ids and the chosen language come from the settings file beside
// it (readProjectSettings); what could not be read of that file never stops
// the project from opening, and is added to `problems` for the caller to
// show.
// The file list is made while the keywords are read; a caller that has
// other work to do before it needs the list gives `fileListBeside`, which
// is then started on the contents as soon as they are read, and takes the
// list from it (FileListMaker::take) instead.
void readProjectFile(Project& project, const std::string& fileName, PathStyle style = kNativePathStyle,
                     FolderListings* listings = nullptr, std::vector<std::string>* problems = nullptr,
                     FileListMaker* fileListBeside = nullptr);

// Reads project file text that is already in memory; `fileName` names the
// file in messages and gives the folder that stored paths are relative to.
void readProjectText(Project& project, std::string text, const std::string& fileName,
                     PathStyle style = kNativePathStyle, FolderListings* listings = nullptr,
                     FileListMaker* fileListBeside = nullptr);

}  // namespace doxel

#pragma once

#include <string>

#include "core/atomic_file.h"
#include "core/path_rules.h"
#include "core/progress.h"
#include "core/project.h"
#include "formats/sitemap_writer.h"

namespace doxel {

// The contents file (.hhc) of the project: every entry below the title
// entry as a sitemap object, nested in <UL> lists by level, texts and paths
// as `writer` gives them. An entry beside the title entry is a top-level
// entry of the help file, its children below it. Steps the progress once
// per entry, counting from 1.
std::string contentsFileText(const Project& project, ProgressScope& progress, HelpTextWriter& writer);
std::string contentsFileText(const Project& project, ProgressScope& progress, PathStyle style = kNativePathStyle);

// Hands contentsFileText to `file` in pieces, for the caller to commit
// (WriteBehind::commit) while it goes on. Throws IoError.
void saveContents(const Project& project, WriteBehind& file, ProgressReporter& progress, HelpTextWriter& writer);
// Writes contentsFileText to `path`. Throws IoError.
void saveContents(const Project& project, const std::string& path, ProgressReporter& progress, HelpTextWriter& writer);
void saveContents(const Project& project, const std::string& path, ProgressReporter& progress,
                  PathStyle style = kNativePathStyle);

}  // namespace doxel

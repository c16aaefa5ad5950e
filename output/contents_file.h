#pragma once

#include <string>

#include "core/path_rules.h"
#include "core/progress.h"
#include "core/project.h"

namespace doxel {

// The contents file (.hhc) of the project: every entry below the title
// entry as a sitemap object, nested in <UL> lists by level. Steps the
// progress once per entry, counting from 1.
std::string ContentsFileText(const Project& project, ProgressScope& progress, PathStyle style = kNativePathStyle);

// Writes ContentsFileText to `path`. Throws IoError.
void SaveContents(const Project& project, const std::string& path, ProgressReporter& progress,
                  PathStyle style = kNativePathStyle);

}  // namespace doxel

#pragma once

#include <string>

#include "core/path_rules.h"
#include "core/project.h"

namespace doxel {

// The index file (.hhk): one sitemap object per keyword, in list order,
// equal keywords not merged.
std::string IndexFileText(const Project& project, PathStyle style = kNativePathStyle);

// Writes IndexFileText to `path`. Throws IoError.
void SaveIndex(const Project& project, const std::string& path, PathStyle style = kNativePathStyle);

}  // namespace doxel

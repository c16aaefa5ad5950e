#pragma once

#include <string>

#include "core/path_rules.h"
#include "core/project.h"
#include "formats/sitemap_writer.h"

namespace doxel {

// The index file (.hhk): one sitemap object per keyword, in list order,
// equal keywords not merged, texts and paths as `writer` gives them.
std::string indexFileText(const Project& project, HelpTextWriter& writer);
std::string indexFileText(const Project& project, PathStyle style = kNativePathStyle);

// Writes indexFileText to `path`. Throws IoError.
void saveIndex(const Project& project, const std::string& path, HelpTextWriter& writer);
void saveIndex(const Project& project, const std::string& path, PathStyle style = kNativePathStyle);

}  // namespace doxel

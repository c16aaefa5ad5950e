#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/path_rules.h"
#include "core/project.h"
#include "formats/sitemap_writer.h"

namespace doxel {

// An application opens its help at a help id by number; its code spells
// the number by name, from a C header the compile writes beside the help
// file: guide_ids.h for guide.chm.
std::string helpIdsHeaderFileName(std::string_view compiledFile);

// The header: a comment line naming who wrote it, then "#define NAME
// NUMBER" for every help id, by number; CR LF lines.
std::string helpIdsHeaderText(std::span<const HelpId> ids, std::string_view compiledFile);

// Writes the header of the project's help ids beside its help file
// (Project::compiledFile). Nothing is written for a project without help
// ids, nor when the file there holds the same text already, so that an
// application built from it is not rebuilt for nothing. True when it wrote
// the file. Throws IoError.
bool writeHelpIdsHeader(const Project& project);

// The warnings about help ids an application would open nothing with: no
// topic, a topic file that does not exist, or one the help file does not
// hold (not a topic of the contents, or outside the project folder).
std::vector<CompilerFileMessage> helpIdWarnings(const Project& project, PathStyle style = kNativePathStyle);

}  // namespace doxel

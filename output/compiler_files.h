#pragma once

#include <string>
#include <vector>

#include "core/path_rules.h"
#include "core/progress.h"
#include "core/project.h"
#include "core/text_encoding.h"
#include "output/sitemap_writer.h"

namespace doxel {

// What writing the compiler input files produced.
struct CompilerInputFiles {
    std::vector<std::string> written;           // index, help project, contents file
    const CodePage* codePage = nullptr;         // the help file's
    std::vector<CompilerFileMessage> messages;  // shown first among the compile's messages
};

// Writes the compiler's input files under the names the project holds
// (Project::deriveCompilerFileNames sets them), in the order the compile
// needs them: the index file, the help project file, the contents file, all
// three in the help file's code page. The help project is written as the
// compiler gets it: every file named relative to the project folder, so
// that the files can be moved and compiled anywhere, and no log file (the
// compile run writes the log) unless `logFile` names one, as the files
// `--export` keeps do. An index entry without a file is warned of. Throws
// IoError; a file that fails stops the files after it.
CompilerInputFiles WriteCompilerFiles(const Project& project, ProgressReporter& progress,
                                      PathStyle style = kNativePathStyle, const std::string& logFile = {});

// WriteCompilerFiles for a caller that needs only the paths written.
std::vector<std::string> WriteCompilerInputFiles(const Project& project, ProgressReporter& progress,
                                                 PathStyle style = kNativePathStyle);

}  // namespace doxel

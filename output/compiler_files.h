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
    std::vector<std::string> written;  // index, help project, contents file
    const CodePage* codePage = nullptr;  // the help file's
    std::vector<CompilerFileMessage> messages;  // for the compile's messages
};

// Sets the project's four compiler file names from its project file and
// writes the compiler's input files next to it, in the order the compile
// needs them: the index file, the help project file (with `logFile` as its
// error log), the contents file, all three in the help file's code page.
// Throws IoError; a file that fails stops the files after it.
CompilerInputFiles WriteCompilerFiles(Project& project, const std::string& logFile, ProgressReporter& progress,
                                      PathStyle style = kNativePathStyle);

// WriteCompilerFiles for a caller that needs only the paths written.
std::vector<std::string> WriteCompilerInputFiles(Project& project, const std::string& logFile,
                                                 ProgressReporter& progress, PathStyle style = kNativePathStyle);

}  // namespace doxel

#pragma once

#include <set>
#include <string>
#include <string_view>

#include "core/path_rules.h"
#include "core/project.h"
#include "formats/sitemap_writer.h"

namespace doxel {

// The value of the "Main=" line: the help window "Main" as twenty
// comma-separated fields, for example
// "Guide","C:\Help\guide.hhc",,"(not defined)",,,,,,0x20,200,0x0,[80,70,730,500],0x0,0x0,,,,,0
// Double quotes in the title would split the definition, so that field gets
// apostrophes instead (and the writer a note).
std::string buildWindowDefinition(const Project& project, HelpTextWriter& writer);
std::string buildWindowDefinition(const Project& project);

// The "Language=" value for a code page: "0x409 Englisch (USA)" for
// Windows-1252, "0x419 Russisch" for Windows-1251. UTF-8.
std::string languageLine(const CodePage& page);

// The help project file (.hhp) text. `logFile` is the LogFile setting, read
// by the caller when the file is written.
std::string helpProjectFileText(const Project& project, const std::string& logFile, HelpTextWriter& writer);
std::string helpProjectFileText(const Project& project, const std::string& logFile, PathStyle style = kNativePathStyle);

// The help project file as a compiler running in the project folder gets
// it: the compiled, contents and index files (also in the window's
// definition) and the [FILES] named relative to the help project's folder,
// and no "Error log file=" line (the compile run writes the log).
std::string compilerHelpProjectText(const Project& project, HelpTextWriter& writer);

// Writes helpProjectFileText to `path`. Throws IoError.
void saveHelpProject(const Project& project, const std::string& path, const std::string& logFile,
                     HelpTextWriter& writer);
void saveHelpProject(const Project& project, const std::string& path, const std::string& logFile,
                     PathStyle style = kNativePathStyle);

// "0x" and the value as an unsigned 32-bit number in upper-case hex digits:
// 0 gives "0x0", 32 gives "0x20", bit 31 alone "0x80000000".
std::string hexFlags(std::int32_t value);

// A help project's text with its [FILES] section replaced by `files` (made
// at the end when it has none). With `bareCompiledFile`, "Compiled file="
// keeps only its file name, for a compile that writes the help file into
// the folder of the project.
std::string withFilesSection(std::string_view text, const std::set<std::string>& files, bool bareCompiledFile = false);

}  // namespace doxel

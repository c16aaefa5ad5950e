#pragma once

#include <string>

#include "core/path_rules.h"
#include "core/project.h"

namespace doxel {

// The value of the "Main=" line: the help window "Main" as twenty
// comma-separated fields, for example
// "Guide","C:\Help\guide.hhc",,"(not defined)",,,,,,0x20,200,0x0,[80,70,730,500],0x0,0x0,,,,,0
std::string BuildWindowDefinition(const Project& project);

// The help project file (.hhp) text. `logFile` is the LogFile setting, read
// by the caller when the file is written.
std::string HelpProjectFileText(const Project& project, const std::string& logFile,
                                PathStyle style = kNativePathStyle);

// Writes HelpProjectFileText to `path`. Throws IoError.
void SaveHelpProject(const Project& project, const std::string& path, const std::string& logFile,
                     PathStyle style = kNativePathStyle);

// "0x" and the value as an unsigned 32-bit number in upper-case hex digits:
// 0 gives "0x0", 32 gives "0x20", bit 31 alone "0x80000000".
std::string hexFlags(std::int32_t value);

}  // namespace doxel

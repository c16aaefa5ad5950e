#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/help_project_reader.h"

namespace doxel {

// What a help viewer learns from the "#SYSTEM" file of a compiled help file:
// where the contents and index are, the default topic, the title and the
// default window (all as stored, in the help file's code page) and the
// language the texts are written for.
struct HelpSystemInfo {
    std::string contentsFile;
    std::string indexFile;
    std::string defaultTopic;
    std::string title;
    std::string defaultWindow;
    std::uint32_t languageId = 0;  // 0 when the file does not say
};

// Reads the records of a "#SYSTEM" file; a record cut short ends the
// reading and unknown ones are skipped, so any bytes give a result.
HelpSystemInfo readSystemFile(std::string_view bytes);

// The help windows of a compiled help file: the records of its "#WINDOWS"
// file, their texts taken from "#STRINGS" as stored (in the help file's code
// page). A number is given where its record marks it so or where it is not
// 0; a rectangle of zeros and a navigation pane width of 0 are not given,
// as chmcmd marks every number given whether the help project set it or not.
// A record cut short ends the reading, so any bytes give a result.
std::vector<WindowDefinition> readWindowsFile(std::string_view windows, std::string_view strings);

}  // namespace doxel

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

}  // namespace doxel

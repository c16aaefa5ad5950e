#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace doxel {

// What a compile needs to know from a help project file (.hhp): the files
// it names in [OPTIONS] and its [FILES] lines as written.
struct HelpProjectInfo {
    std::string compiledFile;
    std::string contentsFile;
    std::string indexFile;
    std::string logFile;
    std::string defaultTopic;
    std::uint32_t languageId = 0;  // of the "Language=" line; 0 when there is none
    std::vector<std::string> files;
};

HelpProjectInfo parseHelpProject(std::string_view text);

// The help project file as a compiler running in `projectFolder` must see
// it: the compiled, contents and index files of [OPTIONS] and the contents
// and index files of the window definitions made relative to that folder
// ("\" separated), full paths in [FILES] likewise, and no "Error log file="
// line (the log is written by the program). Everything else is kept byte for
// byte. chmcmd stores a file named by a full path under that full path
// inside the help file, where no viewer finds it.
std::string relativeHelpProjectText(std::string_view text, const std::string& projectFolder);

// The values of the "Local" parameters of a sitemap file (.hhc, .hhk), in
// file order, as written.
std::vector<std::string> sitemapLocals(std::string_view text);

}  // namespace doxel

#pragma once

#include <string>
#include <vector>

namespace doxel {

// What the program was asked to do.
struct CommandLine {
    enum class Mode { Window, Export, Compile, TxtToHtml, Replace, Import, HelpIds, Help, Version, Invalid };
    Mode mode = Mode::Window;
    std::string projectFile;                 // for Window and Import: empty when none was named
    std::string source;                      // for Import: the .hhp, .hhc or .chm
    bool debug = false;                      // "/debug" or "-debug": the diagnostic log
    std::string problem;                     // for Invalid: what is wrong
    std::vector<std::string> toolArguments;  // for TxtToHtml and Replace: the arguments after the option
    std::string compiler;                    // for Compile: "doxel", "chmcmd", or empty for the setting
};

// Reads the arguments (without the program name). "--export FILE",
// "--compile FILE [--compiler doxel|chmcmd]", "--txt-to-html ...", "--replace ...",
// "--import SOURCE [PROJECT]", "--help-ids FILE", "--help", "--version";
// anything else starts
// the window.
// For the window the arguments are joined with single spaces up to the
// first empty one, so a project path that the desktop split at its spaces
// is whole again; it names a project when it contains ".dxp" in any case.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The usage text of --help.
std::string usageText();

}  // namespace doxel

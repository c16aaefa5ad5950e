#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "env/file_version.h"

namespace doxel {

// A component whose version the Help menu shows: its version text and the
// name people know it by. Both are empty when it is not installed.
struct ComponentVersion {
    std::string text;
    std::string friendlyName;
};

// The values found once at start-up and only read afterwards.
struct Environment {
    std::string moduleName;  // the program file's name, no folder
    std::string moduleDir;   // its folder, no trailing "/"
    std::string runDir;      // folder of the program named by argument 0
    std::string logFolder;   // where HHDebug.txt goes
    bool debug = false;
    std::string hhVerStr;
    bool hhInstalled = false;
    std::string hhFriendlyVerStr;
    std::string ieVerStr;
    bool ieInstalled = false;
    std::string ieFriendlyVerStr;
};

// The system locale as the start-up record shows it: its Windows locale
// identifier (0x0409 for en_US; 0x007F for the C locale, 0 when unknown)
// and the decimal separator.
struct SystemLocale {
    std::string name;
    std::uint16_t lcid = 0;
    std::string decimalSeparator = ".";
};
SystemLocale systemLocale();
std::uint16_t localeIdentifier(const std::string& localeName);

struct StartupInputs {
    std::string modulePath;              // full path of the running program
    std::vector<std::string> arguments;  // the command line, argument 0 first
    // Where the log goes when the program's folder is not writable.
    std::string fallbackLogFolder;
    std::function<ComponentVersion()> helpViewerVersion;
    std::function<ComponentVersion()> browserVersion;
    std::function<SystemLocale()> locale = systemLocale;
    std::function<std::string()> now;  // date and time for the record; default: the C library's
};

// Runs the start-up steps in their order: the program's folders, the log
// folder test, the debug flag, the two component versions, then removes an
// HHDebug.txt left from an earlier run and, with the debug flag on, writes
// the start-up record. Installs the program's diagnostic log.
Environment startEnvironment(const StartupInputs& inputs);

// The log folder: `moduleDir` when a file can be created there, else
// `fallback`.
std::string logFolderFor(const std::string& moduleDir, const std::string& fallback);

// On when "debug.debug" exists in `moduleDir` or an argument is "/debug"
// or "-debug" in any letter case ("--debug" is not).
bool debugFlagFor(const std::string& moduleDir, const std::vector<std::string>& arguments);

// The folder of the program named by argument 0: a bare name is looked up
// in PATH like the shell did to start it; a relative path is made absolute.
std::string runDirFor(const std::string& argument0);

// The versions a Windows HTML Help control file and browser control file
// ("Shdocvw.dll") carry, named by the tables of file_version.h; the browser's
// 4.70 versions rearranged first. Empty for a missing file.
ComponentVersion helpControlVersion(const std::string& controlFile);
ComponentVersion browserControlVersion(const std::string& controlFile);

// The start-up record's lines, before the log's line rules.
std::vector<std::string> startupRecord(const Environment& environment, const std::string& logFile,
                                       const std::string& argument0, const SystemLocale& locale,
                                       const std::string& now);

// The program's values, set once by start-up (empty before).
const Environment& environment();
void setEnvironment(Environment values);

}  // namespace doxel

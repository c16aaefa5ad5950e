#pragma once

#include <functional>
#include <string>
#include <vector>

namespace doxel {

class Project;
class SettingsStore;
struct CompilerInputFiles;
class FolderListings;

enum class InputFilesFor { Compile, Export };

// Reads `projectFile` into `project` and writes the compiler's input files
// beside it, for `--compile` and `--export` alike (only a compile needs an
// entry besides the title entry); what was written goes to `written` when
// given. The folders the project's paths lead to are listed into
// `listings` when given. `alongside`, when given, runs on a thread of its
// own while the files are written, once the project and its file list are
// made; it may read the project and `listings` (the writing only reads
// them too), and ends before this returns. Says on standard error why it
// cannot, and returns false then.
bool writeInputFiles(Project& project, const std::string& projectFile, InputFilesFor purpose,
                     CompilerInputFiles* written, FolderListings* listings = nullptr,
                     const std::function<void()>& alongside = {});

// The compiler's log file for a run without a window: the LogFile setting,
// or its default when it is empty or cannot be read.
std::string commandLineLogFile(SettingsStore& settings);

// `doxel --compile FILE.dxp`: writes the compiler's input files, compiles
// without any window, prints the compiler's lines and then the six counts
// on standard output, and deletes the input files. Returns 0 on success, 1
// when errors were counted, a contents entry or keyword leads to a missing
// page (the help file is written all the same) or no help file was
// written, 2 when the project
// could not be read or the compiler could not run (the input files are then
// kept).
// A help project file (.hhp) of another tool is compiled as it is and its
// files are kept. `compiler` is "doxel", "chmcmd", or empty for the one the
// settings choose.
int compileFromCommandLine(const std::string& projectFile, const std::string& compiler = {});

// `doxel-hhc PROJECT.hhp`: the command line of Microsoft's HTML Help
// compiler, for build tools that run it (doxygen's HHC_LOCATION). Compiles
// with our own compiler and prints what `--compile` prints. Returns 1 when
// the help file was written and 0 when it was not, as that compiler does:
// doxygen takes 1 as success.
int compileForBuildTools(const std::vector<std::string>& arguments);
std::string helpCompilerUsageText();

}  // namespace doxel

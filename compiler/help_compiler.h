#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace doxel::chm {

struct HelpCompileOptions {
    unsigned threads = 0;  // for the compression; 0: every core
    // Called now and then with what the compiler is doing.
    std::function<void(const std::string& text)> progress = {};
    // Writes the binary keyword index as "Binary Index=Yes" asks, whatever
    // the help project says: for the program's own projects, whose help
    // project file keeps its fixed lines.
    bool binaryIndex = false;
};

// Compiles a help project file (.hhp, ours or one written by doxygen or
// Sphinx) into the compiled file it names. Every file the help project, its
// contents and index name goes in, and every local file the pages use
// (pictures, style sheets, scripts, further pages), found by the page scan.
// Message lines ("Note: ...", "Warning: ...", "Error: ...") go to `log`.
// The help file is written under a temporary name beside the target and
// renamed into place when complete, so a failure leaves the old one as it
// was. Returns false, after an "Error: ..." line saying why, when no help
// file was written.
bool compileHelpProject(const std::string& helpProjectFile, const std::function<void(const std::string&)>& log,
                        const HelpCompileOptions& options = {});

// Each page a compile of the help project would store, in the order the
// compile reaches them: its path relative to the project folder, its title
// and its text (both UTF-8). Only when the project asks for full-text
// search, if `searchOnly`.
void visitStoredPages(
    const std::string& helpProjectFile, bool searchOnly,
    const std::function<void(const std::string& path, const std::string& title, const std::string& text)>& visit);

}  // namespace doxel::chm

#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "output/compiler_library.h"

namespace doxel {

// The help compiler on Linux: Free Pascal's chmcmd, run as a child process.
//
// A compile runs chmcmd (with --no-html-scan: our page scan lists the files
// the pages use in the help project it reads) in the project folder on a copy of the help project
// whose full paths are relative, so that the contents and index end up at
// the top of the help file. Every line chmcmd prints goes to the log
// callback as it comes; progress texts go to the progress callback at least
// every `progressInterval`. The compile run does the checks before and
// after, and judges the lines. Compiled files are read with chmlib.
class ChmcmdCompiler final : public CompilerLibrary {
public:
    // `program`: a path, or a name looked up in PATH when loading.
    explicit ChmcmdCompiler(std::string program = defaultProgram());

    // $DOXEL_CHMCMD when set, else "chmcmd".
    static std::string defaultProgram();

    bool load() override;
    bool isLoaded() const override { return !m_path.empty(); }
    std::string problem() const override;
    void init() override {}
    bool compile(const std::string& helpProjectFile, const CompilerLogCallback& log,
                 const CompilerProgressCallback& progress, CompileStatistics& statistics) override;
    void free() override { m_path.clear(); }
    std::unique_ptr<CompiledHelpFile> openCompiled(const std::string& compiledFile) override;

    void setProgressInterval(std::chrono::milliseconds interval) { m_progressInterval = interval; }

private:
    std::string m_program;
    std::string m_path;  // the program found by load(); empty while not loaded
    std::chrono::milliseconds m_progressInterval{50};
};

// The page title that chmcmd is known to crash on with search on: its first
// word starts with a letter beyond ASCII, and the page's text holds that
// word too. `title` and `page` in UTF-8.
bool chmcmdCrashesOnTitle(const std::string& title, const std::string& page);

// A compiled help file read with chmlib, as help viewers on this platform
// read it. Throws IoError when it is no help file.
std::unique_ptr<CompiledHelpFile> openWithChmlib(const std::string& compiledFile);

}  // namespace doxel

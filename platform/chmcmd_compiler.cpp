#include "platform/chmcmd_compiler.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/path_rules.h"
#include "platform/child_process.h"
#include "platform/chm_reader.h"

namespace doxel {
namespace {

std::string signalName(int signal)
{
    const char* name = ::sigabbrev_np(signal);
    return name != nullptr ? "SIG" + std::string(name) : "signal " + std::to_string(signal);
}

}  // namespace

ChmcmdCompiler::ChmcmdCompiler(std::string program) : m_program(std::move(program))
{
}

std::string ChmcmdCompiler::defaultProgram()
{
    const char* configured = std::getenv("DOXEL_CHMCMD");
    return configured != nullptr && configured[0] != '\0' ? configured : "chmcmd";
}

bool ChmcmdCompiler::load()
{
    if (m_path.empty())
        m_path = findProgram(m_program);
    return isLoaded();
}

std::string ChmcmdCompiler::problem() const
{
    if (isLoaded())
        return {};
    return "The help compiler " + m_program +
           " was not found. Install Free Pascal's chmcmd (Debian package fp-utils) to compile help files.";
}

bool ChmcmdCompiler::compile(const std::string& helpProjectFile, const CompilerLogCallback& log,
                             const CompilerProgressCallback& progress, CompileStatistics& statistics)
{
    const auto emit = [&log](const std::string& line) {
        if (log)
            log(line);
    };
    statistics = {};
    if (!isLoaded()) {
        emit(problem());
        return false;
    }
    const std::string hhp = absolutePath(helpProjectFile);
    const std::string folder(folderOf(hhp).substr(0, folderOf(hhp).size() - 1));
    // The compiler input files name every file relative to the project
    // folder, so chmcmd runs there on the help project as it is.
    if (::access(hhp.c_str(), R_OK) != 0) {
        emit(describeErrno("Cannot read", hhp, errno));
        return false;
    }

    std::string status = "Compiling " + std::string(fileNameOf(hhp));
    if (progress)
        progress(status);
    ChildProcessOptions options;
    options.arguments = {m_path, std::string(fileNameOf(hhp))};
    options.workingFolder = folder;
    options.tickInterval = m_progressInterval;
    options.onLine = [&](const std::string& line) {
        if (line.empty())
            return;
        emit(line);
        status = line;
    };
    options.onTick = [&] {
        if (progress)
            progress(status);
    };
    const ChildProcessResult ended = runChildProcess(options);
    switch (ended.ending) {
    case ChildProcessResult::Ending::NotStarted:
        emit("The compiler could not be started: " + ended.problem);
        return false;
    case ChildProcessResult::Ending::Signalled:
        emit("The compiler was stopped by " + signalName(ended.status) + ".");
        return false;
    case ChildProcessResult::Ending::Exited:
        if (ended.status != 0) {
            emit("The compiler stopped with exit status " + std::to_string(ended.status) + ".");
            return false;
        }
        break;
    }
    return true;
}

std::unique_ptr<CompiledHelpFile> ChmcmdCompiler::openCompiled(const std::string& compiledFile)
{
    return std::make_unique<ChmReader>(compiledFile);
}

}  // namespace doxel

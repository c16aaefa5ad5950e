#include "platform/chmcmd_compiler.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <set>
#include <unistd.h>

#include "compiler/help_compiler.h"
#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/path_rules.h"
#include "output/help_project_copy.h"
#include "platform/child_process.h"
#include "platform/chm_reader.h"

namespace doxel {
namespace {

constexpr std::size_t kProjectSizeLimit = 256 * 1024 * 1024;

// The copy of the help project that chmcmd reads, removed however the
// compile ends.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile()
    {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates a new file in `folder` named like `.<stem>-doxel-XXXXXX.hhp`.
    // Throws IoError.
    void create(const std::string& folder, const std::string& stem, const std::string& contents)
    {
        std::string pattern = folder + "/." + stem + "-doxel-XXXXXX.hhp";
        const int fd = ::mkstemps(pattern.data(), 4);
        if (fd < 0)
            throw IoError(describeErrno("Cannot write", pattern, errno));
        m_path = pattern;
        std::size_t done = 0;
        while (done < contents.size()) {
            const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                const int error = errno;
                ::close(fd);
                throw IoError(describeErrno("Cannot write", m_path, error));
            }
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
    }
    std::string fileName() const { return std::string(fileNameOf(m_path)); }

private:
    std::string m_path;
};

std::string signalName(int signal)
{
    const char* name = ::sigabbrev_np(signal);
    return name != nullptr ? "SIG" + std::string(name) : "signal " + std::to_string(signal);
}

// The help file as chmlib reads it, the library help viewers on this
// platform use.
class ChmlibHelpFile final : public CompiledHelpFile {
public:
    explicit ChmlibHelpFile(const std::string& path) : m_reader(path) {}
    bool contains(const std::string& path) const override { return m_reader.contains(path); }
    std::optional<std::string> read(const std::string& path) const override
    {
        try {
            return m_reader.read(path);
        } catch (const IoError&) {
            return std::nullopt;
        }
    }

private:
    ChmReader m_reader;
};

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
    TemporaryFile copy;
    try {
        const std::string stem(fileNameOf(hhp).substr(0, fileNameOf(hhp).rfind('.')));
        std::string text = relativeHelpProjectText(readWholeFile(hhp, kProjectSizeLimit), folder);
        text = withListedFiles(std::move(text), chm::helpProjectFiles(hhp));
        for (const std::string& page : chm::pagesChmcmdCrashesOn(hhp))
            emit("Warning: chmcmd is known to crash on the title of " + page +
                 " with full-text search on (its first word starts with a letter beyond ASCII and the page holds "
                 "it); compile with the built-in compiler or change the title");
        copy.create(folder, stem, text);
    } catch (const Error& error) {
        emit(error.what());
        return false;
    }

    std::string status = "Compiling " + std::string(fileNameOf(hhp));
    if (progress)
        progress(status);
    ChildProcessOptions options;
    options.arguments = {m_path, "--no-html-scan", copy.fileName()};
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
    return openWithChmlib(compiledFile);
}

std::unique_ptr<CompiledHelpFile> openWithChmlib(const std::string& compiledFile)
{
    return std::make_unique<ChmlibHelpFile>(compiledFile);
}

std::string withListedFiles(std::string text, const std::vector<std::string>& files)
{
    const HelpProjectInfo info = parseHelpProject(text);
    std::set<std::string> listed;
    for (std::string file : info.files) {
        std::replace(file.begin(), file.end(), '\\', '/');
        listed.insert(file);
    }
    std::string lines;
    for (const std::string& file : files) {
        if (!listed.contains(file))
            lines += file + "\r\n";
    }
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (asciiUpper(line) == "[FILES]") {
            if (end == text.size()) {
                text += "\r\n";
                return text + lines;
            }
            text.insert(end + 1, lines);
            return text;
        }
        at = end + 1;
    }
    if (!text.empty() && text.back() != '\n')
        text += "\r\n";
    return text + "\r\n[FILES]\r\n" + lines;
}

}  // namespace doxel

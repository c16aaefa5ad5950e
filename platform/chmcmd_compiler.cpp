#include "platform/chmcmd_compiler.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <unistd.h>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/path_rules.h"
#include "core/text_encoding.h"
#include "output/compiler_messages.h"
#include "output/help_file_check.h"
#include "output/help_project_copy.h"
#include "platform/child_process.h"
#include "platform/chm_reader.h"

namespace doxel {
namespace {

constexpr std::size_t kProjectSizeLimit = 256 * 1024 * 1024;

// Every line goes to the log callback and to the log file, with the CR LF
// line ends of every file the program writes.
class MessageSink {
public:
    MessageSink(const CompilerLogCallback& log, const std::string& logFile) : m_log(log)
    {
        if (logFile.empty())
            return;
        m_file.open(logFile, std::ios::binary | std::ios::trunc);
        if (!m_file)
            emitToCallback("Note: Cannot write the log file " + logFile + ": " + std::strerror(errno));
    }
    void emit(const std::string& line)
    {
        emitToCallback(line);
        if (m_file.is_open())
            m_file << line << "\r\n";
    }

private:
    void emitToCallback(const std::string& line)
    {
        if (m_log)
            m_log(line);
    }
    const CompilerLogCallback& m_log;
    std::ofstream m_file;
};

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

std::string inFolder(const std::string& path, const std::string& folder)
{
    std::string result = path;
    for (char& c : result) {
        if (c == '\\')
            c = '/';
    }
    return result.starts_with("/") ? result : folder + "/" + result;
}

// The help file's code page, in which the contents and index files name
// their topics.
const CodePage& codePageOf(const HelpProjectInfo& info)
{
    const CodePage* page = codePageOfLanguage(info.languageId);
    return page != nullptr ? *page : windows1252();
}

std::vector<std::string> localsOf(const std::string& sitemapFile, const std::string& folder, const CodePage& page,
                                  MessageSink& sink, CompileStatistics& statistics)
{
    if (sitemapFile.empty())
        return {};
    try {
        return sitemapLocals(toUtf8(readWholeFile(inFolder(sitemapFile, folder), kProjectSizeLimit), page.iconvName));
    } catch (const IoError& error) {
        sink.emit(std::string("Error: ") + error.what());
        ++statistics.errors;
        return {};
    }
}

// chmcmd stores a contents or index file named by a full path under that
// path; viewers look for it at the top of the help file.
void checkTopOfHelpFile(const std::string& compiledFile, const HelpProjectInfo& info, MessageSink& sink,
                        CompileStatistics& statistics)
{
    try {
        const ChmReader help(compiledFile);
        for (const auto& [file, what] : {std::pair{info.contentsFile, "contents"}, std::pair{info.indexFile, "index"}}) {
            if (file.empty())
                continue;
            const std::string name(fileNameOf(inFolder(file, "")));
            if (!help.contains("/" + name)) {
                sink.emit("Warning: The " + std::string(what) + " file " + name +
                          " is not at the top of the help file; help viewers will not find it");
                ++statistics.warnings;
            }
        }
    } catch (const IoError& error) {
        sink.emit(std::string("Error: ") + error.what());
        ++statistics.errors;
    }
}

}  // namespace

ChmcmdCompiler::ChmcmdCompiler(std::string program) : m_program(std::move(program)) {}

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
    const auto report = [&progress](const std::string& text) {
        if (progress)
            progress(text);
    };
    if (!isLoaded()) {
        if (log)
            log(problem());
        return false;
    }
    const std::string hhp = absolutePath(helpProjectFile);
    const std::string folder(folderOf(hhp).substr(0, folderOf(hhp).size() - 1));
    std::string text;
    try {
        text = readWholeFile(hhp, kProjectSizeLimit);
    } catch (const IoError& error) {
        if (log)
            log(error.what());
        return false;
    }
    const HelpProjectInfo info = parseHelpProject(text);
    MessageSink sink(log, info.logFile.empty() ? std::string() : inFolder(info.logFile, folder));
    statistics = {};

    report("Checking " + std::string(fileNameOf(hhp)));
    CompileStatistics ownCounts;
    std::vector<std::string> topics = info.files;
    for (const std::string& sitemap : {info.contentsFile, info.indexFile}) {
        std::vector<std::string> locals = localsOf(sitemap, folder, codePageOf(info), sink, ownCounts);
        topics.insert(topics.end(), std::make_move_iterator(locals.begin()), std::make_move_iterator(locals.end()));
    }
    HelpFileCheck check(folder);
    check.checkTopicFiles(topics);
    check.checkDefaultTopic(toUtf8(info.defaultTopic, codePageOf(info).iconvName));
    check.scanPages(report, m_progressInterval);
    for (const std::string& line : check.lines())
        sink.emit(line);
    statistics = check.statistics();
    statistics += ownCounts;
    if (statistics.errors > 0) {
        sink.emit("The help file was not compiled: the compiler cannot go on with the errors above.");
        return true;
    }

    TemporaryFile copy;
    try {
        const std::string stem(fileNameOf(hhp).substr(0, fileNameOf(hhp).rfind('.')));
        copy.create(folder, stem, relativeHelpProjectText(text, folder));
    } catch (const IoError& error) {
        sink.emit(error.what());
        return false;
    }

    std::string status = "Compiling " + std::string(fileNameOf(hhp));
    report(status);
    ChildProcessOptions options;
    options.arguments = {m_path, copy.fileName()};
    options.workingFolder = folder;
    options.tickInterval = m_progressInterval;
    options.onLine = [&](const std::string& line) {
        if (line.empty())
            return;
        const CompilerMessage message = interpretChmcmdLine(line, check);
        if (message.kind == MessageKind::Warning)
            ++statistics.warnings;
        else if (message.kind == MessageKind::Error)
            ++statistics.errors;
        sink.emit(message.text);
        status = message.text;
    };
    options.onTick = [&] { report(status); };
    const ChildProcessResult ended = runChildProcess(options);
    switch (ended.ending) {
    case ChildProcessResult::Ending::NotStarted:
        sink.emit("The compiler could not be started: " + ended.problem);
        return false;
    case ChildProcessResult::Ending::Signalled:
        sink.emit("The compiler was stopped by " + signalName(ended.status) + ".");
        return false;
    case ChildProcessResult::Ending::Exited:
        if (ended.status != 0) {
            sink.emit("The compiler stopped with exit status " + std::to_string(ended.status) + ".");
            return false;
        }
        break;
    }

    const std::string compiled = inFolder(info.compiledFile, folder);
    if (::access(compiled.c_str(), R_OK) != 0) {
        sink.emit("Error: The compiler wrote no help file " + std::string(fileNameOf(compiled)));
        ++statistics.errors;
        return true;
    }
    checkTopOfHelpFile(compiled, info, sink, statistics);
    return true;
}

}  // namespace doxel

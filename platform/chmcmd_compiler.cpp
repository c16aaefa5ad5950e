#include "platform/chmcmd_compiler.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <locale.h>  // NOLINT(modernize-deprecated-headers): newlocale is POSIX, not in <clocale>
#include <set>
#include <unistd.h>
#include <wctype.h>  // NOLINT(modernize-deprecated-headers): towlower_l is POSIX, not in <cwctype>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>

#include "compiler/help_compiler.h"
#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/path_rules.h"
#include "core/text_encoding.h"
#include "formats/help_id_map.h"
#include "formats/help_project_reader.h"
#include "formats/help_project_writer.h"
#include "formats/sitemap_reader.h"
#include "output/compiled_help_check.h"
#include "output/help_file_check.h"
#include "platform/child_process.h"
#include "platform/chm_reader.h"

namespace doxel {
namespace {

std::u32string lowerCase(std::u32string text)
{
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    for (char32_t& c : text) {
        if (utf8 != nullptr)
            c = static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), utf8));
        else if (c >= 'A' && c <= 'Z')
            c += 32;
    }
    return text;
}

// The pages of a help project whose titles chmcmd dies on with search on,
// relative to its folder; none when its search is off.
std::vector<std::string> pagesChmcmdCrashesOn(const std::string& helpProjectFile)
{
    std::vector<std::string> pages;
    chm::visitStoredPages(helpProjectFile, true,
                          [&pages](const std::string& path, const std::string& title, const std::string& text) {
                              if (chmcmdCrashesOnTitle(title, text))
                                  pages.push_back(path);
                          });
    return pages;
}

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

// chmcmd empties the help file it writes before it reads a page, so a run
// that fails or is stopped would leave no help file at all. The old one
// waits under another name beside it and comes back unless the run
// succeeds.
class KeptHelpFile {
public:
    explicit KeptHelpFile(std::string target) : m_target(std::move(target))
    {
        std::error_code error;
        if (!std::filesystem::is_regular_file(m_target, error))
            return;
        std::string pattern = std::string(folderOf(m_target)) + "." + std::string(fileNameOf(m_target)) + "-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            return;
        ::close(fd);
        if (::rename(m_target.c_str(), pattern.c_str()) == 0)
            m_kept = pattern;
        else
            ::unlink(pattern.c_str());
    }
    ~KeptHelpFile()
    {
        if (m_kept.empty())
            return;
        std::error_code error;
        if (m_succeeded && std::filesystem::is_regular_file(m_target, error))
            ::unlink(m_kept.c_str());
        else
            ::rename(m_kept.c_str(), m_target.c_str());
    }
    KeptHelpFile(const KeptHelpFile&) = delete;
    KeptHelpFile& operator=(const KeptHelpFile&) = delete;
    void succeeded() { m_succeeded = true; }

private:
    std::string m_target;
    std::string m_kept;
    bool m_succeeded = false;
};

// Where `relative` leads from `folder` (absolute, without a final "/").
enum class Place { Inside, Outside, LinkedOutside };
Place placeOf(const std::string& relative, const std::string& folder)
{
    std::string path = relative;
    std::replace(path.begin(), path.end(), '\\', '/');
    const std::string normal = std::filesystem::path(path).lexically_normal().generic_string();
    if (path.starts_with('/') || normal.empty() || normal == "." || normal == ".." || normal.starts_with("../"))
        return Place::Outside;
    // A link in the project to a file elsewhere brings that file no more
    // than a "../" does.
    std::error_code error;
    const std::filesystem::path real = std::filesystem::weakly_canonical(folder + "/" + normal, error);
    const std::filesystem::path realFolder = std::filesystem::weakly_canonical(folder, error);
    return !error && real.string().starts_with(realFolder.string() + "/") ? Place::Inside : Place::LinkedOutside;
}

// The topic files a help project leads to: its [FILES], the "Local" values
// of its contents and index, its default topic.
std::vector<std::string> topicFilesOf(const HelpProjectFile& info, const std::string& folder,
                                      const std::vector<HelpIdEntry>& helpIds)
{
    std::vector<std::string> topics = info.files;
    const std::string codePage = codePageForLanguageId(info.languageId.value_or(0x409)).iconvName;
    const auto asViewersRead = [&](const std::string& text) {
        return isValidUtf8(text) ? text : decodedLocal(text, codePage);
    };
    for (const std::string& sitemap : {info.contentsFile, info.indexFile}) {
        if (sitemap.empty())
            continue;
        try {
            const Sitemap read = readSitemapAsWritten(readWholeFile(folder + "/" + sitemap, kProjectSizeLimit));
            for (const SitemapEntry& entry : read.entries) {
                topics.push_back(asViewersRead(entry.local));
                for (const std::string& local : entry.moreLocals)
                    topics.push_back(asViewersRead(local));
            }
        } catch (const Error&) {
            // The compile's own checks report it.
        }
    }
    if (!info.defaultTopic.empty())
        topics.push_back(asViewersRead(info.defaultTopic));
    for (const HelpIdEntry& id : helpIds)
        topics.push_back(id.topic.substr(0, id.topic.find('#')));
    return topics;
}

// The text without its [ALIAS] and [MAP] sections.
std::string withoutHelpIdSections(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool skipping = false;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view whole = text.substr(start, end - start);
        start = end;
        const std::string_view line = trimmed(whole, " \t\r\n");
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string section = asciiUpper(line);
            skipping = section == "[ALIAS]" || section == "[MAP]";
        }
        if (!skipping)
            out += whole;
    }
    return out;
}

// [ALIAS] and [MAP] as chmcmd takes them: chmcmd refuses the whole project
// for a topic with an anchor, with "\" or outside its [FILES], and passes
// over numbers it cannot read (one followed by a comment), so it gets the
// help ids as we read them, each topic one of `files`. Anchors are lost,
// but chmcmd's topics lead nowhere anyway.
std::string withHelpIdSections(std::string text, const std::vector<HelpIdEntry>& helpIds,
                               const std::set<std::string>& files)
{
    std::string aliases;
    std::string map;
    for (const HelpIdEntry& id : helpIds) {
        std::string topic = id.topic.substr(0, id.topic.find('#'));
        std::replace(topic.begin(), topic.end(), '\\', '/');
        topic = std::filesystem::path(topic).lexically_normal().generic_string();
        if (!files.contains(topic))
            continue;
        aliases += id.name + "=" + topic + "\r\n";
        map += "#define " + id.name + " " + std::to_string(id.number) + "\r\n";
    }
    if (aliases.empty())
        return text;
    if (!text.ends_with('\n'))
        text += "\r\n";
    return text + "\r\n[ALIAS]\r\n" + aliases + "\r\n[MAP]\r\n" + map;
}

// The help project as chmcmd gets it: its [FILES] are exactly the files
// inside the project folder that its topic files reach, found by our own
// scan. chmcmd then runs without its own scan of the pages, which follows
// "../" links and takes files from anywhere on the disk into the help file.
std::string withFilesInside(std::string_view text, const std::string& folder,
                            const std::function<void(const std::string&)>& warn)
{
    const HelpProjectFile info = readHelpProject(text, folder);
    const std::vector<HelpIdEntry> helpIds = readHelpIds(info, folder, {}).ids;
    HelpFileCheck check(folder);
    check.checkTopicFiles(topicFilesOf(info, folder, helpIds));
    check.scanPages({});
    // What leaves the folder by its name the compile's checks warn of; a
    // link that leads out is said here.
    std::set<std::string> files;
    const auto take = [&](const std::string& file) {
        switch (placeOf(file, folder)) {
        case Place::Inside: {
            // chmcmd dies on a listed file it cannot open; the compile's
            // checks report what is missing.
            const std::string normal = std::filesystem::path(file).lexically_normal().generic_string();
            std::error_code error;
            if (std::filesystem::is_regular_file(folder + "/" + normal, error))
                files.insert(normal);
            break;
        }
        case Place::LinkedOutside:
            warn(FolderGate::leftOutWarning(file));
            break;
        case Place::Outside:
            break;
        }
    };
    for (const std::string& file : info.files) {
        std::string path = file;
        std::replace(path.begin(), path.end(), '\\', '/');
        take(path);
    }
    for (const std::string& file : check.reachedFiles()) {
        if (!files.contains(file))
            take(file);
    }

    return withHelpIdSections(withFilesSection(withoutHelpIdSections(text), files), helpIds, files);
}

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
    const std::string stem(fileNameOf(hhp).substr(0, fileNameOf(hhp).rfind('.')));
    TemporaryFile copy;
    std::unique_ptr<KeptHelpFile> kept;
    try {
        const std::string text = readWholeFile(hhp, kProjectSizeLimit);
        std::string target = readHelpProject(text, hhp).compiledFile;
        std::replace(target.begin(), target.end(), '\\', '/');
        if (target.empty())
            target = stem + ".chm";
        kept = std::make_unique<KeptHelpFile>(target.starts_with('/') ? target : folder + "/" + target);
        copy.create(folder, stem, withFilesInside(text, folder, emit));
        if (!readHelpIds(readHelpProject(text, hhp), folder, "").ids.empty())
            emit("Warning: chmcmd stores the topics of help ids under the full path of the folder it compiles in (" +
                 folder +
                 "/...), where help viewers find nothing: applications cannot open this help file at a help id; "
                 "compile with the built-in compiler");
        for (const std::string& page : pagesChmcmdCrashesOn(hhp))
            emit("Warning: chmcmd is known to crash on the title of " + page +
                 " with full-text search on (its first word starts with a letter beyond ASCII and the page holds "
                 "it); compile with the built-in compiler or change the title");
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
    kept->succeeded();
    return true;
}

std::unique_ptr<CompiledHelpFile> ChmcmdCompiler::openCompiled(const std::string& compiledFile)
{
    return openWithChmlib(compiledFile);
}

std::unique_ptr<CompiledHelpFile> openWithChmlib(const std::string& compiledFile)
{
    return std::make_unique<ChmReader>(compiledFile);
}

bool chmcmdCrashesOnTitle(const std::string& title, const std::string& page)
{
    std::size_t start = 0;
    while (start < title.size() && (title[start] == ' ' || title[start] == '\t'))
        ++start;
    if (start >= title.size() || static_cast<unsigned char>(title[start]) < 0x80)
        return false;
    // The first word, then its first letters lower-cased: chmcmd dies when
    // the page's text holds the word in any form ("Установка" and
    // "установку").
    std::u32string word;
    for (std::size_t pos = start; pos < title.size();) {
        const long c = decodeUtf8(title, pos);
        if (c < 0 || c == ' ' || c == '\t' || c == ',' || c == '.' || c == ':')
            break;
        word.push_back(static_cast<char32_t>(c));
    }
    const std::size_t stem = word.size() > 4 ? word.size() - 2 : word.size();
    const std::u32string key = lowerCase(word.substr(0, stem));
    // The text after the title.
    const std::string lowerTitleEnd = "</title>";
    std::size_t body = 0;
    for (std::size_t i = 0; i + lowerTitleEnd.size() <= page.size(); ++i) {
        if (asciiLower(std::string_view(page).substr(i, lowerTitleEnd.size())) == lowerTitleEnd) {
            body = i + lowerTitleEnd.size();
            break;
        }
    }
    std::u32string text;
    for (std::size_t pos = body; pos < page.size();) {
        const long c = decodeUtf8(page, pos);
        text.push_back(c < 0 ? U'?' : static_cast<char32_t>(c));
    }
    return !key.empty() && lowerCase(text).find(key) != std::u32string::npos;
}

}  // namespace doxel

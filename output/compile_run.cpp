#include "output/compile_run.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/path_rules.h"
#include "core/project_settings.h"
#include "core/text_encoding.h"
#include "formats/character_references.h"
#include "formats/help_project_reader.h"
#include "formats/local_value.h"
#include "formats/sitemap_reader.h"
#include "output/compiled_help_check.h"
#include "output/compiler_messages.h"
#include "output/converted_pages_folder.h"
#include "output/help_file_check.h"

namespace doxel {
namespace {

// A setting that cannot be read counts as off: the run is past the point
// where it could stop cleanly, and the input files must still be deleted.
bool isOn(SettingsStore& settings, const SettingKey& key)
{
    try {
        return Settings(settings).flag(key);
    } catch (const SettingsError&) {
        return false;
    }
}

void removeIfPresent(const std::string& path)
{
    if (path.empty())
        return;
    std::error_code error;
    std::filesystem::remove(path, error);
}

bool isFile(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

CompileStatistics& CompileStatistics::operator+=(const CompileStatistics& other)
{
    warnings += other.warnings;
    errors += other.errors;
    topics += other.topics;
    graphics += other.graphics;
    localLinks += other.localLinks;
    internetLinks += other.internetLinks;
    return *this;
}

std::vector<SummaryRow> summaryRows(const CompileStatistics& s)
{
    return {{"Warnings", s.warnings, 2},
            {"Errors", s.errors, 1},
            {"Topics", s.topics, 5},
            {"Local Links", s.localLinks, 3},
            {"Internet Links", s.internetLinks, 4},
            {"Graphics", s.graphics, 0}};
}

CompileFiles compileFilesOf(const Project& project)
{
    CompileFiles files{project.helpProjectFile, project.contentsFile, project.indexFile, project.compiledFile};
    files.projectFile = project.projectFile;
    return files;
}

CompileFiles compileFilesOf(const Project& project, const CompilerInputFiles& written)
{
    CompileFiles files = compileFilesOf(project);
    if (written.codePage != nullptr)
        files.codePage = written.codePage->iconvName;
    for (const CompilerFileMessage& message : written.messages)
        files.writerMessages.push_back(message.line());
    return files;
}

namespace {

constexpr std::size_t kProjectSizeLimit = 256 * 1024 * 1024;

// Every line goes to the host and to the log file, with the CR LF line ends
// of every file the program writes.
class MessageSink {
public:
    MessageSink(CompileHost& host, const std::string& logFile) : m_host(host)
    {
        if (logFile.empty())
            return;
        m_file.open(logFile, std::ios::binary | std::ios::trunc);
        if (!m_file)
            m_host.addLogLine("Note: Cannot write the log file " + logFile + ": " + std::strerror(errno));
    }
    void emit(const std::string& line)
    {
        m_host.addLogLine(line);
        keepAlive();
        if (m_file.is_open())
            m_file << line << "\r\n";
    }
    // Emits the line and counts it by its kind.
    void count(const std::string& line, CompileStatistics& statistics)
    {
        const MessageKind kind = messageKindOf(line);
        if (kind == MessageKind::Warning)
            ++statistics.warnings;
        else if (kind == MessageKind::Error)
            ++statistics.errors;
        emit(line);
    }
    // For a line the host shows in its own way.
    void toFileOnly(const std::string& line)
    {
        if (m_file.is_open())
            m_file << line << "\r\n";
    }
    void flush()
    {
        if (m_file.is_open())
            m_file.flush();
    }

    // Lets the host handle its pending input now and then, for work between
    // the compiler's progress calls that may take long: thousands of lines,
    // or a large help file read back. Called for every step of such work;
    // the clock is looked at every 64th step only.
    void keepAlive()
    {
        if (++m_steps % 64 != 0)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastKeepAlive < kKeepAliveStep)
            return;
        m_lastKeepAlive = now;
        m_host.keepAlive();
    }

private:
    static constexpr auto kKeepAliveStep = std::chrono::milliseconds(40);
    CompileHost& m_host;
    std::ofstream m_file;
    std::chrono::steady_clock::time_point m_lastKeepAlive = std::chrono::steady_clock::now();
    unsigned m_steps = 0;
};

std::string logFileOf(const CompileFiles& files, SettingsStore& settings)
{
    if (!files.logFile.empty())
        return files.logFile;
    try {
        return Settings(settings).text(setting::kLogFile);
    } catch (const SettingsError&) {
        return {};
    }
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

// When a file was last written, to tell a help file the compiler wrote from
// one an earlier compile left.
std::optional<std::filesystem::file_time_type> writtenAt(const std::string& path)
{
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    if (error)
        return std::nullopt;
    return time;
}

// The checks that must pass before the compiler starts: every topic file of
// the help project must exist (chmcmd dies on a missing one), and the
// default topic should.
struct PreparedCompile {
    HelpProjectFile info;
    std::string folder;  // the project folder, absolute, without a final "/"
    std::unique_ptr<HelpFileCheck> check;
    const CodePage* codePage = nullptr;  // the help file's
};

// The code page the writers chose, or the one of the help project's
// language when the files were written by someone else.
const CodePage& codePageOfCompile(const CompileFiles& files, const HelpProjectFile& info)
{
    for (const CodePage& page : helpCodePages()) {
        if (files.codePage == page.iconvName)
            return page;
    }
    return codePageForLanguageId(info.languageId.value_or(0));
}

PreparedCompile checkBeforeCompiling(const CompileFiles& files, MessageSink& sink, CompileStatistics& statistics,
                                     const std::function<void(const std::string&)>& progress)
{
    PreparedCompile prepared;
    const std::string hhp = absolutePath(files.helpProjectFile);
    prepared.folder = std::string(folderOf(hhp));
    if (prepared.folder.size() > 1)
        prepared.folder.pop_back();
    prepared.check = std::make_unique<HelpFileCheck>(prepared.folder);
    progress("Checking " + std::string(fileNameOf(hhp)));
    try {
        prepared.info = readHelpProject(readWholeFile(hhp, kProjectSizeLimit), hhp);
    } catch (const Error& error) {
        sink.count(std::string("Error: ") + error.what(), statistics);
        return prepared;
    }
    // Every topic is checked as the URL that leads to it.
    std::vector<std::string> topics;
    for (const std::string& file : prepared.info.files)
        topics.push_back(urlOfFileName(file));
    // The contents and index lead to pages in the help file's code page,
    // the help project names them in the file system's UTF-8. When the code
    // page is not known for sure, a text that is UTF-8 already is taken as
    // it is.
    const CodePage& helpCodePage = codePageOfCompile(files, prepared.info);
    const std::string codePage = files.codePage.empty() ? helpCodePage.iconvName : files.codePage;
    prepared.check->setHelpCodePage(helpCodePage.number);
    prepared.codePage = &helpCodePage;
    const auto asViewersRead = [&](const std::string& text) {
        return !files.codePage.empty() || !isValidUtf8(text) ? decodedLocal(text, codePage) : text;
    };
    // The help project reader has read its texts in the code page already.
    const std::string defaultTopic = decodeCharacterReferences(prepared.info.defaultTopic, {.inAttribute = true});
    // A contents entry or keyword whose page is missing opens nothing, but
    // the help file can still be made: a warning, where a missing file of
    // [FILES] is an error.
    std::vector<HelpFileCheck::EntryTopic> entryTopics;
    for (const auto& [sitemap, what] :
         {std::pair(prepared.info.contentsFile, "Contents entry"), std::pair(prepared.info.indexFile, "Keyword")}) {
        if (sitemap.empty())
            continue;
        try {
            const Sitemap written =
                readSitemapAsWritten(readWholeFile(inFolder(sitemap, prepared.folder), kProjectSizeLimit));
            for (const SitemapEntry& entry : written.entries) {
                const std::string name = decodeCharacterReferences(asViewersRead(entry.name), {.inAttribute = true});
                if (!entry.local.empty())
                    entryTopics.push_back({what, name, asViewersRead(entry.local)});
                for (const std::string& local : entry.moreLocals)
                    entryTopics.push_back({what, name, asViewersRead(local)});
            }
        } catch (const Error& error) {
            sink.count(std::string("Error: ") + error.what(), statistics);
        }
    }
    prepared.check->checkTopicFiles(topics);
    prepared.check->checkEntryTopics(entryTopics);
    prepared.check->checkDefaultTopic(defaultTopic);
    return prepared;
}

// Reads the help file back as a viewer does; a file that cannot be opened
// as a help file is an error.
void checkWrittenHelpFile(CompilerLibrary& library, const std::string& compiledFile, const PreparedCompile& prepared,
                          const std::string& codePage, MessageSink& sink, CompileStatistics& statistics)
{
    const auto fileName = [](const std::string& path) { return std::string(fileNameOf(inFolder(path, ""))); };
    try {
        const std::unique_ptr<CompiledHelpFile> help = library.openCompiled(compiledFile);
        if (!help)
            return;
        const std::string contents =
            prepared.info.contentsFile.empty() ? std::string() : fileName(prepared.info.contentsFile);
        const std::string index = prepared.info.indexFile.empty() ? std::string() : fileName(prepared.info.indexFile);
        // A page's reference that the scan reported already is not named
        // again.
        const HelpFileCheck& check = *prepared.check;
        const auto reportedBefore = [&check](std::string_view target) { return check.reportedTarget(target); };
        for (const std::string& line : checkHelpFileLinks(
                 *help, contents, index, codePage, [&sink] { sink.keepAlive(); }, reportedBefore))
            sink.count(line, statistics);
        const HelpIdDefinitions helpIds = readHelpIds(prepared.info, prepared.folder, {});
        for (const std::string& line : checkHelpIdTable(*help, helpIds.ids, codePage))
            sink.count(line, statistics);
    } catch (const Error& error) {
        sink.count(std::string("Error: ") + error.what(), statistics);
    }
}

CompileResult runCompile(CompilerLibrary& library, SettingsStore& settings, CompileHost& host,
                         const CompileFiles& files)
{
    CompileResult result;
    host.closeHelpViewers(files.compiledFile);
    host.keepAlive();

    if (!library.load() && !library.problem().empty())
        host.addLogLine(library.problem());
    library.init();
    if (!library.isLoaded()) {
        host.showFailure({});
        return result;
    }

    MessageSink sink(host, logFileOf(files, settings));
    const auto progress = [&host](const std::string& text) {
        host.keepAlive();
        host.showProgressText(text);
    };
    CompileStatistics& counts = result.statistics;
    for (const std::string& line : files.writerMessages)
        sink.count(line, counts);
    PreparedCompile prepared = checkBeforeCompiling(files, sink, counts, progress);
    HelpFileCheck& check = *prepared.check;
    for (const std::string& line : check.lines())
        sink.emit(line);
    counts += check.statistics();

    const auto finish = [&](CompileOutcome outcome) {
        result.outcome = outcome;
        result.succeeded = outcome == CompileOutcome::Compiled;
        // A new author's project starts without search; the last line says
        // where it is turned on.
        if (result.succeeded && !files.keepInputFiles && !prepared.info.fullTextSearch)
            sink.emit(kSearchOffNote);
        sink.flush();
        if (result.succeeded && isOn(settings, setting::kLaunchHelp) && counts.errors == 0)
            host.openHelpFile(files.compiledFile);
        if (isOn(settings, setting::kViewLog))
            host.viewLogFile();
        if (!files.keepInputFiles) {
            removeIfPresent(files.helpProjectFile);
            removeIfPresent(files.contentsFile);
            removeIfPresent(files.indexFile);
        }
        host.showSummary(counts);
        if (!result.succeeded)
            host.showFailure(outcome == CompileOutcome::StoppedByChecks ? kStoppedByChecksText : kNothingWrittenText);
        library.free();
        return result;
    };
    const std::size_t checkLines = check.lines().size();
    const CompileStatistics checkCounts = check.statistics();
    // The scan's lines follow the checks'; its counts are totals, and its
    // warnings and errors add to those counted before it.
    const auto addScanResults = [&] {
        for (std::size_t i = checkLines; i < check.lines().size(); ++i)
            sink.emit(check.lines()[i]);
        const CompileStatistics& scanned = check.statistics();
        counts.warnings += scanned.warnings - checkCounts.warnings;
        counts.errors += scanned.errors - checkCounts.errors;
        counts.topics = scanned.topics;
        counts.graphics = scanned.graphics;
        counts.localLinks = scanned.localLinks;
        counts.internetLinks = scanned.internetLinks;
    };
    if (counts.errors > 0) {
        // The compiler would die on these; the scan still tells the author
        // all that is wrong in one go.
        check.scanPages(progress);
        addScanResults();
        sink.toFileOnly(kStoppedByChecksText);
        return finish(CompileOutcome::StoppedByChecks);
    }

    // The scan comes first: it finds the files whose pages the help file
    // must store converted to its code page, which the compiler then reads
    // from a folder of their own.
    check.scanPages(progress);
    if (check.unreadablePages() > 0) {
        addScanResults();
        sink.toFileOnly(kStoppedByChecksText);
        return finish(CompileOutcome::StoppedByChecks);
    }
    std::vector<std::string> helpFiles = prepared.info.files;
    for (std::string& file : check.reachedFiles())
        helpFiles.push_back(std::move(file));
    std::vector<std::string> reads = {files.helpProjectFile, files.contentsFile, files.indexFile};
    if (!files.projectFile.empty())
        reads.insert(reads.end(), {files.projectFile, projectSettingsFileName(files.projectFile)});
    for (const std::string& file : helpFiles)
        reads.push_back(inFolder(file, prepared.folder));
    if (const std::string refusal = helpFileTargetRefusal(files.compiledFile, reads); !refusal.empty()) {
        sink.count("Error: " + refusal, counts);
        addScanResults();
        sink.toFileOnly(kStoppedByChecksText);
        return finish(CompileOutcome::StoppedByChecks);
    }
    if (!FolderGate(prepared.folder).holds(std::string(folderOf(absolutePath(files.compiledFile)))))
        sink.emit("Note: The help file is written outside the project folder, to " + absolutePath(files.compiledFile));
    std::unique_ptr<ConvertedPagesFolder> converted;
    try {
        converted = ConvertedPagesFolder::prepare(absolutePath(files.helpProjectFile), prepared.folder, helpFiles,
                                                  *prepared.codePage);
    } catch (const Error& error) {
        sink.count(std::string("Error: ") + error.what(), counts);
        addScanResults();
        return finish(CompileOutcome::StoppedByChecks);
    }
    if (converted) {
        for (const std::string& file : converted->leftOut())
            sink.count(FolderGate::leftOutWarning(file), counts);
        sink.emit("Note: " + std::to_string(converted->convertedPages().size()) +
                  " pages go into the help file converted to Windows-" + std::to_string(prepared.codePage->number) +
                  ", the code page its viewers read them in; the files on disk stay as they are");
    }
    std::vector<std::string> waiting;
    CompileStatistics compilerCounts;
    // A compiler opens the help file by its name and would write through a
    // symbolic link there into the file it names; the link goes, and the
    // help file takes its place.
    std::error_code linkError;
    if (std::filesystem::is_symlink(files.compiledFile, linkError))
        std::filesystem::remove(files.compiledFile, linkError);
    const auto before = writtenAt(files.compiledFile);
    bool compiled = false;
    const auto log = [&](const std::string& line) {
        if (line.empty())
            return;
        if (needsPageScan(line))
            waiting.push_back(line);
        else
            sink.count(line, counts);
    };
    // The program's own projects get the binary keyword index too.
    library.setBinaryIndex(!files.keepInputFiles);
    compiled = library.compile(converted ? converted->helpProjectFile() : files.helpProjectFile, log, progress,
                               compilerCounts);
    if (compiled && converted) {
        try {
            converted->deliverHelpFile(files.compiledFile);
        } catch (const Error& error) {
            sink.count(std::string("Error: ") + error.what(), counts);
        }
        converted.reset();
    }

    addScanResults();
    counts += compilerCounts;
    for (const std::string& line : waiting) {
        const CompilerMessage message = interpretChmcmdLine(line, check);
        sink.count(message.text, counts);
    }
    if (!compiled) {
        sink.flush();
        host.showFailure({});
        return result;
    }

    const auto after = writtenAt(files.compiledFile);
    if (!after || after == before) {
        sink.count("Error: The compiler wrote no help file " + std::string(fileNameOf(files.compiledFile)), counts);
        sink.toFileOnly(kNothingWrittenText);
        return finish(CompileOutcome::NothingWritten);
    }
    checkWrittenHelpFile(library, files.compiledFile, prepared, files.codePage, sink, counts);
    result.brokenEntries = check.brokenEntries();
    return finish(CompileOutcome::Compiled);
}

}  // namespace

CompileResult compileRun(CompilerLibrary& library, SettingsStore& settings, CompileHost& host,
                         const CompileFiles& files)
{
    try {
        return runCompile(library, settings, host, files);
    } catch (const CompileStopped&) {
        // The compiler's own temporary files went as the stop passed
        // through it; the help file it would have replaced is still there.
        if (!files.keepInputFiles) {
            removeIfPresent(files.helpProjectFile);
            removeIfPresent(files.contentsFile);
            removeIfPresent(files.indexFile);
        }
        library.free();
        host.showFailure(kStoppedText);
        CompileResult result;
        result.outcome = CompileOutcome::Stopped;
        return result;
    }
}

bool canCompile(const Project& project)
{
    return project.entryCount() > 1;
}

bool helpFileExists(const Project& project)
{
    return isFile(project.compiledFile);
}

bool logFileExists(SettingsStore& settings)
{
    try {
        return isFile(Settings(settings).text(setting::kLogFile));
    } catch (const SettingsError&) {
        return false;
    }
}

}  // namespace doxel

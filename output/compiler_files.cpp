#include "output/compiler_files.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "formats/help_project_writer.h"
#include "output/contents_file.h"
#include "output/help_ids_header.h"
#include "output/index_file.h"

namespace doxel {
namespace {

constexpr std::string_view kMarkerText = "Written by HTML Doxel for a compile";
constexpr std::string_view kProcessText = " of process ";

// Creates `path` with its first line only, failing when anything (a file, a
// link) is there. A file that cannot take its first line (a full disk) is
// removed again.
bool createExclusively(const std::string& path, int& error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        error = errno;
        return false;
    }
    const std::string marker = compileInputFirstLine(path);
    const bool written = ::write(fd, marker.data(), marker.size()) == static_cast<ssize_t>(marker.size());
    error = written ? 0 : (errno != 0 ? errno : ENOSPC);
    ::close(fd);
    if (!written)
        ::unlink(path.c_str());
    return written;
}

// Creates the three files, or none of them.
bool createAll(const std::string (&paths)[3], int& error)
{
    for (std::size_t i = 0; i < 3; ++i) {
        if (!createExclusively(paths[i], error)) {
            for (std::size_t j = 0; j < i; ++j)
                ::unlink(paths[j].c_str());
            return false;
        }
    }
    return true;
}

// Removes the files of the three that an ended compile left; true when none
// of them is left afterwards, so the three names are free. The help project
// comes first and names the compile's process, which may still run.
bool removeLeftovers(const std::string (&paths)[3])
{
    for (const std::string& path : paths) {
        std::error_code error;
        if (std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::not_found)
            continue;
        if (!isLeftoverCompileInput(path))
            return false;
    }
    for (const std::string& path : paths)
        ::unlink(path.c_str());
    return true;
}

}  // namespace

std::string compileInputFirstLine(const std::string& path)
{
    // The contents and index files go into the help file, which must not
    // differ between two compiles of the same project: only the help
    // project names the process.
    if (asciiLower(path).ends_with(".hhp"))
        return "; " + std::string(kMarkerText) + std::string(kProcessText) + std::to_string(::getpid()) +
               "; removed when it ends\r\n";
    return "<!-- " + std::string(kMarkerText) + "; removed when it ends -->\r\n";
}

bool isLeftoverCompileInput(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    std::string head(200, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    const ssize_t got = ::read(fd, head.data(), head.size());
    ::close(fd);
    head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    head = head.substr(0, head.find('\n'));
    if (!(head.starts_with("; ") || head.starts_with("<!-- ")) || head.find(kMarkerText) == std::string::npos)
        return false;
    const std::size_t at = head.find(kProcessText);
    if (at == std::string::npos)
        return true;
    // The compile that wrote it is over: no process has its number.
    const long process = std::strtol(head.c_str() + at + kProcessText.size(), nullptr, 10);
    return process > 0 && ::kill(static_cast<pid_t>(process), 0) != 0 && errno == ESRCH;
}

void reserveCompileInputFiles(Project& project)
{
    project.deriveCompilerFileNames();
    const std::string base = project.baseName();
    int error = 0;
    std::string paths[3] = {base + ".hhp", base + ".hhc", base + ".hhk"};
    if (!createAll(paths, error) && !(error == EEXIST && removeLeftovers(paths) && createAll(paths, error))) {
        if (error != EEXIST)
            throw IoError(describeErrno("Cannot write", paths[0], error));
        const std::string folder(folderOf(base));
        const std::string stem(fileNameOf(base));
        static thread_local std::mt19937 random{std::random_device{}()};
        static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        bool created = false;
        for (int attempt = 0; attempt < 100 && !created; ++attempt) {
            std::string unique = folder + "." + stem + "-doxel-";
            for (int i = 0; i < 6; ++i)
                unique += kLetters[random() % (sizeof kLetters - 1)];
            paths[0] = unique + ".hhp";
            paths[1] = unique + ".hhc";
            paths[2] = unique + ".hhk";
            created = createAll(paths, error);
            if (!created && error != EEXIST)
                throw IoError(describeErrno("Cannot write", paths[0], error));
        }
        if (!created)
            throw IoError(describeErrno("Cannot write", paths[0], EEXIST));
    }
    project.helpProjectFile = paths[0];
    project.contentsFile = paths[1];
    project.indexFile = paths[2];
}

CompilerInputFiles writeCompilerFiles(const Project& project, ProgressReporter& progress, PathStyle style,
                                      const std::string& logFile, const TextLookup& text,
                                      const std::function<void()>& awaitFileList, bool forCompile)
{
    const auto firstLine = [forCompile](const std::string& path) {
        return forCompile ? compileInputFirstLine(path) : std::string();
    };
    HelpTextWriter writer(project, style);
    const CodePage& page = writer.codePage();
    const char* chosen =
        helpLanguageById(project.helpLanguageId) != nullptr ? " (chosen in the project properties)" : "";
    if (page.number != windows1252().number || *chosen != '\0') {
        writer.note("the help file's language is " + helpLanguageName(page, text) + chosen + ", so its contents, " +
                    "index and title are written in Windows-" + std::to_string(page.number) +
                    "; viewers read its pages in that code page too");
    }
    // Each file is written and put in place on a thread of its own while
    // the next one is made; each is in place before the next one is.
    WriteBehind index(project.indexFile);
    std::string indexText = firstLine(project.indexFile) + indexFileText(project, writer);
    index.hand(indexText);
    index.commit();
    // The help project is the one file that reads the file list, so the
    // contents file is made before it; its messages still follow the help
    // project's.
    HelpTextWriter contentsWriter = writer.apart();
    WriteBehind contents(project.contentsFile);
    if (std::string marker = firstLine(project.contentsFile); !marker.empty())
        contents.hand(marker);
    saveContents(project, contents, progress, contentsWriter);
    index.finish();
    contents.commit();
    if (awaitFileList)
        awaitFileList();
    std::string helpProject = compilerHelpProjectText(project, writer);
    if (!logFile.empty()) {
        // Another compiler given these files writes its log there.
        const std::string after = "\r\nDisplay compile progress=No\r\n";
        if (const std::size_t at = helpProject.find(after); at != std::string::npos)
            helpProject.insert(at + after.size(), "Error log file=" + logFile + "\r\n");
    }
    contents.finish();
    writeFileAtomically(project.helpProjectFile, firstLine(project.helpProjectFile) + helpProject);
    writer.takeMessagesOf(contentsWriter);
    std::vector<CompilerFileMessage> messages = writer.messages();
    for (const KeywordEntry& keyword : project.keywords) {
        if (keyword.topicFile.empty()) {
            messages.push_back(
                {CompilerFileMessage::Kind::Warning,
                 "The keyword \"" + keyword.keyword + "\" leads to no file; viewers open nothing for it"});
        }
    }
    for (CompilerFileMessage& warning : helpIdWarnings(project, style))
        messages.push_back(std::move(warning));
    // The application's build reads the header; a header that cannot be
    // written does not stop the help file.
    try {
        if (writeHelpIdsHeader(project)) {
            messages.push_back({CompilerFileMessage::Kind::Note,
                                "the help ids are written to " + helpIdsHeaderFileName(project.compiledFile)});
        }
    } catch (const IoError& error) {
        messages.push_back({CompilerFileMessage::Kind::Warning, error.what()});
    }
    return {{project.indexFile, project.helpProjectFile, project.contentsFile}, &page, std::move(messages)};
}

}  // namespace doxel

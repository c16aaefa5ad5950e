#include "output/compiler_files.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <unistd.h>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "formats/help_project_writer.h"
#include "output/contents_file.h"
#include "output/help_ids_header.h"
#include "output/index_file.h"

namespace doxel {
namespace {

// Creates `path` empty, failing when anything (a file, a link) is there.
bool createExclusively(const std::string& path, int& error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        error = errno;
        return false;
    }
    ::close(fd);
    return true;
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

}  // namespace

void reserveCompileInputFiles(Project& project)
{
    project.deriveCompilerFileNames();
    const std::string base = project.baseName();
    int error = 0;
    std::string paths[3] = {base + ".hhp", base + ".hhc", base + ".hhk"};
    if (!createAll(paths, error)) {
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
                                      const std::function<void()>& awaitFileList)
{
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
    std::string indexText = indexFileText(project, writer);
    index.hand(indexText);
    index.commit();
    // The help project is the one file that reads the file list, so the
    // contents file is made before it; its messages still follow the help
    // project's.
    HelpTextWriter contentsWriter = writer.apart();
    WriteBehind contents(project.contentsFile);
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
    writeFileAtomically(project.helpProjectFile, helpProject);
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

#include "output/converted_pages_folder.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/path_rules.h"
#include "core/plain_path.h"
#include "formats/help_project_reader.h"
#include "formats/help_project_writer.h"
#include "output/page_code_page.h"

namespace doxel {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kFileSizeLimit = 512 * 1024 * 1024;

// `path` relative to the project folder, "/" separated and plain; empty
// when it is absolute or leads out of the folder.
std::string insideRelative(const std::string& path)
{
    if (path.empty() || path.front() == '/' || path.front() == '\\')
        return {};
    return plainRelativePath(path);
}

bool isRegularFile(const std::string& path)
{
    std::error_code error;
    return fs::is_regular_file(fs::symlink_status(path, error));
}

constexpr const char* kFolderPrefix = "doxel-pages-";

std::string temporaryFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
}

// The folders of runs that ended without removing theirs (killed, or the
// machine went down): each is named with the process that made it
// ("doxel-pages-4242-Ab12Cd"), and goes once that process is gone.
void removeFoldersOfEndedRuns(const std::string& temporary)
{
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(temporary, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kFolderPrefix))
            continue;
        const long process = std::strtol(name.c_str() + std::strlen(kFolderPrefix), nullptr, 10);
        struct stat info {};
        if (process <= 0 || ::lstat(entry.path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != ::geteuid())
            continue;
        if (::kill(static_cast<pid_t>(process), 0) != 0 && errno == ESRCH)
            fs::remove_all(entry.path(), error);
    }
}

}  // namespace

std::unique_ptr<ConvertedPagesFolder> ConvertedPagesFolder::prepare(const std::string& helpProjectFile,
                                                                    const std::string& projectFolder,
                                                                    const std::vector<std::string>& files,
                                                                    const CodePage& codePage)
{
    // Every file is read through the gate: a link in the project to a file
    // elsewhere brings that file no more than a "../" does. Once copied,
    // the compiler could no longer tell.
    const FolderGate gate(projectFolder);
    std::set<std::string> all;
    std::map<std::string, std::string> converted;
    for (const std::string& file : files) {
        const std::string relative = insideRelative(file);
        if (relative.empty() || !all.insert(relative).second)
            continue;
        if (!isPageFileName(relative) || !isRegularFile(projectFolder + "/" + relative))
            continue;
        StoredPage stored;
        try {
            const std::optional<std::string> bytes = gate.read(projectFolder + "/" + relative, kFileSizeLimit);
            if (!bytes)
                continue;
            stored = storedPage(*bytes, codePage);
        } catch (const IoError&) {
            continue;  // the compile's checks report it
        }
        if (stored.kind == StoredPage::Kind::Converted)
            converted.emplace(relative, std::move(stored.bytes));
    }
    if (converted.empty())
        return nullptr;

    std::unique_ptr<ConvertedPagesFolder> folder(new ConvertedPagesFolder);
    const std::string temporary = temporaryFolder();
    removeFoldersOfEndedRuns(temporary);
    std::string pattern = temporary + "/" + kFolderPrefix + std::to_string(::getpid()) + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        throw IoError("Cannot create a temporary folder for the compiler: " + std::string(std::strerror(errno)));
    folder->m_folder = pattern;

    // The compiler input files name every file relative to the project folder.
    const std::string projectText = readWholeFile(helpProjectFile, kFileSizeLimit);
    const HelpProjectFile info = readHelpProject(projectText, helpProjectFile);
    std::set<std::string> copies;
    for (const std::string& relative : all) {
        if (isRegularFile(projectFolder + "/" + relative))
            copies.insert(relative);
    }
    std::set<std::string> sitemaps;
    for (const std::string& sitemap : {info.contentsFile, info.indexFile}) {
        const std::string relative = insideRelative(sitemap);
        if (!relative.empty() && isRegularFile(projectFolder + "/" + relative))
            sitemaps.insert(relative);
    }
    copies.insert(sitemaps.begin(), sitemaps.end());
    for (const auto& [relative, bytes] : converted)
        folder->m_converted.push_back(relative);
    std::set<std::string> listed;
    for (const std::string& relative : copies) {
        const std::string target = folder->m_folder + "/" + relative;
        std::optional<std::string> bytes;
        if (const auto page = converted.find(relative); page != converted.end())
            bytes = page->second;
        else
            bytes = gate.read(projectFolder + "/" + relative, kFileSizeLimit);
        if (!bytes) {
            folder->m_leftOut.push_back(relative);
            continue;
        }
        std::error_code error;
        fs::create_directories(fs::path(target).parent_path(), error);
        if (error)
            throw IoError("Cannot create a folder for the compiler: " + error.message());
        writeFileAtomically(target, *bytes);
        if (all.contains(relative))
            listed.insert(relative);
    }
    std::string compiled = info.compiledFile;
    for (char& c : compiled) {
        if (c == '\\')
            c = '/';
    }
    folder->m_compiledFile = folder->m_folder + "/" + std::string(fileNameOf(compiled));
    folder->m_helpProjectFile = folder->m_folder + "/" + std::string(fileNameOf(helpProjectFile));
    writeFileAtomically(folder->m_helpProjectFile, withFilesSection(projectText, listed, true));
    return folder;
}

ConvertedPagesFolder::~ConvertedPagesFolder()
{
    std::error_code error;
    if (!m_folder.empty())
        fs::remove_all(m_folder, error);
}

bool ConvertedPagesFolder::deliverHelpFile(const std::string& target) const
{
    if (!isRegularFile(m_compiledFile))
        return false;
    std::error_code error;
    fs::rename(m_compiledFile, target, error);
    if (!error)
        return true;
    writeFileAtomically(target, readWholeFile(m_compiledFile, std::size_t(4) * 1024 * 1024 * 1024));
    return true;
}

}  // namespace doxel

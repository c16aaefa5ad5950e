#include "platform/file_association.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "core/atomic_file.h"
#include "core/errors.h"

namespace doxel {
namespace {

std::string environmentOr(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return (value != nullptr && value[0] == '/') ? std::string(value) : fallback;
}

constexpr std::size_t kDesktopFileLimit = std::size_t{16} << 20;

// The file's text, or empty when it does not exist. A file that exists but
// cannot be read throws IoError, so that it is never replaced by a file
// that lacks what it held.
std::string readIfExists(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error)
        return {};
    return readWholeFile(path, kDesktopFileLimit);
}

// Writes `text` unless the file already holds it; returns whether it wrote.
bool writeIfChanged(const std::string& path, const std::string& text)
{
    if (std::filesystem::exists(path) && readIfExists(path) == text)
        return false;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    writeFileAtomically(path, text);
    return true;
}

// Desktop entry values escape "\" and quote arguments that hold spaces.
std::string execArgument(const std::string& path)
{
    std::string out = "\"";
    for (const char c : path) {
        if (c == '\\')
            out += "\\\\\\\\";  // escaped for the quoted argument, then for the string value
        else if (c == '"' || c == '`' || c == '$')
            out += std::string("\\\\") + c;
        else if (c == '%')
            out += "%%";
        else
            out += c;
    }
    return out + "\"";
}

// Runs a desktop database tool on a folder, quietly; a missing tool only
// means the desktop learns of the change later.
void refreshDatabase(const char* tool, const std::string& folder)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
        ::execlp(tool, tool, folder.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (child > 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
    }
}

const std::string& mimePackageText()
{
    static const std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"" +
        std::string(kProjectMimeType) +
        "\">\n"
        "    <comment>HTML Doxel project</comment>\n"
        "    <glob pattern=\"*.dxp\"/>\n"
        "    <icon name=\"html-doxel\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n";
    return text;
}

// The desktop entry with its program and icon left out: every entry the
// program ever wrote looks the same then.
std::string withoutProgramAndIcon(const std::string& entry)
{
    std::istringstream in(entry);
    std::string out;
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with("Exec="))
            line = "Exec=";
        else if (line.starts_with("Icon="))
            line = "Icon=";
        out += line + "\n";
    }
    return out;
}

std::string normalFolder(const std::string& folder)
{
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(folder, error);
    std::string text = (error ? std::filesystem::path(folder) : canonical).lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

// Removes `path` when `ours` recognises its text; returns whether it did.
bool removeIfHolds(const std::string& path, const std::function<bool(const std::string&)>& ours)
{
    const std::string text = readIfExists(path);
    if (text.empty() || !ours(text))
        return false;
    std::filesystem::remove(path);
    return true;
}

}  // namespace

bool installationProvidesAssociation(const std::string& programPath, const std::string& dataDirs,
                                     const std::string& dataHome)
{
    namespace fs = std::filesystem;
    const fs::path bin = fs::path(programPath).parent_path();
    if (bin.filename() != "bin")
        return false;
    const fs::path share = bin.parent_path() / "share";
    std::error_code error;
    if (!fs::is_directory(share / "html-doxel", error) ||
        !fs::exists(share / "applications" / kDesktopFileName, error) ||
        !fs::exists(share / "mime" / "packages" / "html-doxel.xml", error))
        return false;
    const std::string wanted = normalFolder(share.string());
    std::istringstream folders((dataDirs.empty() ? std::string("/usr/local/share:/usr/share") : dataDirs) + ":" +
                               dataHome);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (!folder.empty() && folder.front() == '/' && normalFolder(folder) == wanted)
            return true;
    }
    return false;
}

std::string removeUserFileAssociation(const AssociationFolders& folders)
{
    try {
        const std::string mimeFolder = folders.dataHome + "/mime";
        if (removeIfHolds(mimeFolder + "/packages/html-doxel.xml",
                          [](const std::string& text) { return text == mimePackageText(); }))
            refreshDatabase("update-mime-database", mimeFolder);
        const std::string applications = folders.dataHome + "/applications";
        const std::string entry = withoutProgramAndIcon(desktopEntryText({}, {}));
        if (removeIfHolds(applications + "/" + kDesktopFileName,
                          [&](const std::string& text) { return withoutProgramAndIcon(text) == entry; }))
            refreshDatabase("update-desktop-database", applications);
        return {};
    } catch (const std::exception& error) {
        return error.what();
    }
}

AssociationFolders AssociationFolders::fromEnvironment()
{
    const std::string home = environmentOr("HOME", "/tmp");
    return {environmentOr("XDG_DATA_HOME", home + "/.local/share"),
            environmentOr("XDG_CONFIG_HOME", home + "/.config")};
}

std::string desktopEntryText(const std::string& programPath, const std::string& iconPath)
{
    std::string text;
    text += "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Name=HTML Doxel\n";
    text += "GenericName=HTML Help Authoring\n";
    text += "Comment=Build HTML Help (CHM) files from HTML pages\n";
    text += "Exec=" + execArgument(programPath) + " %f\n";
    text += "Icon=" + iconPath + "\n";
    text += "Terminal=false\n";
    text += "Categories=Development;Documentation;Qt;\n";
    text += std::string("MimeType=") + kProjectMimeType + ";\n";
    return text;
}

std::string mimeAppsWithDefault(const std::string& existing)
{
    const std::string key = std::string(kProjectMimeType) + "=";
    const std::string wanted = key + kDesktopFileName + "\n";
    std::istringstream in(existing);
    std::string out;
    std::string line;
    bool inDefaults = false;
    std::size_t insertAt = std::string::npos;  // after the last line of [Default Applications]
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with('['))
            inDefaults = line == "[Default Applications]";
        else if (inDefaults && line.starts_with(key))
            continue;
        out += line + "\n";
        if (inDefaults && !line.empty())
            insertAt = out.size();
    }
    if (insertAt == std::string::npos) {
        if (!out.empty() && !out.ends_with("\n\n"))
            out += "\n";
        return out + "[Default Applications]\n" + wanted;
    }
    return out.insert(insertAt, wanted);
}

std::string registerFileAssociation(const std::string& programPath, const std::string& iconPath,
                                    const AssociationFolders& folders)
{
    try {
        const std::string mimeFolder = folders.dataHome + "/mime";
        if (writeIfChanged(mimeFolder + "/packages/html-doxel.xml", mimePackageText()))
            refreshDatabase("update-mime-database", mimeFolder);
        const std::string applications = folders.dataHome + "/applications";
        if (writeIfChanged(applications + "/" + kDesktopFileName, desktopEntryText(programPath, iconPath)))
            refreshDatabase("update-desktop-database", applications);
        const std::string mimeApps = folders.configHome + "/mimeapps.list";
        writeIfChanged(mimeApps, mimeAppsWithDefault(readIfExists(mimeApps)));
        return {};
    } catch (const std::exception& error) {
        return error.what();
    }
}

}  // namespace doxel

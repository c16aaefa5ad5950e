#include "formats/help_project_writer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "core/atomic_file.h"
#include "core/help_ids.h"

namespace doxel {
namespace {

constexpr int kSearchTabBit = 1024;

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// How the files of the help project are named: as the project holds them,
// or relative to the help project's folder for a compiler that runs there
// (chmcmd stores a file named by a full path under that path inside the
// help file, where no viewer finds it).
enum class FileNames { AsHeld, Relative };

std::string fileName(const std::string& path, const Project& project, FileNames names)
{
    if (names == FileNames::AsHeld || path.empty() || path.front() != '/')
        return path;
    return projectRelativePath(path, project.helpProjectFile, PathStyle::Posix);
}

std::string windowDefinition(const Project& project, HelpTextWriter& writer, FileNames names)
{
    const WindowSettings& w = project.windowSettings;
    const bool hasIndex = !project.keywords.empty();
    // The rectangle's right and bottom edges, computed as the 32-bit values
    // a reader of the definition expects.
    const auto edge = [](std::int32_t start, std::int32_t size) {
        return std::to_string(
            static_cast<std::int32_t>(static_cast<std::uint32_t>(start) + static_cast<std::uint32_t>(size)));
    };
    std::string title = project.title();
    if (title.find('"') != std::string::npos) {
        std::replace(title.begin(), title.end(), '"', '\'');
        writer.note("the title's double quotes are written as apostrophes in the help window's definition");
    }
    std::string out;
    out += quoted(writer.text(title)) + ",";
    out += quoted(fileName(project.contentsFile, project, names)) + ",";
    out += (hasIndex ? quoted(fileName(project.indexFile, project, names)) : std::string()) + ",";
    out += quoted(writer.windowPath(w.defaultTopic)) + ",";
    out += writer.windowPath(w.homePage) + ",";
    out += writer.windowPath(w.jump1Url) + ",";
    out += writer.text(w.jump1Text) + ",";
    out += writer.windowPath(w.jump2Url) + ",";
    out += writer.text(w.jump2Text) + ",";
    out += hexFlags(w.navigationStyle) + ",";
    out += std::to_string(w.navigationPaneWidth) + ",";
    out += hexFlags(w.buttons) + ",";
    out += "[" + std::to_string(w.left) + "," + std::to_string(w.top) + "," + edge(w.left, w.width) + "," +
           edge(w.top, w.height) + "],";
    out += hexFlags(w.windowStyle) + ",";
    out += hexFlags(w.extendedStyle) + ",";
    out += ",,,,0";
    return out;
}

// [ALIAS] and [MAP] of the project's help ids; nothing without any. A help
// id whose name the sections cannot carry, or whose topic lies outside the
// project folder, is left out of both, so that every name in [MAP] has its
// topic.
void appendHelpIds(std::string& out, const Project& project, HelpTextWriter& writer)
{
    std::vector<const HelpId*> written;
    for (const HelpId& id : project.helpIds) {
        if (!isHelpIdName(id.name) || id.number == 0 || id.topicFile.empty()) {
            writer.note("the help id " + id.name + " lacks a name, number or topic; it is left out");
            continue;
        }
        if (writer.insideProject(id.topicFile, project.projectFile))
            written.push_back(&id);
    }
    if (written.empty())
        return;
    appendCrLf(out, "[ALIAS]");
    for (const HelpId* id : written)
        appendCrLf(out,
                   id->name + "=" +
                       writer.storedPath(projectRelativePath(id->topicFile, project.projectFile, writer.pathStyle())));
    appendCrLf(out, "");
    appendCrLf(out, "[MAP]");
    for (const HelpId* id : written)
        appendCrLf(out, "#define " + id->name + " " + std::to_string(id->number));
    appendCrLf(out, "");
}

// The help project text; `logFile` null for no "Error log file=" line.
std::string helpProjectText(const Project& project, const std::string* logFile, HelpTextWriter& writer, FileNames names)
{
    const WindowSettings& w = project.windowSettings;
    std::string out;
    out.reserve(1024 + project.fileList.size() * 48);
    appendCrLf(out, "[OPTIONS]");
    appendCrLf(out, "Compatibility=1.1 or later");
    appendCrLf(out, "Compiled file=" + fileName(project.compiledFile, project, names));
    appendCrLf(out, "Contents file=" + fileName(project.contentsFile, project, names));
    if (!project.keywords.empty())
        appendCrLf(out, "Index file=" + fileName(project.indexFile, project, names));
    appendCrLf(out, "Default Window=Main");
    appendCrLf(out, "Default topic=" + writer.storedPath(w.defaultTopic));
    appendCrLf(out, "Display compile progress=No");
    if (logFile != nullptr)
        appendCrLf(out, "Error log file=" + *logFile);
    if ((w.navigationStyle & kSearchTabBit) != 0)
        appendCrLf(out, "Full-text search=Yes");
    appendCrLf(out, "Language=" + writer.text(languageLine(writer.codePage())));
    appendCrLf(out, "Title=" + writer.text(project.title()));
    appendCrLf(out, "");
    appendCrLf(out, "[WINDOWS]");
    appendCrLf(out, "Main=" + windowDefinition(project, writer, names));
    appendCrLf(out, "");
    appendCrLf(out, "");
    appendCrLf(out, "[FILES]");
    // chmcmd opens these files by the bytes of their names: UTF-8. The
    // extra files follow the list's, those gone from the disk left out
    // with a note (the author cannot name them in the window).
    std::vector<std::string> files;
    files.reserve(project.fileList.size() + project.extraFiles.size());
    for (const FileListEntry& row : project.fileList)
        files.push_back(row.path);
    for (const std::string& file : project.extraFiles) {
        std::error_code error;
        if (project.fileList.contains(file))
            continue;
        if (std::filesystem::is_regular_file(file, error))
            files.push_back(file);
        else
            writer.note("the extra file " + file + " of the project is gone; the help file is made without it");
    }
    for (const std::string& path : files) {
        if (path.empty())
            continue;
        const std::string name = writer.fileName(path, project.projectFile);
        if (writer.fileNameInsideProject(name)) {
            if (names == FileNames::Relative && name.starts_with('/'))
                out += fileName(name, project, names);
            else
                out += name;
            out += "\r\n";
        }
    }
    appendCrLf(out, "");
    appendHelpIds(out, project, writer);
    appendCrLf(out, "[INFOTYPES]");
    return out;
}

}  // namespace

std::string hexFlags(std::int32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%X", static_cast<unsigned>(static_cast<std::uint32_t>(value)));
    return buffer;
}

std::string languageLine(const CodePage& page)
{
    char id[16];
    std::snprintf(id, sizeof id, "0x%X", static_cast<unsigned>(page.languageId));
    return std::string(id) + " " + page.languageName;
}

std::string buildWindowDefinition(const Project& project, HelpTextWriter& writer)
{
    return windowDefinition(project, writer, FileNames::AsHeld);
}

std::string buildWindowDefinition(const Project& project)
{
    HelpTextWriter writer(project);
    return buildWindowDefinition(project, writer);
}

std::string helpProjectFileText(const Project& project, const std::string& logFile, HelpTextWriter& writer)
{
    return helpProjectText(project, &logFile, writer, FileNames::AsHeld);
}

std::string compilerHelpProjectText(const Project& project, HelpTextWriter& writer)
{
    return helpProjectText(project, nullptr, writer, FileNames::Relative);
}

std::string helpProjectFileText(const Project& project, const std::string& logFile, PathStyle style)
{
    HelpTextWriter writer(project, style);
    return helpProjectFileText(project, logFile, writer);
}

void saveHelpProject(const Project& project, const std::string& path, const std::string& logFile,
                     HelpTextWriter& writer)
{
    writeFileAtomically(path, helpProjectFileText(project, logFile, writer));
}

void saveHelpProject(const Project& project, const std::string& path, const std::string& logFile, PathStyle style)
{
    HelpTextWriter writer(project, style);
    saveHelpProject(project, path, logFile, writer);
}

std::string withFilesSection(std::string_view text, const std::set<std::string>& files, bool bareCompiledFile)
{
    std::string out;
    out.reserve(text.size() + files.size() * 32);
    std::string section;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view whole = text.substr(start, end - start);
        start = end;
        std::string_view line = whole;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.remove_suffix(1);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = asciiUpper(line);
            if (section == "[FILES]")
                continue;
        } else if (section == "[FILES]") {
            continue;  // the file list is written anew below
        } else if (bareCompiledFile && section == "[OPTIONS]" && asciiLower(line.substr(0, 14)) == "compiled file=") {
            std::string name(line.substr(14));
            std::replace(name.begin(), name.end(), '\\', '/');
            out += "Compiled file=" + std::string(fileNameOf(name)) + "\r\n";
            continue;
        }
        out += whole;
    }
    if (!out.empty() && !out.ends_with('\n'))
        out += "\r\n";
    out += "[FILES]\r\n";
    for (const std::string& file : files)
        out += file + "\r\n";
    return out;
}

}  // namespace doxel

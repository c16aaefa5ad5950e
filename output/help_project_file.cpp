#include "output/help_project_file.h"

#include <algorithm>
#include <cstdio>

#include "core/atomic_file.h"

namespace doxel {
namespace {

constexpr int kSearchTabBit = 1024;

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
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

std::string BuildWindowDefinition(const Project& project, HelpTextWriter& writer)
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
    out += quoted(project.contentsFile) + ",";
    out += (hasIndex ? quoted(project.indexFile) : std::string()) + ",";
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

std::string BuildWindowDefinition(const Project& project)
{
    HelpTextWriter writer(project);
    return BuildWindowDefinition(project, writer);
}

std::string HelpProjectFileText(const Project& project, const std::string& logFile, HelpTextWriter& writer)
{
    const WindowSettings& w = project.windowSettings;
    std::string out;
    out.reserve(1024 + project.fileList.size() * 48);
    appendCrLf(out, "[OPTIONS]");
    appendCrLf(out, "Compatibility=1.1 or later");
    appendCrLf(out, "Compiled file=" + project.compiledFile);
    appendCrLf(out, "Contents file=" + project.contentsFile);
    if (!project.keywords.empty())
        appendCrLf(out, "Index file=" + project.indexFile);
    appendCrLf(out, "Default Window=Main");
    appendCrLf(out, "Default topic=" + writer.storedPath(w.defaultTopic));
    appendCrLf(out, "Display compile progress=No");
    appendCrLf(out, "Error log file=" + logFile);
    if ((w.navigationStyle & kSearchTabBit) != 0)
        appendCrLf(out, "Full-text search=Yes");
    appendCrLf(out, "Language=" + writer.text(languageLine(writer.codePage())));
    appendCrLf(out, "Title=" + writer.text(project.title()));
    appendCrLf(out, "");
    appendCrLf(out, "[WINDOWS]");
    appendCrLf(out, "Main=" + BuildWindowDefinition(project, writer));
    appendCrLf(out, "");
    appendCrLf(out, "");
    appendCrLf(out, "[FILES]");
    // chmcmd opens these files by the bytes of their names: UTF-8.
    for (const FileListEntry& row : project.fileList) {
        if (!row.path.empty() && writer.insideProject(row.path, project.projectFile)) {
            out += writer.fileName(row.path, project.projectFile);
            out += "\r\n";
        }
    }
    appendCrLf(out, "");
    appendCrLf(out, "[INFOTYPES]");
    return out;
}

std::string HelpProjectFileText(const Project& project, const std::string& logFile, PathStyle style)
{
    HelpTextWriter writer(project, style);
    return HelpProjectFileText(project, logFile, writer);
}

void SaveHelpProject(const Project& project, const std::string& path, const std::string& logFile,
                     HelpTextWriter& writer)
{
    writeFileAtomically(path, HelpProjectFileText(project, logFile, writer));
}

void SaveHelpProject(const Project& project, const std::string& path, const std::string& logFile, PathStyle style)
{
    HelpTextWriter writer(project, style);
    SaveHelpProject(project, path, logFile, writer);
}

}  // namespace doxel

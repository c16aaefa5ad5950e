#include "output/help_project_file.h"

#include <cstdio>

#include "core/atomic_file.h"
#include "output/sitemap_writer.h"

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

std::string BuildWindowDefinition(const Project& project)
{
    const WindowSettings& w = project.windowSettings;
    const bool hasIndex = !project.keywords.empty();
    // The rectangle's right and bottom edges, computed as the 32-bit values
    // a reader of the definition expects.
    const auto edge = [](std::int32_t start, std::int32_t size) {
        return std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(start) + static_cast<std::uint32_t>(size)));
    };
    std::string out;
    out += quoted(helpText(project.title())) + ",";
    out += quoted(project.contentsFile) + ",";
    out += (hasIndex ? quoted(project.indexFile) : std::string()) + ",";
    out += quoted(w.defaultTopic) + ",";
    out += w.homePage + ",";
    out += w.jump1Url + ",";
    out += helpText(w.jump1Text) + ",";
    out += w.jump2Url + ",";
    out += helpText(w.jump2Text) + ",";
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

std::string HelpProjectFileText(const Project& project, const std::string& logFile, PathStyle style)
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
    appendCrLf(out, "Default topic=" + w.defaultTopic);
    appendCrLf(out, "Display compile progress=No");
    appendCrLf(out, "Error log file=" + logFile);
    if ((w.navigationStyle & kSearchTabBit) != 0)
        appendCrLf(out, "Full-text search=Yes");
    appendCrLf(out, "Language=0x409 Englisch (USA)");
    appendCrLf(out, "Title=" + helpText(project.title()));
    appendCrLf(out, "");
    appendCrLf(out, "[WINDOWS]");
    appendCrLf(out, "Main=" + BuildWindowDefinition(project));
    appendCrLf(out, "");
    appendCrLf(out, "");
    appendCrLf(out, "[FILES]");
    for (const FileListEntry& row : project.fileList) {
        if (!row.path.empty()) {
            out += ProjectRelativePath(row.path, project.projectFile, style);
            out += "\r\n";
        }
    }
    appendCrLf(out, "");
    appendCrLf(out, "[INFOTYPES]");
    return out;
}

void SaveHelpProject(const Project& project, const std::string& path, const std::string& logFile, PathStyle style)
{
    writeFileAtomically(path, HelpProjectFileText(project, logFile, style));
}

}  // namespace doxel

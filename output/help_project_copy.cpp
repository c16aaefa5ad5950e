#include "output/help_project_copy.h"

#include <cstdlib>

#include "core/path_rules.h"

namespace doxel {
namespace {

// Calls line(text) for each line without its line end; CR LF and LF both end
// a line.
template <typename Line>
void forEachLine(std::string_view text, Line&& line)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view body = text.substr(start, end - start);
        if (!body.empty() && body.back() == '\r')
            body.remove_suffix(1);
        line(body, text.substr(start, next - start));
        start = next;
    }
}

bool startsWithKey(std::string_view line, std::string_view key)
{
    return line.size() >= key.size() && asciiLower(line.substr(0, key.size())) == key;
}

std::string_view sectionOf(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']' ? line : std::string_view();
}

std::string relativeTo(const std::string& path, const std::string& projectFolder)
{
    if (path.empty() || path.front() != '/')
        return path;
    return ProjectRelativePath(path, projectFolder + "/help.hhp");
}

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    if (from.empty())
        return;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

HelpProjectInfo parseHelpProject(std::string_view text)
{
    HelpProjectInfo info;
    std::string section;
    forEachLine(text, [&](std::string_view line, std::string_view) {
        if (!sectionOf(line).empty()) {
            section = asciiUpper(line);
            return;
        }
        if (section == "[OPTIONS]") {
            const auto value = [&](std::string_view key) { return std::string(line.substr(key.size())); };
            if (startsWithKey(line, "compiled file="))
                info.compiledFile = value("compiled file=");
            else if (startsWithKey(line, "contents file="))
                info.contentsFile = value("contents file=");
            else if (startsWithKey(line, "index file="))
                info.indexFile = value("index file=");
            else if (startsWithKey(line, "error log file="))
                info.logFile = value("error log file=");
            else if (startsWithKey(line, "default topic="))
                info.defaultTopic = value("default topic=");
            else if (startsWithKey(line, "language="))
                info.languageId = static_cast<std::uint32_t>(std::strtoul(value("language=").c_str(), nullptr, 0));
        } else if (section == "[FILES]" && !line.empty()) {
            info.files.emplace_back(line);
        }
    });
    return info;
}

std::string relativeHelpProjectText(std::string_view text, const std::string& projectFolder)
{
    const HelpProjectInfo info = parseHelpProject(text);
    const std::string contents = relativeTo(info.contentsFile, projectFolder);
    const std::string index = relativeTo(info.indexFile, projectFolder);
    std::string out;
    out.reserve(text.size());
    std::string section;
    forEachLine(text, [&](std::string_view line, std::string_view whole) {
        const std::string_view ending = whole.substr(line.size());
        if (!sectionOf(line).empty()) {
            section = asciiUpper(line);
        } else if (section == "[OPTIONS]") {
            if (startsWithKey(line, "error log file="))
                return;
            for (const std::string_view key : {"compiled file=", "contents file=", "index file="}) {
                if (startsWithKey(line, key)) {
                    out += line.substr(0, key.size());
                    out += relativeTo(std::string(line.substr(key.size())), projectFolder);
                    out += ending;
                    return;
                }
            }
        } else if (section == "[WINDOWS]") {
            std::string definition(line);
            replaceAll(definition, "\"" + info.contentsFile + "\"", "\"" + contents + "\"");
            replaceAll(definition, "\"" + info.indexFile + "\"", "\"" + index + "\"");
            out += definition;
            out += ending;
            return;
        } else if (section == "[FILES]" && !line.empty()) {
            out += relativeTo(std::string(line), projectFolder);
            out += ending;
            return;
        }
        out += whole;
    });
    return out;
}

std::vector<std::string> sitemapLocals(std::string_view text)
{
    std::vector<std::string> locals;
    const std::string lower = asciiLower(text);
    for (std::size_t at = lower.find("<param"); at != std::string::npos; at = lower.find("<param", at + 6)) {
        const std::size_t end = lower.find('>', at);
        if (end == std::string::npos)
            break;
        const std::string_view tag = std::string_view(lower).substr(at, end - at);
        if (tag.find("name=\"local\"") == std::string_view::npos)
            continue;
        const std::size_t value = tag.find("value=\"");
        if (value == std::string_view::npos)
            continue;
        const std::size_t start = at + value + 7;
        const std::size_t close = lower.find('"', start);
        if (close == std::string::npos || close > end)
            continue;
        locals.emplace_back(text.substr(start, close - start));
    }
    return locals;
}

}  // namespace doxel

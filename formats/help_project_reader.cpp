#include "formats/help_project_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/errors.h"
#include "core/path_rules.h"
#include "core/project.h"
#include "core/text_encoding.h"

namespace doxel {
namespace {

// Lines may end with CR LF.
std::string_view trimmedField(std::string_view text)
{
    return trimmed(text, " \t\r");
}

std::optional<std::int32_t> number(std::string_view text)
{
    text = trimmedField(text);
    if (text.empty())
        return std::nullopt;
    const std::string copy(text);
    char* end = nullptr;
    const long long value = std::strtoll(copy.c_str(), &end, 0);
    if (end == copy.c_str() || *end != '\0')
        return std::nullopt;
    // Flags are written as unsigned 32-bit numbers ("0x80000000").
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// A pane width bounded as the project properties bound it; a number too
// large for any integer is the largest width, not what wraps around.
std::optional<std::int32_t> paneWidth(std::string_view text)
{
    text = trimmed(text);
    if (text.empty())
        return std::nullopt;
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(copy.c_str(), &end, 0);
    if (end == copy.c_str() || *end != '\0')
        return std::nullopt;
    return static_cast<std::int32_t>(std::clamp<long long>(value, kMinNavigationPaneWidth, kMaxNavigationPaneWidth));
}

bool yes(std::string_view value)
{
    const std::string lower = asciiLower(trimmedField(value));
    return lower == "yes" || lower == "true" || lower == "1";
}

// Each field is decoded alone: a help project may carry texts in its code
// page beside file names in UTF-8.
std::string decodeField(std::string_view bytes, const CodePage& page)
{
    return isValidUtf8(bytes) ? std::string(bytes) : toUtf8(bytes, page.iconvName);
}

}  // namespace

const WindowDefinition* HelpProjectFile::mainWindow() const
{
    for (const WindowDefinition& window : windows) {
        if (asciiLower(window.name) == asciiLower(defaultWindow))
            return &window;
    }
    return windows.empty() ? nullptr : &windows.front();
}

std::vector<std::string> splitWindowDefinition(std::string_view value)
{
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos <= value.size()) {
        while (pos < value.size() && value[pos] == ' ')
            ++pos;
        std::string field;
        std::size_t end = pos;
        if (pos < value.size() && value[pos] == '"') {
            const std::size_t close = value.find('"', pos + 1);
            const std::size_t stop = close == std::string_view::npos ? value.size() : close;
            field = std::string(value.substr(pos + 1, stop - pos - 1));
            end = value.find(',', stop);
        } else if (pos < value.size() && value[pos] == '[') {
            const std::size_t close = value.find(']', pos);
            const std::size_t stop = close == std::string_view::npos ? value.size() : close + 1;
            field = std::string(value.substr(pos, stop - pos));
            end = value.find(',', stop);
        } else {
            end = value.find(',', pos);
            field = std::string(
                trimmedField(value.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos)));
        }
        fields.push_back(std::move(field));
        if (end == std::string_view::npos)
            break;
        pos = end + 1;
    }
    return fields;
}

WindowDefinition windowDefinitionFrom(std::string name, const std::vector<std::string>& fields)
{
    WindowDefinition window;
    window.name = std::move(name);
    const auto field = [&](std::size_t number) -> std::string {
        return number <= fields.size() ? fields[number - 1] : std::string();
    };
    window.title = field(1);
    window.contentsFile = field(2);
    window.indexFile = field(3);
    window.defaultTopic = field(4);
    window.homePage = field(5);
    window.jump1Url = field(6);
    window.jump1Text = field(7);
    window.jump2Url = field(8);
    window.jump2Text = field(9);
    window.navigationStyle = number(field(10));
    window.navigationPaneWidth = paneWidth(field(11));
    window.buttons = number(field(12));
    const std::string rectangle = field(13);
    if (rectangle.size() > 2 && rectangle.front() == '[') {
        const std::vector<std::string> edges =
            splitWindowDefinition(std::string_view(rectangle).substr(1, rectangle.size() - 2));
        if (edges.size() == 4) {
            window.left = number(edges[0]);
            window.top = number(edges[1]);
            window.right = number(edges[2]);
            window.bottom = number(edges[3]);
        }
    }
    window.windowStyle = number(field(14));
    window.extendedStyle = number(field(15));
    return window;
}

HelpProjectFile readHelpProject(std::string_view bytes, const std::string& fileName)
{
    // Saved as "Unicode" by a Windows editor: read as the contents file of
    // such a project is.
    std::string converted;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        try {
            converted = toUtf8(bytes, "UTF-16");
            bytes = converted;
        } catch (const ConversionError&) {
            // Not UTF-16 after all: refused below for its zero bytes.
        }
    }
    if (const void* nul = std::memchr(bytes.data(), '\0', bytes.size())) {
        const auto at = static_cast<std::ptrdiff_t>(static_cast<const char*>(nul) - bytes.data());
        throw FormatError(fileName, static_cast<int>(std::count(bytes.begin(), bytes.begin() + at, '\n')) + 1,
                          "this is not a help project file (it holds a zero byte)");
    }
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);

    // The code page comes from the "Language=" line, wherever it stands.
    HelpProjectFile project;
    std::vector<std::pair<int, std::string_view>> lines;
    for (std::size_t start = 0, number = 1; start < bytes.size(); ++number) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        lines.emplace_back(static_cast<int>(number), trimmedField(bytes.substr(start, end - start)));
        start = end + 1;
    }
    std::string section;
    for (const auto& [number, line] : lines) {
        if (line.starts_with('[')) {
            section = asciiUpper(line);
        } else if (section == "[OPTIONS]" && asciiLower(line).starts_with("language=")) {
            project.languageId = static_cast<int>(std::strtol(std::string(line.substr(9)).c_str(), nullptr, 0));
        }
    }
    const CodePage& page = codePageForLanguageId(project.languageId.value_or(0x409));

    section.clear();
    int mapLines = 0;
    int aliasLines = 0;
    for (const auto& [number, line] : lines) {
        if (line.empty() || line.starts_with(';'))
            continue;
        if (line.starts_with('[') && line.ends_with(']')) {
            section = asciiUpper(line);
            if (section != "[OPTIONS]" && section != "[WINDOWS]" && section != "[FILES]" && section != "[INFOTYPES]" &&
                section != "[MAP]" && section != "[ALIAS]")
                project.notes.push_back({number, "the section " + std::string(line) + " is not taken over"});
            continue;
        }
        if (section == "[MAP]" || section == "[ALIAS]") {
            const bool map = section == "[MAP]";
            std::string& text = map ? project.mapText : project.aliasText;
            int& lineCount = map ? mapLines : aliasLines;
            // Padded to the line's own number, so that notes name the line.
            text.append(static_cast<std::size_t>(number - 1 - lineCount), '\n');
            text += line;
            text += '\n';
            lineCount = number;
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string key =
            equals == std::string_view::npos ? std::string() : asciiLower(trimmedField(line.substr(0, equals)));
        const std::string_view raw = equals == std::string_view::npos ? line : trimmedField(line.substr(equals + 1));
        if (section == "[OPTIONS]") {
            const std::string value = decodeField(raw, page);
            if (key == "binary toc")
                project.binaryContents = yes(value);
            else if (key == "binary index")
                project.binaryIndex = yes(value);
            else if (key == "full text search stop list file")
                project.stopListFile = value;
            if (key == "title")
                project.title = value;
            else if (key == "compiled file")
                project.compiledFile = value;
            else if (key == "contents file")
                project.contentsFile = value;
            else if (key == "index file")
                project.indexFile = value;
            else if (key == "default topic")
                project.defaultTopic = value;
            else if (key == "default window")
                project.defaultWindow = value;
            else if (key == "full-text search")
                project.fullTextSearch = yes(value);
            else if ((key == "binary toc" || key == "binary index" || key == "auto index" || key == "auto toc" ||
                      key == "create chi file" || key == "default font" || key == "custom tab" ||
                      key == "sample list file" || key == "full text search stop list file") &&
                     !value.empty() && asciiLower(value) != "no")
                project.notes.push_back({number, "the option \"" + std::string(line) + "\" is not taken over"});
        } else if (section == "[WINDOWS]" && equals != std::string_view::npos) {
            std::vector<std::string> fields = splitWindowDefinition(raw);
            for (std::string& field : fields)
                field = decodeField(field, page);
            project.windows.push_back(
                windowDefinitionFrom(decodeField(trimmedField(line.substr(0, equals)), page), fields));
        } else if (section == "[FILES]") {
            project.files.push_back(decodeField(line, page));
        }
    }
    return project;
}

}  // namespace doxel

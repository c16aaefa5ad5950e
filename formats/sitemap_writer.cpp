#include "formats/sitemap_writer.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "core/help_language.h"
#include "formats/local_value.h"

namespace doxel {
namespace {

// A help file with thousands of lacking texts names the first few.
constexpr std::size_t kNamedAtMost = 20;

std::string codePageName(const CodePage& page)
{
    return "Windows-" + std::to_string(page.number);
}

std::string escapedName(std::string_view text)
{
    if (text.find_first_of("&\"<>") == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 16);
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool isPathField(const std::string& text)
{
    return !text.empty() && text != kNotDefined;
}

void appendNamed(std::vector<CompilerFileMessage>& out, const std::vector<std::string>& names,
                 const std::string& single, const std::string& rest)
{
    for (std::size_t i = 0; i < names.size() && i < kNamedAtMost; ++i)
        out.push_back({CompilerFileMessage::Kind::Warning, single + " \"" + names[i] + "\"" + rest});
    if (names.size() > kNamedAtMost) {
        out.push_back({CompilerFileMessage::Kind::Warning,
                       std::to_string(names.size() - kNamedAtMost) + " more as above" + rest});
    }
}

}  // namespace

void appendSitemapHead(std::string& out)
{
    appendCrLf(out, "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">");
    appendCrLf(out, "<HTML>");
    appendCrLf(out, "<HEAD>");
    appendCrLf(out, "<meta name=\"GENERATOR\" content=\"HTML Doxel\">");
    appendCrLf(out, "<!-- Sitemap 1.0 -->");
    appendCrLf(out, "</HEAD><BODY>");
}

std::string CompilerFileMessage::line() const
{
    return (kind == Kind::Note ? "Note: " : "Warning: ") + text;
}

std::string forwardSlashes(std::string_view path)
{
    std::string out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

const CodePage& HelpCodePage(const Project& project, bool* complete, PathStyle style)
{
    // Only texts with a character beyond ASCII can decide; the set keeps a
    // path shared by many entries from being tried again and again.
    std::vector<std::string> owned;
    std::unordered_set<std::string> seen;
    const auto add = [&](std::string text) {
        if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return;
        if (seen.insert(text).second)
            owned.push_back(std::move(text));
    };
    const WindowSettings& w = project.windowSettings;
    for (const std::string* text : {&w.defaultTopic, &w.jump1Text, &w.jump2Text})
        add(*text);
    forEachEntry(project.root(), [&](const ContentsEntry& entry, int) {
        add(entry.caption);
        add(projectRelativePath(entry.topicFile, project.projectFile, style));
    });
    for (const KeywordEntry& keyword : project.keywords) {
        add(keyword.keyword);
        add(projectRelativePath(keyword.topicFile, project.projectFile, style));
    }
    for (const HelpId& id : project.helpIds)
        add(projectRelativePath(id.topicFile, project.projectFile, style));
    const std::vector<std::string_view> texts(owned.begin(), owned.end());
    return helpLanguageFor(project.helpLanguageId, texts, complete);
}

HelpTextWriter::HelpTextWriter(const Project& project, PathStyle style)
    : m_style(style), m_encoder(HelpCodePage(project, nullptr, style))
{
}

std::string HelpTextWriter::encodeNamed(std::string_view text, std::vector<std::string>& lacking)
{
    bool lacks = false;
    std::string out = m_encoder.encode(text, &lacks);
    if (lacks && std::find(lacking.begin(), lacking.end(), text) == lacking.end())
        lacking.emplace_back(text);
    return out;
}

std::string HelpTextWriter::name(std::string_view text)
{
    // Escaped first: the code page cannot hold an entity's ASCII any worse.
    bool lacks = false;
    std::string out = m_encoder.encode(escapedName(text), &lacks);
    if (lacks && std::find(m_lackingTexts.begin(), m_lackingTexts.end(), text) == m_lackingTexts.end())
        m_lackingTexts.emplace_back(text);
    return out;
}

std::string HelpTextWriter::text(std::string_view text)
{
    return encodeNamed(text, m_lackingTexts);
}

std::string HelpTextWriter::topicPath(std::string_view fullPath, std::string_view projectFile)
{
    if (!fullPath.empty() && !insideProject(fullPath, projectFile))
        return {};
    const std::string stored = projectRelativePath(fullPath, projectFile, m_style);
    if (!isPathField(stored))
        return stored;
    return encodeNamed(localValueOf(forwardSlashes(stored)), m_lackingPaths);
}

bool HelpTextWriter::insideProject(std::string_view fullPath, std::string_view projectFile)
{
    const std::string relative = forwardSlashes(projectRelativePath(fullPath, projectFile, m_style));
    if (!isPathField(relative))
        return true;  // an address
    const std::string file = relative.substr(0, relative.find('#'));
    const std::string normal = std::filesystem::path(file).lexically_normal().generic_string();
    const bool outside = normal.starts_with("/") || normal == ".." || normal.starts_with("../") ||
                         (normal.size() > 1 && normal[1] == ':');
    if (!outside)
        return true;
    if (std::find(m_outside.begin(), m_outside.end(), file) == m_outside.end()) {
        m_outside.push_back(file);
        m_notes.push_back({CompilerFileMessage::Kind::Warning,
                           "the file " + file +
                               " lies outside the project folder, where the help file cannot hold it; it is left out"});
    }
    return false;
}

std::string HelpTextWriter::storedPath(std::string_view stored)
{
    if (!isPathField(std::string(stored)))
        return std::string(stored);
    return encodeNamed(forwardSlashes(stored), m_lackingPaths);
}

std::string HelpTextWriter::windowPath(std::string_view stored)
{
    return storedPath(stored);
}

std::string HelpTextWriter::fileName(std::string_view fullPath, std::string_view projectFile) const
{
    return forwardSlashes(projectRelativePath(fullPath, projectFile, m_style));
}

void HelpTextWriter::note(std::string text)
{
    m_notes.push_back({CompilerFileMessage::Kind::Note, std::move(text)});
}

std::vector<CompilerFileMessage> HelpTextWriter::messages() const
{
    std::vector<CompilerFileMessage> out = m_notes;
    const std::string page = codePageName(codePage());
    appendNamed(out, m_lackingTexts, "the help file's code page " + page + " lacks characters of",
                ", which are written as character references");
    appendNamed(out, m_lackingPaths, "the help file's code page " + page + " cannot hold the file name",
                ", so viewers will not find that topic");
    return out;
}

}  // namespace doxel

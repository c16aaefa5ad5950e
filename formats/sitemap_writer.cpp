#include "formats/sitemap_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <unordered_set>

#include "core/help_language.h"
#include "core/plain_path.h"
#include "formats/local_value.h"

namespace doxel {
namespace {

// A help file with thousands of lacking texts names the first few.
constexpr std::size_t kNamedAtMost = 20;

std::string codePageName(const CodePage& page)
{
    return "Windows-" + std::to_string(page.number);
}

bool isAsciiText(std::string_view text)
{
    // Eight bytes at a time: every caption and path of a project passes here.
    std::size_t at = 0;
    for (std::uint64_t eight = 0; text.size() - at >= sizeof eight; at += sizeof eight) {
        std::memcpy(&eight, text.data() + at, sizeof eight);
        if ((eight & 0x8080808080808080u) != 0)
            return false;
    }
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void appendEscapedName(std::string& out, std::string_view text)
{
    std::size_t plain = 0;  // start of the run of characters that go in as they are
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char* entity = c == '&' ? "&amp;" : c == '"' ? "&quot;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : nullptr;
        if (entity == nullptr)
            continue;
        out.append(text.data() + plain, i - plain);
        out += entity;
        plain = i + 1;
    }
    out.append(text.data() + plain, text.size() - plain);
}

// Whether `text` holds one of `characters`; a plain loop, as find_first_of
// searches its set once per character.
template <std::size_t N>
bool holdsAnyOf(std::string_view text, const char (&characters)[N])
{
    for (const char c : text) {
        for (std::size_t i = 0; i + 1 < N; ++i) {
            if (c == characters[i])
                return true;
        }
    }
    return false;
}

// Whether `text` goes into a value as it is: ASCII, which every code page
// holds, without any of `escaped`. One pass for the common case.
template <std::size_t N>
bool isPlain(std::string_view text, const char (&escaped)[N])
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
        for (std::size_t i = 0; i + 1 < N; ++i) {
            if (c == escaped[i])
                return false;
        }
    }
    return true;
}

bool isPathField(std::string_view text)
{
    return !text.empty() && text != kNotDefined;
}

// Whether `file` has a "." or ".." name, the only ones that make a path
// lexically normal in another form.
bool hasDotName(std::string_view file)
{
    for (std::size_t start = 0; start <= file.size();) {
        std::size_t end = file.find('/', start);
        if (end == std::string_view::npos)
            end = file.size();
        const std::string_view name = file.substr(start, end - start);
        if (name == "." || name == "..")
            return true;
        start = end + 1;
    }
    return false;
}

// Whether the relative, "/" separated `file` leads out of the folder it is
// relative to: above it, to the root, or to a drive.
bool leavesFolder(std::string_view file)
{
    // Most topic paths have no "." or ".." name and are lexically normal
    // already, but for doubled separators, which change neither test; this
    // spares a path object per topic.
    if (!hasDotName(file))
        return file.starts_with('/') || (file.size() > 1 && file[1] == ':');
    const std::string normal = std::filesystem::path(file).lexically_normal().generic_string();
    return normal.starts_with("/") || normal == ".." || normal.starts_with("../") ||
           (normal.size() > 1 && normal[1] == ':');
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

const CodePage& helpFileCodePage(const Project& project, bool* complete, PathStyle style)
{
    // Only texts with a character beyond ASCII can decide; the set keeps a
    // path shared by many entries from being tried again and again.
    std::vector<std::string> owned;
    std::unordered_set<std::string, StringHash, std::equal_to<>> seen;
    const auto add = [&](std::string_view text) {
        if (isAsciiText(text) || seen.contains(text))
            return;
        seen.emplace(text);
        owned.emplace_back(text);
    };
    // A path of ASCII characters stays so relative to the project folder.
    const auto addPath = [&](const std::string& fullPath) {
        if (!isAsciiText(fullPath))
            add(projectRelativePath(fullPath, project.projectFile, style));
    };
    const WindowSettings& w = project.windowSettings;
    for (const std::string* text : {&w.defaultTopic, &w.jump1Text, &w.jump2Text})
        add(*text);
    forEachEntry(project.root(), [&](const ContentsEntry& entry, int) {
        add(entry.caption);
        addPath(entry.topicFile);
    });
    for (const KeywordEntry& keyword : project.keywords) {
        add(keyword.keyword);
        addPath(keyword.topicFile);
    }
    for (const HelpId& id : project.helpIds)
        add(projectRelativePath(id.topicFile, project.projectFile, style));
    const std::vector<std::string_view> texts(owned.begin(), owned.end());
    return helpLanguageFor(project.helpLanguageId, texts, complete);
}

HelpTextWriter::HelpTextWriter(const Project& project, PathStyle style)
    : m_style(style), m_encoder(helpFileCodePage(project, nullptr, style))
{
}

void HelpTextWriter::NamedOnce::add(std::string_view text)
{
    if (known.contains(text))
        return;
    known.emplace(text);
    inOrder.emplace_back(text);
}

std::string HelpTextWriter::encodeNamed(std::string_view text, NamedOnce& lacking)
{
    std::string out;
    appendEncoded(out, text, text, lacking);
    return out;
}

void HelpTextWriter::appendEncoded(std::string& out, std::string_view text, std::string_view named, NamedOnce& lacking)
{
    bool lacks = false;
    m_encoder.encodeInto(out, text, &lacks);
    if (lacks)
        lacking.add(named);
}

std::string HelpTextWriter::name(std::string_view text)
{
    std::string out;
    appendName(out, text);
    return out;
}

void HelpTextWriter::appendName(std::string& out, std::string_view text)
{
    if (isPlain(text, "&\"<>")) {
        out += text;
        return;
    }
    // Escaped first: the code page cannot hold an entity's ASCII any worse.
    if (!holdsAnyOf(text, "&\"<>")) {
        appendEncoded(out, text, text, m_lackingTexts);
        return;
    }
    m_scratch.clear();
    appendEscapedName(m_scratch, text);
    appendEncoded(out, m_scratch, text, m_lackingTexts);
}

std::string HelpTextWriter::text(std::string_view text)
{
    return encodeNamed(text, m_lackingTexts);
}

std::string HelpTextWriter::topicPath(std::string_view fullPath, std::string_view projectFile)
{
    std::string out;
    appendTopicPath(out, fullPath, projectFile);
    return out;
}

void HelpTextWriter::appendTopicPath(std::string& out, std::string_view fullPath, std::string_view projectFile)
{
    std::string& relative = m_relative;
    relativeFileName(relative, fullPath, projectFile);
    if (!isPathField(relative)) {
        out += relative;  // empty, or an address
        return;
    }
    if (!fileNameInsideProject(relative))
        return;
    if (isPlain(relative, "&%?")) {
        out += relative;
        return;
    }
    if (!holdsAnyOf(relative, "&%?")) {
        appendEncoded(out, relative, relative, m_lackingPaths);
        return;
    }
    m_scratch.clear();
    appendLocalValue(m_scratch, relative);
    appendEncoded(out, m_scratch, m_scratch, m_lackingPaths);
}

bool HelpTextWriter::insideProject(std::string_view fullPath, std::string_view projectFile)
{
    return fileNameInsideProject(fileName(fullPath, projectFile));
}

bool HelpTextWriter::fileNameInsideProject(std::string_view relative)
{
    if (!isPathField(relative))
        return true;  // an address
    const std::string_view file = relative.substr(0, relative.find('#'));
    if (!leavesFolder(file))
        return true;
    if (!m_outside.known.contains(file)) {
        m_outside.add(file);
        Note& warning = m_notes.emplace_back();
        warning.message.kind = CompilerFileMessage::Kind::Warning;
        warning.message.text = "the file " + std::string(file) +
                               " lies outside the project folder, where the help file cannot hold it; it is left out";
        warning.outsideFile = file;
    }
    return false;
}

std::string HelpTextWriter::storedPath(std::string_view stored)
{
    if (!isPathField(stored))
        return std::string(stored);
    return encodeNamed(forwardSlashes(stored), m_lackingPaths);
}

std::string HelpTextWriter::windowPath(std::string_view stored)
{
    return storedPath(stored);
}

std::string HelpTextWriter::fileName(std::string_view fullPath, std::string_view projectFile) const
{
    std::string relative;
    relativeFileName(relative, fullPath, projectFile);
    return relative;
}

void HelpTextWriter::relativeFileName(std::string& into, std::string_view fullPath, std::string_view projectFile) const
{
    const std::string_view folder = folderOf(projectFile, PathStyle::Posix);
    if (m_style == PathStyle::Posix && fullPath.starts_with('/') && !folder.empty() && fullPath.starts_with(folder)) {
        // A file below the project folder, as most are: the rest of its
        // path is what projectRelativePath gives, "/" separated.
        into.assign(fullPath.substr(folder.size()));
    } else {
        into = projectRelativePath(fullPath, projectFile, m_style);
    }
    std::replace(into.begin(), into.end(), '\\', '/');
}

void HelpTextWriter::note(std::string text)
{
    m_notes.emplace_back().message.text = std::move(text);
}

HelpTextWriter::HelpTextWriter(const HelpTextWriter& from, std::size_t notesBefore)
    : m_style(from.m_style),
      m_encoder(from.codePage()),
      m_notes(from.m_notes),
      m_notesBefore(notesBefore),
      m_outside(from.m_outside),
      m_lackingTexts(from.m_lackingTexts),
      m_lackingPaths(from.m_lackingPaths)
{
}

HelpTextWriter HelpTextWriter::apart() const
{
    return HelpTextWriter(*this, m_notes.size());
}

void HelpTextWriter::takeMessagesOf(const HelpTextWriter& apart)
{
    for (std::size_t i = apart.m_notesBefore; i < apart.m_notes.size(); ++i) {
        const Note& note = apart.m_notes[i];
        if (!note.outsideFile.empty()) {
            if (m_outside.known.contains(note.outsideFile))
                continue;
            m_outside.add(note.outsideFile);
        }
        m_notes.push_back(note);
    }
    for (const std::string& text : apart.m_lackingTexts.inOrder)
        m_lackingTexts.add(text);
    for (const std::string& path : apart.m_lackingPaths.inOrder)
        m_lackingPaths.add(path);
}

std::vector<CompilerFileMessage> HelpTextWriter::messages() const
{
    std::vector<CompilerFileMessage> out;
    out.reserve(m_notes.size());
    for (const Note& note : m_notes)
        out.push_back(note.message);
    const std::string page = codePageName(codePage());
    appendNamed(out, m_lackingTexts.inOrder, "the help file's code page " + page + " lacks characters of",
                ", which are written as character references");
    appendNamed(out, m_lackingPaths.inOrder, "the help file's code page " + page + " cannot hold the file name",
                ", so viewers will not find that topic");
    return out;
}

}  // namespace doxel

#include "core/project_file.h"

#include <charconv>
#include <cstring>
#include <exception>
#include <limits>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/project_settings.h"
#include "core/text_encoding.h"

namespace doxel {
namespace {

constexpr char kBel = '\a';
constexpr const char* kWindowSection = "[Window]";
constexpr const char* kContentsSection = "[Table of Contents]";
constexpr const char* kIndexSection = "[Index]";

void appendNumber(std::string& out, long long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendLine(std::string& out, std::string_view text)
{
    out += text;
    out += "\r\n";
}

void appendNumberLine(std::string& out, long long value)
{
    appendNumber(out, value);
    out += "\r\n";
}

// "[L ] " or "[LL] ": the number, padded with one space below 10.
void appendBracketed(std::string& out, int value)
{
    out += '[';
    appendNumber(out, value);
    if (value < 10)
        out += ' ';
    out += "] ";
}

// The file's lines, split at CR LF (also at a lone LF or CR, for files that
// an editor has touched).
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    lines.reserve(text.size() / 48 + 16);
    const char* const end = text.data() + text.size();
    const char* start = text.data();
    // Each stretch up to the next LF, searched with memchr; a CR within it
    // ends a line too, and one just before the LF belongs to it.
    while (start < end) {
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', static_cast<std::size_t>(end - start)));
        const char* const stretchEnd = lf != nullptr ? lf : end;
        for (;;) {
            const auto* cr =
                static_cast<const char*>(std::memchr(start, '\r', static_cast<std::size_t>(stretchEnd - start)));
            if (cr == nullptr)
                break;
            lines.emplace_back(start, static_cast<std::size_t>(cr - start));
            start = cr + 1;
            if (start == lf) {
                ++start;  // CR LF
                break;
            }
        }
        if (start > stretchEnd)
            continue;  // the LF went with its CR
        if (lf != nullptr) {
            lines.emplace_back(start, static_cast<std::size_t>(lf - start));
            start = lf + 1;
        } else if (start < end) {
            lines.emplace_back(start, static_cast<std::size_t>(end - start));
            start = end;
        }
    }
    return lines;
}

// Reads the file line by line, raising FormatError with the line number.
class Reader {
public:
    Reader(std::string_view text, const std::string& fileName) : m_lines(splitLines(text)), m_fileName(fileName) {}

    [[noreturn]] void fail(std::size_t line, const std::string& problem) const
    {
        throw FormatError(m_fileName, static_cast<int>(line + 1), problem);
    }

    std::size_t position() const { return m_next; }
    const std::vector<std::string_view>& lines() const { return m_lines; }
    std::size_t remaining() const { return m_lines.size() - m_next; }

    std::string_view next(const char* what)
    {
        if (m_next >= m_lines.size())
            fail(m_next, std::string("the file ends where ") + what + " should follow");
        return m_lines[m_next++];
    }

    void expect(const char* text)
    {
        const std::string_view line = next(text);
        if (trimmed(line, " ") != text)
            fail(m_next - 1,
                 std::string("expected \"") + text + "\", found \"" + std::string(firstCharacters(line, 60)) + "\"");
    }

    void skip(const char* what) { next(what); }

    long long number(std::string_view text, std::size_t line, long long low, long long high, const char* what) const
    {
        const std::string_view digits = trimmed(text, " ");
        long long value = 0;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || result.ec != std::errc() || result.ptr != digits.data() + digits.size())
            fail(line, std::string(what) + " \"" + std::string(firstCharacters(text, 40)) + "\" is not a whole number");
        if (value < low || value > high)
            fail(line, std::string(what) + " " + std::to_string(value) + " is outside " + std::to_string(low) + " to " +
                           std::to_string(high));
        return value;
    }

    std::int32_t integerLine(const char* what)
    {
        const std::string_view line = next(what);
        return static_cast<std::int32_t>(number(line, m_next - 1, std::numeric_limits<std::int32_t>::min(),
                                                std::numeric_limits<std::int32_t>::max(), what));
    }

    std::string textLine(const char* what) { return std::string(firstCharacters(next(what), kWindowTextLimit)); }

private:
    std::vector<std::string_view> m_lines;
    std::size_t m_next = 0;
    const std::string& m_fileName;
};

struct EntryLine {
    int level = 0;
    int iconNumber = 0;
    std::string_view caption;
    std::string_view storedPath;
};

// "[L ] [i] [NN] caption<BEL>path": level, marker, icon number, caption up
// to the first BEL, then the stored path.
EntryLine parseEntryLine(const Reader& reader, std::string_view line, std::size_t lineIndex)
{
    EntryLine entry;
    if (!line.starts_with('['))
        reader.fail(lineIndex, "a contents entry must begin with \"[\"");
    const auto levelEnd = line.find(']');
    if (levelEnd == std::string_view::npos)
        reader.fail(lineIndex, "the level of the contents entry has no closing \"]\"");
    entry.level = static_cast<int>(reader.number(line.substr(1, levelEnd - 1), lineIndex, 0,
                                                 std::numeric_limits<std::int32_t>::max(), "the level"));

    std::string_view rest = line.substr(levelEnd + 1);
    while (rest.starts_with(' '))
        rest.remove_prefix(1);
    if (!rest.starts_with("[i]") && !rest.starts_with("[h]"))
        reader.fail(lineIndex, "the contents entry has no \"[i]\" or \"[h]\" marker");
    rest.remove_prefix(3);
    while (rest.starts_with(' '))
        rest.remove_prefix(1);
    if (!rest.starts_with('['))
        reader.fail(lineIndex, "the contents entry has no icon number");
    const auto iconEnd = rest.find(']');
    if (iconEnd == std::string_view::npos)
        reader.fail(lineIndex, "the icon number of the contents entry has no closing \"]\"");
    entry.iconNumber = static_cast<int>(
        reader.number(rest.substr(1, iconEnd - 1), lineIndex, 0, kLastStoredIconNumber, "the icon number"));
    rest.remove_prefix(iconEnd + 1);
    if (rest.starts_with(' '))
        rest.remove_prefix(1);

    const auto bel = rest.find(kBel);
    entry.caption = rest.substr(0, bel);
    if (bel != std::string_view::npos)
        entry.storedPath = rest.substr(bel + 1);
    return entry;
}

}  // namespace

std::string projectFileText(const Project& project, const std::string& fileName, ProgressScope& progress,
                            PathStyle style)
{
    const WindowSettings& w = project.windowSettings;
    std::string out;
    out.reserve(4096 + project.keywords.size() * 64);
    appendLine(out, kProjectNoteLine);
    appendLine(out, "");
    appendLine(out, kWindowSection);
    appendLine(out, w.defaultTopic);
    for (const std::int32_t value :
         {w.navigationStyle, w.navigationPaneWidth, w.buttons, w.windowStyle, w.extendedStyle})
        appendNumberLine(out, value);
    for (const std::string* text : {&w.jump1Url, &w.jump1Text, &w.jump2Url, &w.jump2Text, &w.homePage})
        appendLine(out, *text);
    for (const std::int32_t value : {w.left, w.top, w.width, w.height})
        appendNumberLine(out, value);
    appendLine(out, "");
    appendLine(out, kContentsSection);

    const std::size_t lineStart = out.size();
    out += "0\r\n";  // the count, patched below once known
    std::size_t count = 0;
    forEachEntry(project.root(), [&](const ContentsEntry& entry, int level) {
        progress.step(static_cast<int>(count));
        ++count;
        const std::string stored = projectRelativePath(entry.topicFile, fileName, style);
        appendBracketed(out, level);
        out += stored.empty() ? "[h] " : "[i] ";
        appendBracketed(out, storedIconNumber(entry.iconNumber));
        out += entry.caption;
        if (!stored.empty()) {
            out += kBel;
            out += stored;
        }
        out += "\r\n";
    });
    std::string countLine;
    appendNumberLine(countLine, static_cast<long long>(count) - 1);
    out.replace(lineStart, 3, countLine);

    appendLine(out, "");
    appendLine(out, kIndexSection);
    for (const KeywordEntry& keyword : project.keywords) {
        out += keyword.keyword;
        out += kBel;
        out += projectRelativePath(keyword.topicFile, fileName, style);
        out += "\r\n";
    }
    return out;
}

void writeProjectFile(Project& project, const std::string& givenName, ProgressReporter& progress, PathStyle style)
{
    const std::string fileName = absolutePath(givenName, style);
    const bool wasModified = project.modified;
    ProgressScope scope(progress, static_cast<int>(project.entryCount()) - 1);
    project.modified = false;
    try {
        writeFileAtomically(fileName, projectFileText(project, fileName, scope, style));
        writeProjectSettings(project, fileName, style);
    } catch (...) {
        project.modified = wasModified;
        throw;
    }
}

void readProjectText(Project& project, std::string text, const std::string& fileName, PathStyle style,
                     FolderListings* listings, FileListMaker* fileListBeside)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    if (!isValidUtf8(text))
        text = cp1252ToUtf8(text);
    if (text.find('\0') != std::string::npos)
        throw FormatError(fileName, 1, "this is not a project file (it holds binary data)");

    Reader reader(text, fileName);
    Project loaded;
    StoredPathResolver resolver(std::string(folderOf(fileName, style)), style, listings);

    reader.skip("the note line");
    reader.skip("an empty line");
    reader.expect(kWindowSection);
    WindowSettings& w = loaded.windowSettings;
    w.defaultTopic = reader.textLine("the default topic");
    w.navigationStyle = reader.integerLine("the navigation style");
    w.navigationPaneWidth = reader.integerLine("the navigation pane width");
    w.buttons = reader.integerLine("the buttons");
    w.windowStyle = reader.integerLine("the window style");
    w.extendedStyle = reader.integerLine("the extended style");
    w.jump1Url = reader.textLine("the Jump 1 address");
    w.jump1Text = reader.textLine("the Jump 1 text");
    w.jump2Url = reader.textLine("the Jump 2 address");
    w.jump2Text = reader.textLine("the Jump 2 text");
    w.homePage = reader.textLine("the home page");
    w.left = reader.integerLine("the left edge");
    w.top = reader.integerLine("the top edge");
    w.width = reader.integerLine("the width");
    w.height = reader.integerLine("the height");
    // Like the topic files: a project written on Windows may name the
    // window's pages in another letter case than the disk.
    for (std::string* page : {&w.defaultTopic, &w.homePage, &w.jump1Url, &w.jump2Url})
        *page = resolver.matchCase(*page);
    reader.skip("an empty line");
    reader.expect(kContentsSection);

    const std::size_t countLine = reader.position();
    const std::string_view countText = reader.next("the number of contents entries");
    const auto below = static_cast<std::size_t>(reader.number(
        countText, countLine, 0, std::numeric_limits<std::int32_t>::max() - 1, "the number of contents entries"));
    if (below + 1 > reader.remaining())
        reader.fail(countLine, "the file lists " + std::to_string(below + 1) + " contents entries but holds only " +
                                   std::to_string(reader.remaining()) + " more lines");

    // The folders of the topics, listed in the order the entries need them
    // while the entries are read and resolved.
    std::vector<std::string_view> storedPaths;
    storedPaths.reserve(reader.remaining());
    for (std::size_t i = reader.position(); i < reader.lines().size(); ++i) {
        const std::string_view line = reader.lines()[i];
        if (const auto bel = line.find(kBel); bel != std::string_view::npos)
            storedPaths.push_back(line.substr(bel + 1));
    }
    resolver.listAhead(storedPaths);
    storedPaths = {};

    // The last entry of each level, for appending children.
    std::vector<ContentsEntry*> lastAtLevel;
    ContentsEntry& root = loaded.root();
    root.takeChild(0);
    for (std::size_t i = 0; i <= below; ++i) {
        const std::size_t lineIndex = reader.position();
        const EntryLine parsed = parseEntryLine(reader, reader.next("a contents entry"), lineIndex);
        if (i == 0 && parsed.level != 0)
            reader.fail(lineIndex, "the first contents entry (the title) must have level 0");
        if (parsed.level >= kMaxContentsDepth)
            reader.fail(lineIndex, "the level " + std::to_string(parsed.level) + " is deeper than the " +
                                       std::to_string(kMaxContentsDepth) + " levels a project can hold");
        if (static_cast<std::size_t>(parsed.level) > lastAtLevel.size())
            reader.fail(lineIndex, "the level " + std::to_string(parsed.level) + " follows level " +
                                       std::to_string(lastAtLevel.size() - 1) + "; a level can grow by one only");
        auto entry = std::make_unique<ContentsEntry>(std::string(parsed.caption), parsed.iconNumber,
                                                     resolver.resolve(parsed.storedPath));
        ContentsEntry& parent = parsed.level == 0 ? root : *lastAtLevel[static_cast<std::size_t>(parsed.level) - 1];
        lastAtLevel.resize(static_cast<std::size_t>(parsed.level));
        lastAtLevel.push_back(parent.appendChild(std::move(entry)));
    }

    // The file list is made from the finished tree while the keywords are
    // read; the two share nothing but the text.
    FileListMaker ownMaker;
    FileListMaker& fileListMaker = fileListBeside != nullptr ? *fileListBeside : ownMaker;
    fileListMaker.start(root);
    try {
        reader.skip("an empty line");
        reader.expect(kIndexSection);
        while (reader.remaining() > 0) {
            const std::string_view line = reader.next("a keyword");
            if (line.empty())
                continue;
            const auto bel = line.find(kBel);
            KeywordEntry keyword;
            keyword.keyword = std::string(line.substr(0, bel));
            if (bel != std::string_view::npos)
                keyword.topicFile = resolver.resolve(line.substr(bel + 1));
            loaded.keywords.push_back(std::move(keyword));
        }
        resolver.finishListing();
        if (fileListBeside == nullptr)
            loaded.fileList = ownMaker.take();
    } catch (...) {
        // It reads the contents of `loaded`, which go with this.
        fileListMaker.cancel();
        throw;
    }
    loaded.projectFile = fileName;
    loaded.modified = false;
    project.swap(loaded);
}

void readProjectFile(Project& project, const std::string& givenName, PathStyle style, FolderListings* listings,
                     std::vector<std::string>* problems, FileListMaker* fileListBeside)
{
    const std::string fileName = absolutePath(givenName, style);
    std::string text = readWholeFile(fileName, kProjectFileLimit);
    ProjectSettings settings = readProjectSettings(fileName, style, listings);
    readProjectText(project, std::move(text), fileName, style, listings, fileListBeside);
    project.helpIds = std::move(settings.helpIds);
    project.helpLanguageId = settings.helpLanguageId;
    project.extraFiles = std::move(settings.extraFiles);
    if (problems != nullptr)
        problems->insert(problems->end(), settings.problems.begin(), settings.problems.end());
}

}  // namespace doxel

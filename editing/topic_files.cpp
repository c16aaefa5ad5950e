#include "editing/topic_files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/text_encoding.h"

namespace doxel {
namespace {

constexpr char kEndOfText = 26;
constexpr const char* kNoTitle = "New Topic";

// Position of `upperNeedle` (ASCII upper case, beginning with "<") in
// `text`, ignoring ASCII letter case; npos when absent.
std::size_t findIgnoringCase(std::string_view text, std::string_view upperNeedle)
{
    std::size_t at = text.find('<');
    while (at != std::string_view::npos && text.size() - at >= upperNeedle.size()) {
        bool same = true;
        for (std::size_t i = 1; i < upperNeedle.size() && same; ++i) {
            char c = text[at + i];
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            same = c == upperNeedle[i];
        }
        if (same)
            return at;
        at = text.find('<', at + 1);
    }
    return std::string_view::npos;
}

// Whether a POSIX path holds "." or ".." components or doubled slashes,
// which the dialogs never give but a typed or stored path may.
bool needsNormalizing(std::string_view path)
{
    return path.find("//") != std::string_view::npos || path.find("/./") != std::string_view::npos ||
           path.find("/../") != std::string_view::npos || path.ends_with("/.") || path.ends_with("/..");
}

void replaceAll(std::string& text, std::string_view from, std::string_view to)
{
    std::string out;
    std::size_t start = 0;
    std::size_t at = text.find(from);
    if (at == std::string::npos)
        return;
    out.reserve(text.size());
    while (at != std::string::npos) {
        out.append(text, start, at - start);
        out += to;
        start = at + from.size();
        at = text.find(from, start);
    }
    out.append(text, start);
    text = std::move(out);
}

std::string cleanTitle(std::string_view run)
{
    std::string title = isValidUtf8(run) ? std::string(run) : cp1252ToUtf8(run);
    static constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
        {"&auml;", "\xC3\xA4"}, {"&ouml;", "\xC3\xB6"}, {"&uuml;", "\xC3\xBC"}, {"&Auml;", "\xC3\x84"},
        {"&Ouml;", "\xC3\x96"}, {"&Uuml;", "\xC3\x9C"}, {"&szlig;", "\xC3\x9F"}, {"&nbsp;", " "},
    };
    for (const auto& [entity, character] : kEntities)
        replaceAll(title, entity, character);
    // A caption is one line of the project file: a line break or a BEL in
    // it would split the entry when the project is read back.
    for (char& c : title) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return title;
}

}  // namespace

bool topicLocationAllowed(std::string_view file, std::string_view projectFile, PathStyle style)
{
    if (style == PathStyle::Windows) {
        const std::string projectFolder = asciiUpper(folderOf(projectFile, style));
        const std::string folder = asciiUpper(folderOf(file, style));
        if (projectFolder.substr(0, 1) != folder.substr(0, 1))
            return true;  // another drive
        return folder.starts_with(projectFolder);
    }
    const std::string normalFile = topicPathOf(file, style);
    const std::string normalProject = topicPathOf(projectFile, style);
    return folderOf(normalFile, style).starts_with(folderOf(normalProject, style));
}

std::string topicPathOf(std::string_view file, PathStyle style)
{
    if (style == PathStyle::Windows)
        return asciiLower(file);
    // A path that is not absolute came from a project written on Windows
    // ("D:\X\a.htm"); it stays as it was.
    if (!file.starts_with('/'))
        return std::string(file);
    if (!needsNormalizing(file))
        return std::string(file);
    return absolutePath(std::string(file), style);
}

const FileListEntry* findFileRow(const FileList& list, std::string_view file, PathStyle style)
{
    return list.find(topicPathOf(file, style));
}

bool isEditableFile(std::string_view path)
{
    const std::string upper = asciiUpper(path);
    return upper.find(".HTM") != std::string::npos || upper.find(".TXT") != std::string::npos;
}

bool fileListShown(SettingsStore& settings)
{
    return settingIsOn(settings, "ShowFileSystem");
}

void storeFileListShown(SettingsStore& settings, bool shown)
{
    WriteSetting(settings, "ShowFileSystem", shown ? "1" : "0");
}

namespace {
constexpr std::size_t kLongestLine = std::size_t{1} << 20;
}

bool TitleScanner::feed(std::string_view bytes)
{
    if (m_done)
        return true;
    std::size_t pos = 0;
    if (m_afterCr && !bytes.empty()) {
        m_afterCr = false;
        if (bytes[0] == '\n')
            pos = 1;
    }
    while (pos < bytes.size()) {
        std::size_t at = pos;
        while (at < bytes.size() && bytes[at] != '\r' && bytes[at] != kEndOfText)
            ++at;
        m_line.append(bytes.substr(pos, at - pos));
        // A page with LF line ends is one long line; the title stands near
        // its top, so a line is looked at once it is this long.
        if (m_line.size() > kLongestLine) {
            endLine();
            m_done = true;
            return true;
        }
        if (at == bytes.size())
            break;
        if (bytes[at] == kEndOfText) {
            endLine();
            m_done = true;
            return true;
        }
        if (endLine()) {
            m_done = true;
            return true;
        }
        pos = at + 1;
        if (pos == bytes.size())
            m_afterCr = true;
        else if (bytes[pos] == '\n')
            ++pos;
    }
    return false;
}

std::optional<std::string> TitleScanner::finish()
{
    if (!m_done) {
        endLine();
        m_done = true;
    }
    return m_title;
}

bool TitleScanner::endLine()
{
    const std::size_t open = findIgnoringCase(m_line, "<TITLE>");
    if (open != std::string::npos && findIgnoringCase(m_line, "</TITLE>") != std::string::npos) {
        const std::size_t start = open + 7;
        const std::size_t end = m_line.find('<', start);
        const std::size_t length = end == std::string::npos ? end : end - start;
        const std::string_view run = std::string_view(m_line).substr(start, length);
        if (!run.empty()) {
            m_title = cleanTitle(run);
            m_line.clear();
            return true;
        }
    }
    m_line.clear();
    return false;
}

std::optional<std::string> titleOfPage(std::string_view text)
{
    TitleScanner scanner;
    scanner.feed(text);
    return scanner.finish();
}

std::string topicTitle(const std::string& file, PathStyle style)
{
    const std::string fileName(fileNameOf(file, style));
    if (asciiUpper(file).find(".HTM") == std::string::npos)
        return fileName;

    // Not blocking: a named pipe chosen by mistake must not hang the command.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fileName;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fileName;
    }
    TitleScanner scanner;
    char buffer[16384];
    bool failed = false;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            failed = true;
            break;
        }
        if (got == 0 || scanner.feed(std::string_view(buffer, static_cast<std::size_t>(got))))
            break;
    }
    ::close(fd);
    if (failed)
        return fileName;
    return scanner.finish().value_or(kNoTitle);
}

}  // namespace doxel

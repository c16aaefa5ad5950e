#include "editing/topic_files.h"

#include <algorithm>
#include <filesystem>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "core/text_encoding.h"
#include "formats/character_references.h"

namespace doxel {
namespace {

constexpr const char* kNoTitle = "New Topic";

// Whether a POSIX path holds "." or ".." components or doubled slashes,
// which the dialogs never give but a typed or stored path may.
bool needsNormalizing(std::string_view path)
{
    return path.find("//") != std::string_view::npos || path.find("/./") != std::string_view::npos ||
           path.find("/../") != std::string_view::npos || path.ends_with("/.") || path.ends_with("/..");
}

constexpr std::string_view kOpenTag = "<TITLE>";
constexpr std::string_view kCloseTag = "</TITLE>";
// Bytes of a title kept before it is decoded: room for kLongestTitle
// characters written as references.
constexpr std::size_t kLongestRun = 16 * kLongestTitle;

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// One more byte of a tag (upper case, beginning with its only "<") matched
// ignoring ASCII letter case; true when the whole tag has been seen.
bool matchTag(std::string_view tag, std::size_t& matched, char c)
{
    if (upper(c) == tag[matched]) {
        if (++matched < tag.size())
            return false;
        matched = 0;
        return true;
    }
    matched = c == '<' ? 1 : 0;
    return false;
}

std::string cleanTitle(std::string_view run, bool cut)
{
    // A run cut short may end inside a UTF-8 character; that must not make
    // the whole title read as Windows-1252.
    if (cut) {
        for (std::size_t drop = 1; drop <= 3 && !isValidUtf8(run) && run.size() > drop; ++drop) {
            if (isValidUtf8(run.substr(0, run.size() - drop)))
                run = run.substr(0, run.size() - drop);
        }
    }
    std::string title =
        decodeCharacterReferences(isValidUtf8(run) ? std::string(run) : cp1252ToUtf8(run), {.nbspAsSpace = true});
    // A caption is one line of the project file: a line break or a BEL in
    // it would split the entry when the project is read back. A tab is
    // harmless there.
    for (char& c : title) {
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
            c = ' ';
    }
    return std::string(firstCharacters(title, kLongestTitle));
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

bool isEditableFile(std::string_view path)
{
    const std::string upper = asciiUpper(path);
    return upper.find(".HTM") != std::string::npos || upper.find(".TXT") != std::string::npos;
}

bool TitleScanner::feed(std::string_view bytes)
{
    if (!m_title)
        m_lines.feed(bytes, *this);
    return m_title.has_value() || m_lines.ended();
}

std::optional<std::string> TitleScanner::finish()
{
    if (!m_title)
        m_lines.finish(*this);
    return m_title;
}

void TitleScanner::text(std::string_view piece)
{
    if (m_title)
        return;
    const char* p = piece.data();
    const char* const end = p + piece.size();
    while (p != end) {
        // Between tags only a "<" can start anything.
        if (!m_inRun && m_openMatched == 0 && m_closeMatched == 0) {
            p = static_cast<const char*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)));
            if (p == nullptr)
                return;
        }
        const char c = *p++;
        if (m_inRun) {
            if (c == '<')
                m_inRun = false;
            else if (m_run.size() < kLongestRun)
                m_run += c;
            else
                m_runCut = true;
        }
        if (matchTag(kCloseTag, m_closeMatched, c))
            m_closed = true;
        if (!m_opened && matchTag(kOpenTag, m_openMatched, c)) {
            m_opened = true;
            m_inRun = true;
        }
    }
}

void TitleScanner::lineEnd()
{
    if (m_title)
        return;
    if (m_opened && m_closed && !m_run.empty())
        m_title = cleanTitle(m_run, m_runCut);
    m_run.clear();
    m_openMatched = m_closeMatched = 0;
    m_opened = m_inRun = m_runCut = m_closed = false;
}

std::optional<std::string> titleOfPage(std::string_view text)
{
    TitleScanner scanner;
    scanner.feed(text);
    return scanner.finish();
}

std::string topicFileRefusal(std::string_view path, PathStyle style)
{
    if (style == PathStyle::Posix && path.find('\\') != std::string_view::npos)
        return "its name holds \"\\\", which the project file stores as a folder separator, so it would name "
               "another file";
    if (path.find('#') != std::string_view::npos)
        return "its name holds \"#\", which starts an anchor in a topic reference, so it would name another file";
    if (std::any_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return "its name holds a control character, which cannot stand in a line of the project file";
    return {};
}

bool topicFileStorable(std::string_view path, PathStyle style)
{
    return topicFileRefusal(path, style).empty();
}

std::string topicFilesRefusedText(const std::vector<std::string>& paths, PathStyle style)
{
    std::string text;
    for (const std::string& path : paths) {
        const std::string why = topicFileRefusal(path, style);
        if (why.empty())
            continue;
        if (!text.empty())
            text += "\r\n";
        std::string shown;
        for (const char c : path)
            shown += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
        text += "The file " + shown + " cannot be a topic: " + why + ".";
    }
    return text;
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

namespace doxel {
namespace {

bool isPage(const std::filesystem::path& path)
{
    const std::string extension = asciiLower(path.extension().string());
    return extension == ".htm" || extension == ".html";
}

}  // namespace

std::vector<std::string> droppedPages(const std::vector<std::string>& paths, std::size_t& skipped)
{
    namespace fs = std::filesystem;
    std::vector<std::string> pages;
    skipped = 0;
    for (const std::string& dropped : paths) {
        std::error_code error;
        if (fs::is_directory(dropped, error)) {
            std::vector<std::string> found;
            fs::recursive_directory_iterator walk(dropped, fs::directory_options::skip_permission_denied, error);
            for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
                if (walk->is_regular_file(error) && isPage(walk->path()))
                    found.push_back(walk->path().string());
            }
            std::sort(found.begin(), found.end());
            pages.insert(pages.end(), found.begin(), found.end());
        } else if (isPage(dropped)) {
            pages.push_back(dropped);
        } else {
            ++skipped;
        }
    }
    return pages;
}

}  // namespace doxel

#include "tools/txt_to_html.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

#include "core/errors.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"

namespace doxel {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;
constexpr std::size_t kBatchFiles = 256;
constexpr std::size_t kBatchBytes = std::size_t{64} << 20;

struct PageSink {
    std::string& out;
    void text(std::string_view piece) { out.append(piece); }
    void lineEnd() { out.append("<BR>\r\n"); }
};

class SourceFile {
public:
    explicit SourceFile(const std::string& path)
        : m_path(path), m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
    {
        if (m_fd < 0)
            throw IoError(describeErrno("Cannot read", path, errno));
        struct stat info {};
        if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            const int error = errno;
            ::close(m_fd);
            throw IoError(S_ISDIR(info.st_mode) ? "Cannot read " + path + ": it is a folder"
                                                : describeErrno("Cannot read", path, error == 0 ? EINVAL : error));
        }
    }
    ~SourceFile() { ::close(m_fd); }
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // The next bytes, read into `buffer` from `offset` on; empty at the end.
    std::string_view read(std::string& buffer, std::size_t offset = 0)
    {
        for (;;) {
            const ssize_t got = ::read(m_fd, buffer.data() + offset, buffer.size() - offset);
            if (got >= 0)
                return std::string_view(buffer.data() + offset, static_cast<std::size_t>(got));
            if (errno != EINTR)
                throw IoError(describeErrno("Cannot read", m_path, errno));
        }
    }

    void seek(std::size_t offset)
    {
        if (::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0)
            throw IoError(describeErrno("Cannot read", m_path, errno));
    }

private:
    std::string m_path;
    int m_fd;
};

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// How many bytes at the end of `bytes` may begin a UTF-8 character that
// the next bytes complete.
std::size_t unfinishedCharacter(std::string_view bytes)
{
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, bytes.size()); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue;  // a continuation byte: look further back
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

// The first pass over a text file: what kind of text it holds, up to its
// end of text.
TextEncoding scanText(SourceFile& input, const std::string& path)
{
    std::string buffer(kChunk, '\0');
    std::size_t kept = 0;
    bool first = true;
    bool ascii = true;
    bool utf8 = true;
    for (;;) {
        const std::string_view got = input.read(buffer, kept);
        std::string_view bytes(buffer.data(), kept + got.size());
        if (first && textKindOf(bytes) == TextKind::WideUnicode && bytes.size() >= 2)
            throw NotText(path + " is UTF-16 or UTF-32 text; convert it to UTF-8 first");
        first = false;
        const std::size_t end = bytes.find(TextLines::kEndOfText);
        const bool last = got.empty() || end != std::string_view::npos;
        bytes = bytes.substr(0, end);
        if (bytes.find('\0') != std::string_view::npos)
            throw NotText(path + " holds NUL bytes, so it is not a text file; it is left as it is");
        const std::size_t carry = last ? 0 : unfinishedCharacter(bytes);
        const std::string_view whole = bytes.substr(0, bytes.size() - carry);
        if (ascii && std::any_of(whole.begin(), whole.end(), [](char c) { return (c & 0x80) != 0; }))
            ascii = false;
        if (!ascii && utf8 && !isValidUtf8(whole))
            utf8 = false;
        if (last)
            break;
        std::memmove(buffer.data(), bytes.data() + whole.size(), carry);
        kept = carry;
    }
    if (ascii)
        return TextEncoding::Ascii;
    return utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

bool isFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::string colourText(unsigned red, unsigned green, unsigned blue)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (const unsigned value : {red, green, blue}) {
        text += kDigits[(value >> 4) & 0xF];
        text += kDigits[value & 0xF];
    }
    return text;
}

int fontSizeOf(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range)
        return text.starts_with('-') ? 0 : kLargestFontSize;
    if (error != std::errc() || end != text.data() + text.size())
        return 0;
    return std::clamp(value, 0, kLargestFontSize);
}

std::string pagePathFor(std::string_view source)
{
    return std::string(source.substr(0, source.size() - std::min<std::size_t>(3, source.size()))) + "htm";
}

std::string pageTitleFor(std::string_view source, const PageOptions& options)
{
    std::string title;
    if (options.titleFromFileName) {
        const std::size_t slash = source.rfind('/');
        const std::string_view name = slash == std::string_view::npos ? source : source.substr(slash + 1);
        title = name.substr(0, name.size() - std::min<std::size_t>(4, name.size()));
    } else {
        title = options.customTitle;
    }
    return title.empty() ? "Untitled Document" : title;
}

TextEncoding textEncodingOf(std::string_view text)
{
    text = text.substr(0, std::min(text.size(), text.find(TextLines::kEndOfText)));
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; }))
        return TextEncoding::Ascii;
    return isValidUtf8(text) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

std::string pageHead(std::string_view title, const PageOptions& options, TextEncoding encoding)
{
    std::string head;
    head += "<HTML>\r\n<HEAD>\r\n";
    head += "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=";
    head += encoding == TextEncoding::Utf8 ? "utf-8" : "windows-1252";
    head += "\">\r\n";
    head += "<META NAME=\"Generator\" CONTENT=\"HTML Doxel\">\r\n";
    head += "<TITLE>";
    head += title;
    head += "</TITLE>\r\n";
    if (options.useStylesheet)
        head += "<LINK REL=\"stylesheet\" TYPE=\"text/css\" HREF=\"" + options.stylesheet + "\">\r\n";
    head += "</HEAD>\r\n<BODY ";
    if (!options.backgroundImage.empty())
        head += "background=\"" + options.backgroundImage + "\" ";
    head += "BGCOLOR=\"" + options.backgroundColour + "\" ";
    head += "TEXT=\"" + options.textColour + "\">\r\n";
    head += "<FONT FACE=\"" + options.fontFace + "\" SIZE=" + std::to_string(options.fontSize) + ">\r\n";
    return head;
}

std::string pageOf(std::string_view text, std::string_view title, const PageOptions& options)
{
    const TextEncoding encoding = textEncodingOf(text);
    std::string page = pageHead(title, options, encoding);
    if (encoding == TextEncoding::Utf8 && text.starts_with(kUtf8Mark))
        text.remove_prefix(kUtf8Mark.size());
    TextLines lines(TextLines::LineEnds::CrOrLf);
    PageSink sink{page};
    lines.feed(text, sink);
    lines.finish(sink);
    page += kPageFoot;
    return page;
}

void convertFile(const std::string& source, const PageOptions& options, FileBatch& batch)
{
    SourceFile input(source);
    // The page declares its character set before the text, so the text is
    // read twice: once to learn it, once to copy it.
    const TextEncoding encoding = scanText(input, source);
    input.seek(0);
    const std::size_t first = batch.size();
    batch.begin(pagePathFor(source), source);
    try {
        std::string out = pageHead(pageTitleFor(source, options), options, encoding);
        std::string buffer(kChunk, '\0');
        TextLines lines(TextLines::LineEnds::CrOrLf);
        if (encoding == TextEncoding::Utf8 && input.read(buffer, kChunk - kUtf8Mark.size()) != kUtf8Mark)
            input.seek(0);
        PageSink sink{out};
        out.reserve(kChunk + kChunk / 2);
        for (;;) {
            const std::string_view bytes = input.read(buffer);
            if (bytes.empty())
                break;
            lines.feed(bytes, sink);
            if (lines.ended())
                break;
            if (out.size() >= kChunk) {
                batch.write(out);
                out.clear();
            }
        }
        lines.finish(sink);
        out += kPageFoot;
        batch.write(out);
        batch.end();
    } catch (...) {
        batch.discardFrom(first);
        throw;
    }
}

ConversionResult convertFiles(const std::vector<std::string>& files, const PageOptions& options,
                              const ConversionControl& control)
{
    ConversionResult result;
    result.listed = static_cast<int>(files.size());
    FileBatch batch;
    std::vector<std::string> pagesInBatch;
    std::unordered_set<std::string> targets;
    const auto commit = [&] {
        for (FileBatch::Failure& failure : batch.commit()) {
            const std::string page = pagePathFor(failure.file);
            const auto written = std::find(pagesInBatch.begin(), pagesInBatch.end(), page);
            if (written != pagesInBatch.end())
                pagesInBatch.erase(written);
            result.failures.push_back(std::move(failure));
        }
        result.pages.insert(result.pages.end(), pagesInBatch.begin(), pagesInBatch.end());
        pagesInBatch.clear();
        targets.clear();
    };

    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& file = files[i];
        if (!isFile(file)) {
            result.skipped.push_back(file);
        } else {
            const std::string page = pagePathFor(file);
            if (targets.contains(page))
                commit();
            try {
                convertFile(file, options, batch);
                targets.insert(page);
                pagesInBatch.push_back(page);
            } catch (const NotText& note) {
                result.notes.emplace_back(note.what());
            } catch (const IoError& error) {
                result.failures.push_back({file, error.what()});
                if (control.stopAtFailure)
                    break;
            }
            if (batch.size() >= kBatchFiles || batch.pendingBytes() >= kBatchBytes)
                commit();
        }
        if (control.progress)
            control.progress(static_cast<int>(i));
    }
    commit();
    return result;
}

}  // namespace doxel

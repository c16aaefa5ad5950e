#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace doxel {

// The line model of the text files the program reads (text to convert,
// files to search, pages whose title is read):
//   - a line ends at a CR byte; an LF directly after that CR belongs to the
//     line end. What an LF anywhere else is depends on the reader: the
//     content tools take it as a line end too (files written on Linux end
//     their lines with it), while for the others it is an ordinary byte of
//     the line, so "a\nb" is one line;
//   - the text ends at the first byte 26 (Ctrl-Z) or at the end of the
//     bytes, whichever comes first;
//   - the last line counts also without a line end, and a line end just
//     before the end does not start a further, empty line: "a\r\nb" and
//     "a\r\nb\r\n" both hold the lines "a" and "b"; "" holds none.
// Lines have no length limit, so the bytes are handed on in pieces as they
// arrive and nothing is buffered here.
class TextLines {
public:
    static constexpr char kEndOfText = 26;
    enum class LineEnds { CrOnly, CrOrLf };

    TextLines() = default;
    explicit TextLines(LineEnds ends) : m_lfEnds(ends == LineEnds::CrOrLf) {}

    // Feeds the next bytes. The sink gets `text(piece)` for bytes of the
    // current line and `lineEnd()` after each line. Returns how many of
    // `bytes` belong to the text: all of them, or the offset of the Ctrl-Z,
    // after which ended() holds and further bytes are ignored.
    template <class Sink>
    std::size_t feed(std::string_view bytes, Sink& sink)
    {
        if (m_ended)
            return 0;
        std::size_t length = bytes.size();
        if (const void* stop = std::memchr(bytes.data(), kEndOfText, bytes.size())) {
            length = static_cast<std::size_t>(static_cast<const char*>(stop) - bytes.data());
            m_ended = true;
        }
        std::size_t pos = 0;
        if (m_afterCr && length > 0) {
            m_afterCr = false;
            if (bytes[0] == '\n')
                pos = 1;
        }
        const char* data = bytes.data();
        while (pos < length) {
            const std::size_t at = nextEnd(data, pos, length);
            if (at == length) {
                sink.text(bytes.substr(pos, length - pos));
                m_inLine = true;
                break;
            }
            if (at > pos)
                sink.text(bytes.substr(pos, at - pos));
            m_inLine = false;
            sink.lineEnd();
            pos = at + 1;
            if (data[at] == '\n')
                continue;
            if (pos == length)
                m_afterCr = !m_ended;
            else if (data[pos] == '\n')
                ++pos;
        }
        return length;
    }

    // Ends the text: a last line without a line end is ended.
    template <class Sink>
    void finish(Sink& sink)
    {
        if (m_inLine)
            sink.lineEnd();
        m_inLine = false;
        m_ended = true;
    }

    bool ended() const { return m_ended; }

private:
    // The offset of the next byte that ends a line, or `length`.
    std::size_t nextEnd(const char* data, std::size_t pos, std::size_t length) const
    {
        if (!m_lfEnds) {
            const void* cr = std::memchr(data + pos, '\r', length - pos);
            return cr == nullptr ? length : static_cast<std::size_t>(static_cast<const char*>(cr) - data);
        }
        while (pos < length && data[pos] != '\r' && data[pos] != '\n')
            ++pos;
        return pos;
    }

    bool m_lfEnds = false;
    bool m_afterCr = false;
    bool m_inLine = false;
    bool m_ended = false;
};

// What a file's bytes hold, as the content tools see them.
enum class TextKind {
    Text,
    Binary,       // a NUL byte before the end of the text (a Ctrl-Z, if any)
    WideUnicode,  // a UTF-16 or UTF-32 byte order mark
};
inline TextKind textKindOf(std::string_view bytes)
{
    // UTF-32 little-endian begins like UTF-16 little-endian; both are wide.
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
        bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4)))
        return TextKind::WideUnicode;
    const std::string_view text = bytes.substr(0, bytes.find(TextLines::kEndOfText));
    return std::memchr(text.data(), '\0', text.size()) == nullptr ? TextKind::Text : TextKind::Binary;
}

}  // namespace doxel

#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace doxel {

// The line model of the text files the program reads (text to convert,
// files to search, pages whose title is read):
//   - a line ends at a CR byte; an LF directly after that CR belongs to the
//     line end, while an LF anywhere else is an ordinary byte of the line,
//     so "a\nb" is one line;
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
            const void* cr = std::memchr(data + pos, '\r', length - pos);
            if (cr == nullptr) {
                sink.text(bytes.substr(pos, length - pos));
                m_inLine = true;
                break;
            }
            const auto at = static_cast<std::size_t>(static_cast<const char*>(cr) - data);
            if (at > pos)
                sink.text(bytes.substr(pos, at - pos));
            m_inLine = false;
            sink.lineEnd();
            pos = at + 1;
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
    bool m_afterCr = false;
    bool m_inLine = false;
    bool m_ended = false;
};

}  // namespace doxel

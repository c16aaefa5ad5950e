#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace doxel {

// The replacement itself, on the joined text of a file.
//
// While a file is searched its lines are held as one text, each line
// followed by a line-end mark. The mark is a CR byte: the line model ends
// every line at a CR, so a CR never stands inside a line and the mark cannot
// be mistaken for the file's own bytes. A "|" in the file stays a "|"; in
// the search string and the replacement the author types "|" for a line
// end (see typedLineEnds).
inline constexpr char kLineEndMark = '\r';

// The position, counted from 1, of the first occurrence of `search` in
// `text`, or 0 when there is none (also for an empty search). With
// `ignoreCase` the bytes "a" to "z" match "A" to "Z" and no other byte is
// folded, so "ä" never matches "Ä".
std::size_t FindPos(std::string_view search, std::string_view text, bool ignoreCase);

// `text` with every occurrence of `search` replaced, from left to right and
// never overlapping; the search goes on behind each inserted replacement,
// so "aaa" with "aa" -> "b" gives "ba" and "x" -> "xx" cannot loop. The
// bytes that did not match keep their case; the replacement goes in as
// given. An empty search changes nothing. Linear in the text. `count`, when
// given, receives the number of replacements.
std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement, bool ignoreCase,
                       std::size_t* count = nullptr);

// A search string or replacement as typed, with each "|" turned into the
// line-end mark.
std::string typedLineEnds(std::string_view typed);

// A file's bytes split by the line model: `joined` holds the lines of the
// text, each followed by the line-end mark; `tail` is what follows the end
// of the text (a Ctrl-Z and every byte after it), which no search reaches.
struct JoinedText {
    std::string joined;
    std::string_view tail;
};
JoinedText joinLines(std::string_view bytes);

// The bytes written back: each line-end mark as CR LF, then the tail
// unchanged.
std::string fileBytesOf(std::string_view joined, std::string_view tail);

// One file's bytes after replacing: joinLines, ReplaceAll with the typed
// strings, fileBytesOf. So a file's line ends come out as CR LF even when
// nothing matched, and its last line gains one.
struct ReplaceStrings {
    std::string search;       // as typed, "|" for a line end
    std::string replacement;  // as typed, "|" for a line end
    bool ignoreCase = true;
};
std::string replacedFileBytes(std::string_view bytes, const ReplaceStrings& strings, std::size_t* count = nullptr);

}  // namespace doxel

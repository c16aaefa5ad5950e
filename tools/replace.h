#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace doxel {

// The replacement itself, on the joined text of a file.
//
// While a file is searched its lines are held as one text, each line
// followed by a line-end mark. A line ends at CR LF, CR or LF, so the mark
// is an LF byte: no line holds one, and it cannot be mistaken for the
// file's own bytes. A "|" in the file stays a "|"; in the search string and
// the replacement the author types "|" for a line end (see typedLineEnds),
// which matches a line end of any of the three kinds.
inline constexpr char kLineEndMark = '\n';

// The position, counted from 1, of the first occurrence of `search` in
// `text`, or 0 when there is none (also for an empty search). With
// `ignoreCase` the bytes "a" to "z" match "A" to "Z" and no other byte is
// folded, so "ä" never matches "Ä".
std::size_t findPos(std::string_view search, std::string_view text, bool ignoreCase);

// `text` with every occurrence of `search` replaced, from left to right and
// never overlapping; the search goes on behind each inserted replacement,
// so "aaa" with "aa" -> "b" gives "ba" and "x" -> "xx" cannot loop. The
// bytes that did not match keep their case; the replacement goes in as
// given. An empty search changes nothing. Linear in the text. `count`, when
// given, receives the number of replacements.
std::string replaceEveryOccurrence(std::string_view text, std::string_view search, std::string_view replacement,
                                   bool ignoreCase, std::size_t* count = nullptr);

// A search string or replacement as typed, with each "|" turned into the
// line-end mark; a line end typed as such (CR LF, CR or LF) is one too.
std::string typedLineEnds(std::string_view typed);

// A file's bytes split by the line model: `joined` holds the lines of the
// text, each followed by the line-end mark; `ends` holds, for each mark in
// order, the file's own line end there ("\r\n", "\r", "\n"; empty for the
// last line when the file does not end it); `lineEnd` is the file's first
// line end, CR LF when it has none, which a line end inserted by a
// replacement takes; `tail` is what follows the end of the text (a Ctrl-Z
// and every byte after it), which no search reaches. The views point into
// the bytes.
struct JoinedText {
    std::string joined;
    std::vector<std::string_view> ends;
    std::string_view lineEnd;
    std::string_view tail;
};
JoinedText joinLines(std::string_view bytes);

// The bytes of the file whose joined text this is, after every occurrence
// of `search` (marks for line ends) is replaced: the text between the
// occurrences keeps its bytes and its own line ends, each mark that a
// replacement brings in is written as `lineEnd`, and so is the last line's
// mark when the file did not end that line; the tail follows unchanged.
std::string replaceJoined(const JoinedText& text, std::string_view search, std::string_view replacement,
                          bool ignoreCase, std::size_t* count = nullptr);

// One file's bytes after replacing every occurrence of the typed search
// string. A file in which the search string does not occur comes back as it
// was, byte for byte. Otherwise the text between the occurrences keeps its
// bytes and its line ends; a line end the replacement brings in is the
// file's line end (lineEnd above), and a last line without a line end gains
// one. So CR LF text comes out as CR LF text, LF text as LF text.
struct ReplaceStrings {
    std::string search;       // as typed, "|" for a line end
    std::string replacement;  // as typed, "|" for a line end
    bool ignoreCase = true;
};
std::string replacedFileBytes(std::string_view bytes, const ReplaceStrings& strings, std::size_t* count = nullptr);

}  // namespace doxel

#include "tools/replace.h"

#include <algorithm>

#include "core/text_lines.h"

namespace doxel {
namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string folded(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), upper);
    return out;
}

// The text and search as the search runs over them: with letter case
// ignored, folded copies; the bytes taken into a result come from the text
// as it was.
struct SearchedText {
    SearchedText(std::string_view text, std::string_view search, bool ignoreCase)
        : foldedText(ignoreCase ? folded(text) : std::string()),
          foldedSearch(ignoreCase ? folded(search) : std::string()),
          haystack(ignoreCase ? std::string_view(foldedText) : text),
          needle(ignoreCase ? std::string_view(foldedSearch) : search)
    {
    }
    SearchedText(const SearchedText&) = delete;
    SearchedText& operator=(const SearchedText&) = delete;

    std::string foldedText;
    std::string foldedSearch;
    std::string_view haystack;
    std::string_view needle;
};

}  // namespace

std::size_t findPos(std::string_view search, std::string_view text, bool ignoreCase)
{
    if (search.empty())
        return 0;
    const std::size_t at = ignoreCase ? std::string_view(folded(text)).find(folded(search)) : text.find(search);
    return at == std::string_view::npos ? 0 : at + 1;
}

std::string replaceEveryOccurrence(std::string_view text, std::string_view search, std::string_view replacement,
                                   bool ignoreCase, std::size_t* count)
{
    if (count != nullptr)
        *count = 0;
    if (search.empty())
        return std::string(text);
    const SearchedText searched(text, search, ignoreCase);
    const std::string_view haystack = searched.haystack;
    const std::string_view needle = searched.needle;
    std::size_t at = haystack.find(needle);
    if (at == std::string_view::npos)
        return std::string(text);
    std::string result;
    result.reserve(text.size() + (replacement.size() > search.size() ? text.size() / 4 : 0));
    std::size_t start = 0;
    std::size_t replaced = 0;
    while (at != std::string_view::npos) {
        result.append(text.substr(start, at - start));
        result.append(replacement);
        ++replaced;
        start = at + needle.size();
        at = haystack.find(needle, start);
    }
    result.append(text.substr(start));
    if (count != nullptr)
        *count = replaced;
    return result;
}

std::string typedLineEnds(std::string_view typed)
{
    std::string out;
    out.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c = typed[i];
        if (c == '|' || c == '\n') {
            out += kLineEndMark;
        } else if (c == '\r') {
            out += kLineEndMark;
            if (i + 1 < typed.size() && typed[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

constexpr std::string_view kCrLf = "\r\n";

// The line end at `at` (a CR or an LF): CR LF, CR or LF.
std::string_view lineEndAt(std::string_view text, std::size_t at)
{
    const bool crLf = text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n';
    return text.substr(at, crLf ? 2 : 1);
}

// The line end that a line end brought in by a replacement takes: the
// file's first, so that a file keeps one kind; CR LF when it has none.
std::string_view firstLineEnd(std::string_view text)
{
    const std::size_t at = text.find_first_of(kCrLf);
    return at == std::string_view::npos ? kCrLf : lineEndAt(text, at);
}

std::string_view textPart(std::string_view bytes)
{
    return bytes.substr(0, std::min(bytes.size(), bytes.find(TextLines::kEndOfText)));
}

std::string withLineEnds(std::string_view marked, std::string_view lineEnd)
{
    std::string out;
    for (const char c : marked) {
        if (c == kLineEndMark)
            out.append(lineEnd);
        else
            out += c;
    }
    return out;
}

}  // namespace

JoinedText joinLines(std::string_view bytes)
{
    JoinedText result;
    const std::string_view text = textPart(bytes);
    result.tail = bytes.substr(text.size());
    result.joined.reserve(text.size() + 1);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t at = text.find_first_of(kCrLf, pos);
        if (at == std::string_view::npos) {
            result.joined.append(text.substr(pos));
            result.joined += kLineEndMark;
            result.ends.emplace_back();
            break;
        }
        result.joined.append(text.substr(pos, at - pos));
        result.joined += kLineEndMark;
        result.ends.push_back(lineEndAt(text, at));
        pos = at + result.ends.back().size();
    }
    result.lineEnd = result.ends.empty() || result.ends.front().empty() ? kCrLf : result.ends.front();
    return result;
}

std::string replaceJoined(const JoinedText& text, std::string_view search, std::string_view replacement,
                          bool ignoreCase, std::size_t* count)
{
    const std::string_view joined = text.joined;
    std::string out;
    out.reserve(joined.size() + joined.size() / 8 + text.tail.size());
    std::size_t mark = 0;
    // Text that stays: its marks become the file's own line ends again.
    const auto keep = [&](std::string_view piece) {
        std::size_t start = 0;
        for (std::size_t at = piece.find(kLineEndMark); at != std::string_view::npos;
             at = piece.find(kLineEndMark, start)) {
            out.append(piece.substr(start, at - start));
            const std::string_view end = text.ends[mark++];
            out.append(end.empty() ? text.lineEnd : end);
            start = at + 1;
        }
        out.append(piece.substr(start));
    };
    const std::string inserted = withLineEnds(replacement, text.lineEnd);

    const SearchedText searched(joined, search, ignoreCase);
    const std::string_view haystack = searched.haystack;
    const std::string_view needle = searched.needle;
    std::size_t replaced = 0;
    std::size_t start = 0;
    if (!needle.empty()) {
        for (std::size_t at = haystack.find(needle); at != std::string_view::npos; at = haystack.find(needle, start)) {
            keep(joined.substr(start, at - start));
            mark += static_cast<std::size_t>(std::count(needle.begin(), needle.end(), kLineEndMark));
            out.append(inserted);
            ++replaced;
            start = at + needle.size();
        }
    }
    keep(joined.substr(start));
    out.append(text.tail);
    if (count != nullptr)
        *count = replaced;
    return out;
}

std::string replacedFileBytes(std::string_view bytes, const ReplaceStrings& strings, std::size_t* count)
{
    if (count != nullptr)
        *count = 0;
    const std::string search = typedLineEnds(strings.search);
    if (search.empty())
        return std::string(bytes);
    std::size_t replaced = 0;
    std::string result;
    if (search.find(kLineEndMark) == std::string::npos) {
        // A search without a line end meets only the bytes of single lines,
        // which the joined text holds unchanged: the text is searched as it
        // is, saving the joining and splitting.
        const std::string_view text = textPart(bytes);
        const std::string_view lineEnd = firstLineEnd(text);
        result = replaceEveryOccurrence(text, search, withLineEnds(typedLineEnds(strings.replacement), lineEnd),
                                        strings.ignoreCase, &replaced);
        if (replaced != 0) {
            if (!text.empty() && text.back() != '\r' && text.back() != '\n')
                result.append(lineEnd);
            result.append(bytes.substr(text.size()));
        }
    } else {
        result =
            replaceJoined(joinLines(bytes), search, typedLineEnds(strings.replacement), strings.ignoreCase, &replaced);
    }
    if (replaced == 0)
        return std::string(bytes);
    if (count != nullptr)
        *count = replaced;
    return result;
}

}  // namespace doxel

#include "tools/replace.h"

#include <algorithm>

#include "tools/text_lines.h"

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

struct JoinSink {
    std::string& out;
    void text(std::string_view piece) { out.append(piece); }
    void lineEnd() { out.push_back(kLineEndMark); }
};

}  // namespace

std::size_t FindPos(std::string_view search, std::string_view text, bool ignoreCase)
{
    if (search.empty())
        return 0;
    const std::size_t at = ignoreCase ? std::string_view(folded(text)).find(folded(search)) : text.find(search);
    return at == std::string_view::npos ? 0 : at + 1;
}

std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement, bool ignoreCase,
                       std::size_t* count)
{
    if (count != nullptr)
        *count = 0;
    if (search.empty())
        return std::string(text);
    // With letter case ignored the search runs over a folded copy; the
    // bytes taken into the result come from the text as it was.
    std::string foldedText;
    std::string foldedSearch;
    std::string_view haystack = text;
    std::string_view needle = search;
    if (ignoreCase) {
        foldedText = folded(text);
        foldedSearch = folded(search);
        haystack = foldedText;
        needle = foldedSearch;
    }
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
    std::string out(typed);
    std::replace(out.begin(), out.end(), '|', kLineEndMark);
    return out;
}

JoinedText joinLines(std::string_view bytes)
{
    JoinedText result;
    result.joined.reserve(bytes.size() + 1);
    TextLines lines;
    JoinSink sink{result.joined};
    const std::size_t textLength = lines.feed(bytes, sink);
    lines.finish(sink);
    result.tail = bytes.substr(textLength);
    return result;
}

std::string fileBytesOf(std::string_view joined, std::string_view tail)
{
    const auto ends = static_cast<std::size_t>(std::count(joined.begin(), joined.end(), kLineEndMark));
    std::string out;
    out.reserve(joined.size() + ends + tail.size());
    std::size_t start = 0;
    for (std::size_t at = joined.find(kLineEndMark); at != std::string_view::npos;
         at = joined.find(kLineEndMark, start)) {
        out.append(joined.substr(start, at - start));
        out.append("\r\n");
        start = at + 1;
    }
    out.append(joined.substr(start));
    out.append(tail);
    return out;
}

namespace {

// Whether a file's bytes are already what fileBytesOf writes: no Ctrl-Z,
// every CR followed by an LF, the last line ended. Its joined text then
// differs from the bytes only in the LF after each CR.
bool writtenForm(std::string_view bytes)
{
    if (bytes.empty())
        return true;
    if (!bytes.ends_with("\r\n") || bytes.find(TextLines::kEndOfText) != std::string_view::npos)
        return false;
    for (std::size_t at = bytes.find('\r'); at != std::string_view::npos; at = bytes.find('\r', at + 2)) {
        if (at + 1 == bytes.size() || bytes[at + 1] != '\n')
            return false;
    }
    return true;
}

}  // namespace

std::string replacedFileBytes(std::string_view bytes, const ReplaceStrings& strings, std::size_t* count)
{
    // Most pages are in the written form already; when neither string holds
    // a line end or an LF that could meet the LF of a line end, the bytes
    // can be searched as they are, saving the joining and splitting.
    const bool plainStrings = strings.search.find_first_of("|\r\n") == std::string::npos &&
                              strings.replacement.find_first_of("|\r") == std::string::npos;
    if (plainStrings && writtenForm(bytes))
        return ReplaceAll(bytes, strings.search, strings.replacement, strings.ignoreCase, count);

    const JoinedText text = joinLines(bytes);
    const std::string replaced = ReplaceAll(text.joined, typedLineEnds(strings.search),
                                            typedLineEnds(strings.replacement), strings.ignoreCase, count);
    return fileBytesOf(replaced, text.tail);
}

}  // namespace doxel

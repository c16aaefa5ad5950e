// Checks replaceEveryOccurrence against a plain reference that follows the rule word
// for word (find in the rest, copy up to it, insert, go on behind the
// match), and the whole replacement of a file against joining, replacing
// and splitting step by step: for a file whose line ends are all CR LF,
// the joined text replaced by the reference with every mark written as
// CR LF; for any file, replaceJoined; and a file without a match must come
// back byte for byte.
//   build/fuzz/fuzz/fuzz_replace_all -max_total_time=300 -max_len=512
// Input: a flags byte (bit 0: ignore case), a search length byte, a
// replacement length byte, then the search, the replacement and the text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/replace.h"

namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// 1-based position of search in text, 0 when absent, by comparing byte for
// byte at every position.
std::size_t plainFindPos(std::string_view search, std::string_view text, bool ignoreCase)
{
    if (search.empty() || search.size() > text.size())
        return 0;
    for (std::size_t at = 0; at + search.size() <= text.size(); ++at) {
        bool same = true;
        for (std::size_t i = 0; i < search.size() && same; ++i)
            same = ignoreCase ? upper(text[at + i]) == upper(search[i]) : text[at + i] == search[i];
        if (same)
            return at + 1;
    }
    return 0;
}

std::string plainReplaceAll(std::string_view text, std::string_view search, std::string_view replacement,
                            bool ignoreCase)
{
    std::string result;
    std::string rest(text);
    for (std::size_t p = plainFindPos(search, rest, ignoreCase); p != 0; p = plainFindPos(search, rest, ignoreCase)) {
        result += rest.substr(0, p - 1);
        result += replacement;
        rest.erase(0, p - 1 + search.size());
    }
    return result + rest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const bool ignoreCase = (data[0] & 1) != 0;
    std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
    const std::string_view search = rest.substr(0, std::min<std::size_t>(data[1] % 16, rest.size()));
    rest.remove_prefix(search.size());
    const std::string_view replacement = rest.substr(0, std::min<std::size_t>(data[2] % 16, rest.size()));
    rest.remove_prefix(replacement.size());
    const std::string_view text = rest;

    if (doxel::replaceEveryOccurrence(text, search, replacement, ignoreCase) !=
        plainReplaceAll(text, search, replacement, ignoreCase))
        std::abort();
    if (doxel::findPos(search, text, ignoreCase) != plainFindPos(search, text, ignoreCase))
        std::abort();

    const doxel::ReplaceStrings strings{std::string(search), std::string(replacement), ignoreCase};
    std::size_t count = 0;
    const std::string replaced = doxel::replacedFileBytes(text, strings, &count);
    const doxel::JoinedText joined = doxel::joinLines(text);
    const std::string typedSearch = doxel::typedLineEnds(search);
    const std::string typedReplacement = doxel::typedLineEnds(replacement);
    if (count == 0) {
        if (replaced != text)
            std::abort();
    } else if (replaced != doxel::replaceJoined(joined, typedSearch, typedReplacement, ignoreCase)) {
        std::abort();
    }
    bool crLfOnly = true;
    for (const std::string_view end : joined.ends)
        crLfOnly = crLfOnly && end == "\r\n";
    if (count != 0 && crLfOnly) {
        std::string stepByStep;
        for (const char c : plainReplaceAll(joined.joined, typedSearch, typedReplacement, ignoreCase))
            stepByStep += c == doxel::kLineEndMark ? std::string("\r\n") : std::string(1, c);
        stepByStep += joined.tail;
        if (replaced != stepByStep)
            std::abort();
    }
    return 0;
}

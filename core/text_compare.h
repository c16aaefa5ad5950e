#pragma once

#include <cstdint>
#include <string_view>

namespace doxel {

// Orders captions and file names as an author expects from a word sort,
// in levels, each deciding only when the ones before it found no
// difference:
//   1. the letters, ignoring case and accents; punctuation and spaces come
//      before digits, digits before letters; hyphens and apostrophes are
//      passed over, so "co-op" stays beside "coop";
//   2. accents: the plain letter first ("resume" before "résumé");
//   3. case: lower case before upper case at the first difference;
//   4. fewer hyphens and apostrophes first, then the bytes, so that only
//      equal texts compare equal.
// So "b", "B", "a" sort as "a", "b", "B"; "Zebra", "apple" as "apple",
// "Zebra"; "Über" lands among the u-words. The order is fixed in code and
// never depends on the machine's locales. Returns <0, 0 or >0.
int compareCaptions(std::string_view a, std::string_view b);

inline bool captionLess(std::string_view a, std::string_view b)
{
    return compareCaptions(a, b) < 0;
}

// The first-level weights of a text's first letters packed into 16
// bytes, so that sorting many texts compares two numbers for most pairs.
// Where two keys differ within the bytes both know, the difference orders
// the texts exactly as compareCaptions does; otherwise compareCaptions
// must decide. A key knows its text up to the first character that is not
// ASCII.
struct CaptionKey {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    std::uint8_t known = 0;  // leading bytes that hold weights or the text's end
};
CaptionKey captionKey(std::string_view text);
// <0 or >0 when the keys decide, 0 when compareCaptions must.
int compareCaptionKeys(const CaptionKey& a, const CaptionKey& b);

// The lower-case partner of a letter (Latin, Latin-1, Latin Extended-A,
// Greek and Cyrillic), the code point itself otherwise.
unsigned long foldCase(unsigned long codePoint);

}  // namespace doxel

#pragma once

#include <string_view>

namespace doxel {

// Orders captions and file names as an author expects: letters compare
// ignoring case first; of two texts that differ only in case, the one with
// lower case at the first such difference comes first. So "b", "B", "a"
// sort as "a", "b", "B", and "Zebra", "apple" as "apple", "Zebra". The
// order is fixed in code and never depends on the machine's locales.
// Returns <0, 0 or >0.
int compareCaptions(std::string_view a, std::string_view b);

inline bool captionLess(std::string_view a, std::string_view b)
{
    return compareCaptions(a, b) < 0;
}

// The lower-case partner of a letter (Latin, Latin-1, Latin Extended-A,
// Greek and Cyrillic), the code point itself otherwise.
unsigned long foldCase(unsigned long codePoint);

}  // namespace doxel

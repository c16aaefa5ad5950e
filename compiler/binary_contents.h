#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace doxel::chm {

// One entry of the contents, in the order of the contents file.
struct ContentsItem {
    int level = 0;  // 0 in the top list; a deeper entry belongs to the last shallower one before it
    // Its row of #TOPICS when it leads somewhere; the viewer shows that
    // row's title as its caption.
    std::optional<std::uint32_t> topic;
    std::uint32_t caption = 0;  // for an entry without topic: its caption's offset in #STRINGS
};

struct BinaryContents {
    std::string data;                    // the #TOCIDX file
    std::vector<std::uint32_t> offsets;  // where each item's record starts in it
};

// The binary contents (#TOCIDX) viewers read instead of the contents file:
// after a 4 KB header, one record per entry, 20 bytes, or 28 for an entry
// with entries below it,
//   u16 0, u16 number of its topic record, u32 flags (4: entries below,
//   8: a topic), u32 topic row or caption offset, u32 parent's record,
//   u32 next record on its level (0: the last), [u32 first record below, u32 0]
// written a level at a time as chmcmd does; then the topic row of each
// entry that has one, and per such entry 12 bytes: its record, a number
// counting up from 666 and its topic row. The header holds where the first
// record, the 12-byte records and the topic rows start, and their count.
BinaryContents buildBinaryContents(const std::vector<ContentsItem>& items);

}  // namespace doxel::chm

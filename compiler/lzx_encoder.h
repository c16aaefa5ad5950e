#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/lzx_format.h"

namespace doxel::chm {

// LZX as help files use it: the data is cut into frames of 32 KB of
// uncompressed bytes, and every `resetInterval` bytes the coder starts
// afresh (no match reaches back before the reset, the repeated offsets and
// the previous tree lengths start over). Each frame ends on a 16-bit
// boundary, so that a reader can start decoding at any reset point the reset
// table names; one verbatim block per frame keeps every block inside its
// frame, which the older decoders require.
using doxel::kLzxFrameSize;
using doxel::lzxPositionSlots;

struct LzxInterval {
    std::string bytes;                  // the compressed stream of the interval
    std::vector<std::uint64_t> frames;  // where each frame starts in `bytes`
};

// Compresses one reset interval (at most the interval size, a whole number
// of frames except at the end of the data). `windowBits` is 15 to 21.
LzxInterval compressLzxInterval(std::string_view data, int windowBits);

}  // namespace doxel::chm

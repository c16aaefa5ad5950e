#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace doxel {

// What the coder and the reader of help files' LZX agree on: the data is
// decoded in frames of 32 KB, each ending on a 16-bit boundary, and a
// window of 2^windowBits bytes (15 to 21) has this many position slots.
inline constexpr std::size_t kLzxFrameSize = 0x8000;

inline int lzxPositionSlots(int windowBits)
{
    if (windowBits < 15 || windowBits > 21)
        throw std::invalid_argument("LZX window of 2^" + std::to_string(windowBits) + " bytes");
    // Two slots for each doubling up to 2^19, then the wider last slots.
    return windowBits == 20 ? 42 : windowBits == 21 ? 50 : windowBits * 2;
}

}  // namespace doxel

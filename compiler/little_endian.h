#pragma once

#include <cstdint>
#include <string>

namespace doxel::chm {

// The help file's numbers are little-endian, whatever the machine.
inline void put16(std::string& out, std::uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

inline void put32(std::string& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

inline void put64(std::string& out, std::uint64_t value)
{
    put32(out, static_cast<std::uint32_t>(value));
    put32(out, static_cast<std::uint32_t>(value >> 32));
}

}  // namespace doxel::chm

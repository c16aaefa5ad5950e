#pragma once

#include <cstddef>
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

// The same, over bytes already in `out` at `at`.
inline void put16At(std::string& out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

inline void put32At(std::string& out, std::size_t at, std::uint32_t value)
{
    put16At(out, at, value & 0xFFFF);
    put16At(out, at + 2, value >> 16);
}

}  // namespace doxel::chm

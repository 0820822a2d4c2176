// Big-endian (network byte order) 16-bit values read from and appended to byte strings.
#pragma once

#include <cstdint>
#include <vector>

inline uint16_t ReadBigEndian16(const uint8_t* at)
{
    return static_cast<uint16_t>(at[0] << 8 | at[1]);
}

inline void AppendBigEndian16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

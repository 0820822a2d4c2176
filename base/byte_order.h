// Big-endian (network byte order) values read from and appended to byte strings.
#pragma once

#include <cstdint>
#include <vector>

inline uint16_t ReadBigEndian16(const uint8_t* at)
{
    return static_cast<uint16_t>(at[0] << 8 | at[1]);
}

inline uint32_t ReadBigEndian32(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 | static_cast<uint32_t>(at[2]) << 8 |
           static_cast<uint32_t>(at[3]);
}

inline void AppendBigEndian16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

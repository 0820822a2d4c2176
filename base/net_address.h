// A socket address of either family, free of the socket headers: what a name resolves to and where
// a request goes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct NetAddress {
    enum class Family : uint8_t { V4, V6 };
    Family family = Family::V4;
    std::array<uint8_t, 16> bytes{};  // network byte order; an IPv4 address in the first four
    uint32_t scope = 0;               // an IPv6 zone (interface), 0 for none
    uint16_t port = 0;

    bool operator==(const NetAddress& other) const
    {
        const size_t length = family == Family::V4 ? 4 : 16;
        for (size_t i = 0; i < length; ++i) {
            if (bytes[i] != other.bytes[i]) {
                return false;
            }
        }
        return family == other.family && port == other.port && (family == Family::V4 || scope == other.scope);
    }
    bool operator!=(const NetAddress& other) const { return !(*this == other); }
};

// The 48-byte SNTP client request, the transmit timestamp of a reply, and the checks a reply must pass.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr size_t kSntpMessageSize = 48;

using SntpMessage = std::array<uint8_t, kSntpMessageSize>;

// Leap indicator 0, version 1, mode 3 (client); every other byte zero.
SntpMessage BuildRequest();

struct NtpTimestamp {
    uint32_t seconds;   // since 1900-01-01 00:00:00 UTC, in its era
    uint32_t fraction;  // units of 2^-32 s
};

// Bytes 40..47 of a reply of at least 48 bytes, from network byte order.
NtpTimestamp ReadTransmitTimestamp(const uint8_t* reply);

enum class ReplyVerdict {
    Usable,
    TooShort,               // fewer than 48 bytes: no transmit timestamp
    ZeroTransmitTimestamp,  // the server sent no time
    NotSynchronised,        // leap indicator 3
    KissOfDeath,            // stratum 0
};

// Whether a received datagram carries a time the clock may be set from.
ReplyVerdict CheckReply(const uint8_t* datagram, size_t length);

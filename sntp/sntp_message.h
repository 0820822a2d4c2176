// The 48-byte SNTP client request, the fields of a reply, and the checks a reply must pass.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr size_t kSntpMessageSize = 48;

using SntpMessage = std::array<uint8_t, kSntpMessageSize>;

// Leap indicator 0, version 1, mode 3 (client); every other byte zero.
SntpMessage BuildRequest();

// The same with a value in the transmit timestamp field (bytes 40..47, network byte order) that
// the server echoes as the reply's originate timestamp: a random one ties a reply to its request.
SntpMessage BuildRequest(uint64_t origin);

struct NtpTimestamp {
    uint32_t seconds;   // since 1900-01-01 00:00:00 UTC, in its era
    uint32_t fraction;  // units of 2^-32 s

    uint64_t Value() const { return static_cast<uint64_t>(seconds) << 32 | fraction; }
    bool IsZero() const { return seconds == 0 && fraction == 0; }
};

// Timestamps of a reply of at least 48 bytes, from network byte order: the originate timestamp
// (bytes 24..31, the request's transmit field echoed), the server's receive time (32..39) and its
// transmit time (40..47).
NtpTimestamp ReadOriginateTimestamp(const uint8_t* reply);
NtpTimestamp ReadReceiveTimestamp(const uint8_t* reply);
NtpTimestamp ReadTransmitTimestamp(const uint8_t* reply);

// Who a reply of at least 48 bytes says its server is: its stratum (byte 1), and its reference
// identifier (bytes 12..15 read big-endian), which names the server it follows from stratum 2 on.
uint8_t ReadStratum(const uint8_t* reply);
uint32_t ReadReferenceId(const uint8_t* reply);

enum class ReplyVerdict {
    Usable,
    TooShort,               // fewer than 48 bytes: no transmit timestamp
    ZeroTransmitTimestamp,  // the server sent no time
    NotSynchronised,        // leap indicator 3
    KissOfDeath,            // stratum 0
    UnsynchronisedStratum,  // stratum 16 or more
    NotAServer,             // mode other than 4
    UnknownVersion,         // version other than 1 to 4
};

// Whether a received datagram carries a time the clock may be set from.
ReplyVerdict CheckReply(const uint8_t* datagram, size_t length);

// The kiss code of a kiss-o'-death reply (RFC 5905 section 7.4: stratum 0, the code in the
// reference identifier) in server mode, of at least 48 bytes. DENY and RSTR both mean: never ask
// again; RATE: ask less often; the other codes only inform.
enum class KissCode {
    None,  // not a kiss-o'-death reply
    Deny,  // "DENY" or "RSTR"
    Rate,  // "RATE"
    Other,
};
KissCode ReadKissCode(const uint8_t* datagram, size_t length);

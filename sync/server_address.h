// The address text of a server row: a host name or dotted address, optionally a colon and a port.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int32_t kNtpPort = 123;
constexpr size_t kMaxHostBytes = 255;     // the host buffer holds 256 bytes with its terminator
constexpr size_t kMaxPortTextBytes = 7;   // the port buffer holds 8

struct ServerAddress {
    enum class Status {
        Ok,
        Empty,        // no address at all: port -1, no host
        HostTooLong,  // refused rather than cut, so no other host is asked
        PortTooLong,
    };
    Status status;
    std::string host;  // the text before the first colon
    int32_t port;      // as the user wrote it (atoi), 123 without a colon, -1 for an empty address

    // Only the low 16 bits of the port go on the wire: 65659 asks port 123.
    uint16_t WirePort() const { return static_cast<uint16_t>(port); }
};

ServerAddress ParseServerAddress(const char* text);

// The address text of a server row: a host name, a dotted IPv4 address or an IPv6 literal,
// optionally with a port: "host:port", "[v6]:port"; with "nts:" in front, a server that is asked
// with Network Time Security, the port then being its key exchange's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int32_t kNtpPort = 123;
constexpr int32_t kNtsKeDefaultPort = 4460;  // RFC 8915 section 4
constexpr char kNtsAddressPrefix[] = "nts:";
constexpr size_t kMaxHostBytes = 255;     // the host buffer holds 256 bytes with its terminator
constexpr size_t kMaxPortTextBytes = 7;   // the port buffer holds 8

struct ServerAddress {
    enum class Status {
        Ok,
        Empty,        // no address at all: port -1, no host
        HostTooLong,  // refused rather than cut, so no other host is asked
        PortTooLong,
        Malformed,    // a "[" without its "]", or something other than ":port" after it
    };
    Status status;
    std::string host;  // the name or literal, without brackets
    int32_t port;      // as the user wrote it (atoi), 123 without a colon (4460 for NTS), -1 for an empty address
    bool nts = false;  // "nts:" in front: the key exchange at host and port comes first

    // Only the low 16 bits of the port go on the wire: 65659 asks port 123.
    uint16_t WirePort() const { return static_cast<uint16_t>(port); }
};

// "::1" and "2001:db8::1" are IPv6 literals, whose colons are no port's; "[::1]:10123" gives one a
// port. Any other text is cut at its first colon, as it always was. "nts:" in front, in any case
// ("NTS:"), marks an NTS server; what follows is read the same way.
ServerAddress ParseServerAddress(const char* text);

// Whether the address has "nts:" in front, in any case.
bool HasNtsPrefix(const std::string& address);

// The address with "nts:" put in front, or with the one in front (in whatever case) taken away;
// unchanged when it already is as asked. For the entry dialog's check box.
std::string WithNtsPrefix(const std::string& address, bool nts);

// Whether the text is an IPv6 address in one of the text forms of RFC 4291 section 2.2 (eight
// groups, "::" for a run of zero groups, a dotted IPv4 tail), with an optional "%zone".
bool IsIpv6Literal(const std::string& text);

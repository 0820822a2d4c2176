// The NTS Key Establishment messages (RFC 8915 section 4): the client's request, and the server's
// response read into what the NTP exchanges need, or the reason it is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t kNtsKePort = 4460;
constexpr uint16_t kNtsNextProtocolNtpV4 = 0;
constexpr uint16_t kNtsAeadAesSivCmac256 = 15;
constexpr size_t kNtsMaxCookies = 8;          // a client keeps no more (RFC 8915 section 5.7)
constexpr size_t kNtsMaxCookieSize = 256;     // servers' cookies are near 100 bytes
constexpr size_t kNtsKeMaxResponseSize = 65536;  // far above 8 cookies, below a flood

// Next Protocol NTPv4, AEAD AES-SIV-CMAC-256, End of Message, each with its critical bit set.
std::vector<uint8_t> BuildNtsKeRequest();

enum class NtsKeVerdict {
    Complete,               // all that follows is filled in
    Incomplete,             // no End of Message yet: a record is cut short, or none ends the bytes
    TooLong,                // more than kNtsKeMaxResponseSize bytes
    BytesAfterEnd,          // anything after End of Message
    Malformed,              // a record's body has the wrong length for its type, or a name empty or
                            // not printable ASCII
    DuplicateRecord,        // two of a record that comes once
    UnknownCriticalRecord,
    ServerError,            // an Error record: errorCode
    ServerWarning,          // a Warning record: no warning is defined, so each is an error
    ProtocolRefused,        // no Next Protocol record, or one other than exactly NTPv4
    AeadRefused,            // no AEAD record, or one other than AES-SIV-CMAC-256
    NoCookie,
    CookieSize,             // an empty cookie, or one above kNtsMaxCookieSize
};

struct NtsKeResponse {
    NtsKeVerdict verdict = NtsKeVerdict::Incomplete;
    std::vector<std::vector<uint8_t>> cookies;  // the first kNtsMaxCookies
    std::string ntpServer;                       // empty: the NTP server is the NTS-KE server
    bool hasNtpPort = false;
    uint16_t ntpPort = 123;
    uint16_t errorCode = 0;  // of an Error or Warning record
    uint16_t recordType = 0;  // the record that was refused, when one was
};

// The response as read so far. Incomplete asks for more bytes; any other verdict is final.
NtsKeResponse ParseNtsKeResponse(const uint8_t* bytes, size_t size);

// SNTP message layout of RFC 4330 section 4, and the reply checks of its section 5.
#include "sntp_message.h"

#include <string>

#include "base/byte_order.h"

namespace {

constexpr uint8_t kClientRequestByte0 = 0x0B;  // LI 0, VN 1, Mode 3
constexpr size_t kStratumOffset = 1;
constexpr size_t kReferenceIdOffset = 12;
constexpr size_t kOriginateOffset = 24;
constexpr size_t kReceiveOffset = 32;
constexpr size_t kTransmitOffset = 40;
constexpr uint8_t kServerMode = 4;
constexpr uint8_t kUnsynchronisedStratum = 16;  // RFC 5905 section 7.3

}  // namespace

SntpMessage BuildRequest()
{
    SntpMessage request{};
    request[0] = kClientRequestByte0;
    return request;
}

SntpMessage BuildRequest(uint64_t origin)
{
    SntpMessage request = BuildRequest();
    for (size_t i = 0; i < 8; ++i) {
        request[kTransmitOffset + i] = static_cast<uint8_t>(origin >> (56 - 8 * i));
    }
    return request;
}

NtpTimestamp ReadOriginateTimestamp(const uint8_t* reply)
{
    return {ReadBigEndian32(reply + kOriginateOffset), ReadBigEndian32(reply + kOriginateOffset + 4)};
}

NtpTimestamp ReadReceiveTimestamp(const uint8_t* reply)
{
    return {ReadBigEndian32(reply + kReceiveOffset), ReadBigEndian32(reply + kReceiveOffset + 4)};
}

NtpTimestamp ReadTransmitTimestamp(const uint8_t* reply)
{
    return {ReadBigEndian32(reply + kTransmitOffset), ReadBigEndian32(reply + kTransmitOffset + 4)};
}

uint8_t ReadStratum(const uint8_t* reply)
{
    return reply[kStratumOffset];
}

uint32_t ReadReferenceId(const uint8_t* reply)
{
    return ReadBigEndian32(reply + kReferenceIdOffset);
}

ReplyVerdict CheckReply(const uint8_t* datagram, size_t length)
{
    if (length < kSntpMessageSize) {
        return ReplyVerdict::TooShort;
    }
    // RFC 4330 section 5: a reply with a zero Transmit Timestamp carries no time...
    const NtpTimestamp transmit = ReadTransmitTimestamp(datagram);
    if (transmit.IsZero()) {
        return ReplyVerdict::ZeroTransmitTimestamp;
    }
    // ...Leap Indicator 3 is the alarm condition: the server's own clock is not synchronised...
    if ((datagram[0] >> 6) == 3) {
        return ReplyVerdict::NotSynchronised;
    }
    // ...Stratum 0 is a kiss-o'-death message: the server refuses to serve this client...
    if (datagram[kStratumOffset] == 0) {
        return ReplyVerdict::KissOfDeath;
    }
    // ...and RFC 5905 section 7.3: stratum 16 means the server itself is unsynchronised.
    if (datagram[kStratumOffset] >= kUnsynchronisedStratum) {
        return ReplyVerdict::UnsynchronisedStratum;
    }
    // Section 5 again: a reply is in server mode, with a version the protocol knows.
    if ((datagram[0] & 7) != kServerMode) {
        return ReplyVerdict::NotAServer;
    }
    const int version = (datagram[0] >> 3) & 7;
    if (version < 1 || version > 4) {
        return ReplyVerdict::UnknownVersion;
    }
    return ReplyVerdict::Usable;
}

KissCode ReadKissCode(const uint8_t* datagram, size_t length)
{
    if (length < kSntpMessageSize || datagram[kStratumOffset] != 0 || (datagram[0] & 7) != kServerMode) {
        return KissCode::None;
    }
    const std::string code(reinterpret_cast<const char*>(datagram + kReferenceIdOffset), 4);
    if (code == "DENY" || code == "RSTR") {
        return KissCode::Deny;
    }
    return code == "RATE" ? KissCode::Rate : KissCode::Other;
}

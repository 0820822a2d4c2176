// SNTP message layout of RFC 4330 section 4, and the reply checks of its section 5.
#include "sntp_message.h"

namespace {

constexpr uint8_t kClientRequestByte0 = 0x0B;  // LI 0, VN 1, Mode 3
constexpr size_t kStratumOffset = 1;
constexpr size_t kTransmitOffset = 40;

uint32_t ReadBigEndian32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | static_cast<uint32_t>(bytes[3]);
}

}  // namespace

SntpMessage BuildRequest()
{
    SntpMessage request{};
    request[0] = kClientRequestByte0;
    return request;
}

NtpTimestamp ReadTransmitTimestamp(const uint8_t* reply)
{
    return {ReadBigEndian32(reply + kTransmitOffset), ReadBigEndian32(reply + kTransmitOffset + 4)};
}

ReplyVerdict CheckReply(const uint8_t* datagram, size_t length)
{
    if (length < kSntpMessageSize) {
        return ReplyVerdict::TooShort;
    }
    // RFC 4330 section 5: a reply with a zero Transmit Timestamp carries no time...
    const NtpTimestamp transmit = ReadTransmitTimestamp(datagram);
    if (transmit.seconds == 0 && transmit.fraction == 0) {
        return ReplyVerdict::ZeroTransmitTimestamp;
    }
    // ...Leap Indicator 3 is the alarm condition: the server's own clock is not synchronised...
    if ((datagram[0] >> 6) == 3) {
        return ReplyVerdict::NotSynchronised;
    }
    // ...and Stratum 0 is a kiss-o'-death message: the server refuses to serve this client.
    if (datagram[kStratumOffset] == 0) {
        return ReplyVerdict::KissOfDeath;
    }
    return ReplyVerdict::Usable;
}

// The request bytes, the transmit timestamp's byte order, and which replies may set the clock.
#include "sntp/sntp_message.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(BuildRequest, IsVersionOneClientModeAndZeros)
{
    const SntpMessage request = BuildRequest();
    ASSERT_EQ(48u, request.size());
    EXPECT_EQ(0x0B, request[0]);
    for (size_t i = 1; i < request.size(); ++i) {
        EXPECT_EQ(0, request[i]) << "byte " << i;
    }
}

TEST(ReadTransmitTimestamp, ReadsBytes40To47BigEndian)
{
    uint8_t reply[48] = {};
    const uint8_t transmit[8] = {0xE8, 0x3C, 0x12, 0x34, 0x80, 0x00, 0x00, 0x01};
    std::copy(transmit, transmit + 8, reply + 40);
    reply[39] = 0xFF;  // the receive timestamp's last byte must not leak in
    const NtpTimestamp t = ReadTransmitTimestamp(reply);
    EXPECT_EQ(0xE83C1234u, t.seconds);
    EXPECT_EQ(0x80000001u, t.fraction);
}

TEST(ReadReferenceId, ReadsTheStratumAndBytes12To15BigEndian)
{
    const struct {
        uint8_t stratum;
        uint8_t id[4];
        uint32_t expected;
    } cases[] = {
        {2, {192, 0, 2, 1}, 0xC0000201u},  // the IPv4 address of the server it follows
        {1, {'G', 'P', 'S', 0}, 0x47505300u},
        {0, {'R', 'A', 'T', 'E'}, 0x52415445u},  // a kiss's code
    };
    for (const auto& c : cases) {
        uint8_t reply[48] = {};
        reply[1] = c.stratum;
        std::copy(c.id, c.id + 4, reply + 12);
        reply[11] = 0xFF;  // the root dispersion's last byte and the originate's first must not leak in
        reply[16] = 0xFF;
        EXPECT_EQ(c.stratum, ReadStratum(reply)) << c.expected;
        EXPECT_EQ(c.expected, ReadReferenceId(reply));
    }
}

std::vector<uint8_t> Reply(uint8_t byte0, uint8_t stratum, uint32_t seconds, uint32_t fraction, size_t length = 48)
{
    std::vector<uint8_t> reply(length < 48 ? 48 : length, 0);
    reply[0] = byte0;
    reply[1] = stratum;
    for (int i = 0; i < 4; ++i) {
        reply[40 + i] = static_cast<uint8_t>(seconds >> (24 - 8 * i));
        reply[44 + i] = static_cast<uint8_t>(fraction >> (24 - 8 * i));
    }
    reply.resize(length);
    return reply;
}

struct VerdictCase {
    const char* what;
    std::vector<uint8_t> datagram;
    ReplyVerdict verdict;
};

constexpr uint8_t kServerV4 = 0x24;     // LI 0, VN 4, mode 4
constexpr uint8_t kLeapAdd = 0x64;      // LI 1
constexpr uint8_t kLeapDelete = 0xA4;   // LI 2
constexpr uint8_t kUnsynchronised = 0xE4;  // LI 3

TEST(CheckReply, AcceptsOnlyUsableTimes)
{
    const VerdictCase cases[] = {
        {"a plain reply", Reply(kServerV4, 2, 3983734800u, 1), ReplyVerdict::Usable},
        {"leap second announced", Reply(kLeapAdd, 1, 3983734800u, 0), ReplyVerdict::Usable},
        {"leap second removed", Reply(kLeapDelete, 1, 3983734800u, 0), ReplyVerdict::Usable},
        {"only the seconds are zero", Reply(kServerV4, 1, 0, 0x80000000u), ReplyVerdict::Usable},
        {"only the fraction is zero", Reply(kServerV4, 1, 3983734800u, 0), ReplyVerdict::Usable},
        {"with a key and digest behind", Reply(kServerV4, 1, 3983734800u, 0, 68), ReplyVerdict::Usable},
        {"empty", {}, ReplyVerdict::TooShort},
        {"one byte short", Reply(kServerV4, 1, 3983734800u, 0, 47), ReplyVerdict::TooShort},
        {"zero transmit timestamp", Reply(kServerV4, 1, 0, 0), ReplyVerdict::ZeroTransmitTimestamp},
        {"server not synchronised", Reply(kUnsynchronised, 1, 3983734800u, 0), ReplyVerdict::NotSynchronised},
        {"kiss-o'-death", Reply(kServerV4, 0, 3983734800u, 0), ReplyVerdict::KissOfDeath},
        {"stratum 15", Reply(kServerV4, 15, 3983734800u, 0), ReplyVerdict::Usable},
        {"stratum 16: unsynchronised", Reply(kServerV4, 16, 3983734800u, 0), ReplyVerdict::UnsynchronisedStratum},
        {"stratum 255", Reply(kServerV4, 255, 3983734800u, 0), ReplyVerdict::UnsynchronisedStratum},
        {"version 1", Reply(0x0C, 1, 3983734800u, 0), ReplyVerdict::Usable},
        {"version 0", Reply(0x04, 1, 3983734800u, 0), ReplyVerdict::UnknownVersion},
        {"version 5", Reply(0x2C, 1, 3983734800u, 0), ReplyVerdict::UnknownVersion},
        {"client mode", Reply(0x23, 1, 3983734800u, 0), ReplyVerdict::NotAServer},
        {"broadcast mode", Reply(0x25, 1, 3983734800u, 0), ReplyVerdict::NotAServer},
    };
    for (const VerdictCase& c : cases) {
        EXPECT_EQ(c.verdict, CheckReply(c.datagram.data(), c.datagram.size())) << c.what;
    }
}

}  // namespace

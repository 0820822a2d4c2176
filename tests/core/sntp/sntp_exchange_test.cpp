// One exchange: the server's time carried across the path, what an answer says of its server, the
// origin check, and the one resend.
#include "sntp/sntp_exchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "../fixed_zones.h"

namespace {

constexpr int64_t kMs = 10000;                      // 100 ns ticks
constexpr int64_t kFrequency = 10000000;            // a 10 MHz counter: one count is one tick
constexpr uint32_t kNtp2026 = 3983734800u;          // 2026-03-29 01:00:00 UTC
constexpr int64_t kUnix2026 = (3983734800LL - 2208988800LL) * 10000000;

void PutTimestamp(std::vector<uint8_t>& reply, size_t at, uint64_t value)
{
    for (int i = 0; i < 8; ++i) {
        reply[at + i] = static_cast<uint8_t>(value >> (56 - 8 * i));
    }
}

// A server reply that echoes the origin, with its receive and transmit times in ms after kNtp2026.
std::vector<uint8_t> Reply(uint64_t origin, int64_t receiveMs, int64_t transmitMs, uint8_t byte0 = 0x24)
{
    std::vector<uint8_t> reply(48, 0);
    reply[0] = byte0;
    reply[1] = 2;
    const auto at = [](int64_t ms) {
        return (uint64_t{kNtp2026} << 32) + static_cast<uint64_t>((ms << 32) / 1000);
    };
    PutTimestamp(reply, 24, origin);
    PutTimestamp(reply, 32, receiveMs < 0 ? 0 : at(receiveMs));
    PutTimestamp(reply, 40, at(transmitMs));
    return reply;
}

TEST(SntpExchange, CarriesTheServerTimeAcrossThePath)
{
    const struct {
        const char* what;
        int64_t roundTripMs;
        int64_t receiveMs;  // -1: the server sent no receive time
        int64_t transmitMs;
        int64_t expectedMs;  // the server's time at the receipt, after kNtp2026
    } cases[] = {
        {"no delay at all", 0, 0, 0, 0},
        {"20 ms each way, no hold", 40, 0, 0, 20},
        {"100 ms each way, 3 ms hold", 203, 0, 3, 103},
        {"held 30 of a 50 ms round trip", 50, 0, 30, 40},
        {"a hold longer than the round trip adds nothing", 10, 0, 500, 500},
        {"no receive time: no hold", 40, -1, 7, 27},
        {"a receive time after the transmit time: no hold", 40, 9, 7, 27},
        {"a round trip of several seconds", 6000, 0, 1000, 3500},
    };
    for (const auto& c : cases) {
        SntpExchange exchange;
        exchange.NextRequest(0x1122334455667788u, 1000);
        const std::vector<uint8_t> reply = Reply(0x1122334455667788u, c.receiveMs, c.transmitMs);
        const Receipt receipt{1000 + c.roundTripMs * kMs, kFrequency, kUnix2026};
        const SntpReading reading = exchange.Judge(true, reply.data(), reply.size(), receipt, UtcZone);
        ASSERT_EQ(DatagramVerdict::Answer, reading.verdict) << c.what;
        const int64_t atReceipt = reading.answer.unixTicksAtReceipt;
        // Milliseconds are no whole number of 2^-32 s: one tick of truncation is allowed.
        const int64_t error = atReceipt - (kUnix2026 + c.expectedMs * kMs);
        EXPECT_TRUE(error == 0 || error == -1) << c.what << ": off by " << error << " ticks";
    }
}

TEST(SntpExchange, AnAnswerSaysWhoAndWhenAndItsPathDelay)
{
    SntpExchange exchange;
    exchange.NextRequest(0x1122334455667788u, 1000);
    std::vector<uint8_t> reply = Reply(0x1122334455667788u, 0, 3);
    reply[1] = 3;
    const uint8_t upstream[4] = {192, 0, 2, 7};
    std::copy(upstream, upstream + 4, reply.begin() + 12);
    const Receipt receipt{1000 + 43 * kMs, kFrequency, kUnix2026 - 5 * kMs};
    const SntpReading reading = exchange.Judge(true, reply.data(), reply.size(), receipt, UtcZone);
    ASSERT_EQ(DatagramVerdict::Answer, reading.verdict);
    // Milliseconds are no whole number of 2^-32 s: one tick of truncation is allowed.
    EXPECT_NEAR(static_cast<double>(40 * kMs), static_cast<double>(reading.pathDelayTicks), 1)
        << "43 ms less the 3 ms held";
    EXPECT_EQ(receipt.counter, reading.answer.receivedAtCounter);
    EXPECT_EQ(receipt.clock, reading.answer.clockAtReceipt);
    EXPECT_EQ(3, reading.answer.stratum);
    EXPECT_EQ(0xC0000207u, reading.answer.referenceId);
    // The server's 3 ms and half the path, against a clock 5 ms behind.
    EXPECT_NEAR(static_cast<double>(28 * kMs), static_cast<double>(reading.answer.OffsetTicks()), 1);

    std::vector<uint8_t> early = Reply(0x1122334455667788u, 0, 0);
    early[40] = 0x80;  // 1968
    EXPECT_EQ(DatagramVerdict::NoLocalTime, exchange.Judge(true, early.data(), early.size(), receipt, UtcZone).verdict);
}

TEST(SntpExchange, OnlyAReplyToTheLatestRequestAnswers)
{
    SntpExchange exchange;
    const SntpMessage first = exchange.NextRequest(0xAAAAAAAAAAAAAAAAu, 0);
    EXPECT_EQ(0x0B, first[0]);
    EXPECT_EQ(0xAA, first[40]);
    EXPECT_EQ(0xAA, first[47]);
    EXPECT_EQ(DatagramVerdict::Answer,
              exchange.Judge(true, Reply(0xAAAAAAAAAAAAAAAAu, 0, 0).data(), 48, Receipt(), UtcZone).verdict);
    EXPECT_TRUE(exchange.MaySendAgain());

    exchange.NextRequest(0xBBBBBBBBBBBBBBBBu, 0);
    EXPECT_FALSE(exchange.MaySendAgain()) << "one request and one more";
    const struct {
        const char* what;
        bool fromServer;
        std::vector<uint8_t> datagram;
        DatagramVerdict verdict;
    } cases[] = {
        {"the latest request's reply", true, Reply(0xBBBBBBBBBBBBBBBBu, 0, 0), DatagramVerdict::Answer},
        {"the first request's reply, late", true, Reply(0xAAAAAAAAAAAAAAAAu, 0, 0), DatagramVerdict::NotOurs},
        {"from another address", false, Reply(0xBBBBBBBBBBBBBBBBu, 0, 0), DatagramVerdict::FromElsewhere},
        {"a client's request echoed", true, Reply(0xBBBBBBBBBBBBBBBBu, 0, 0, 0x23), DatagramVerdict::Unusable},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.verdict, exchange.Judge(c.fromServer, c.datagram.data(), c.datagram.size(), Receipt(), UtcZone).verdict)
            << c.what;
    }
}

}  // namespace

// One exchange: the server's time carried across the path, the origin check, and the one resend.
#include "sntp/sntp_exchange.h"

#include <gtest/gtest.h>

#include <vector>

#include "../fixed_zones.h"
#include "sntp/path_delay.h"

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
        const int64_t atReceipt = exchange.ServerTimeAtReceipt(reply.data(), 1000 + c.roundTripMs * kMs, kFrequency);
        // Milliseconds are no whole number of 2^-32 s: one tick of truncation is allowed.
        const int64_t error = atReceipt - (kUnix2026 + c.expectedMs * kMs);
        EXPECT_TRUE(error == 0 || error == -1) << c.what << ": off by " << error << " ticks";
    }
}

TEST(SntpExchange, TheHoldTimeIsRightAcrossTheEraBoundary)
{
    const NtpTimestamp lastOfEra0{0xFFFFFFFFu, 0x80000000u};
    const NtpTimestamp firstOfEra1{0, 0x80000000u};
    EXPECT_EQ(10000000, HoldTicks(lastOfEra0, firstOfEra1));
}

TEST(SntpExchange, CountsTheCounterWithoutOverflow)
{
    EXPECT_EQ(3 * 10000000LL, CounterToTicks(3 * 3579545LL, 3579545));
    EXPECT_EQ(int64_t{3650} * 86400 * 10000000, CounterToTicks(int64_t{3650} * 86400 * 2400000000LL, 2400000000LL));
}

TEST(SntpExchange, OnlyAReplyToTheLatestRequestAnswers)
{
    SntpExchange exchange;
    const SntpMessage first = exchange.NextRequest(0xAAAAAAAAAAAAAAAAu, 0);
    EXPECT_EQ(0x0B, first[0]);
    EXPECT_EQ(0xAA, first[40]);
    EXPECT_EQ(0xAA, first[47]);
    EXPECT_EQ(DatagramVerdict::Answer, exchange.Judge(true, Reply(0xAAAAAAAAAAAAAAAAu, 0, 0).data(), 48, UtcZone));
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
        EXPECT_EQ(c.verdict, exchange.Judge(c.fromServer, c.datagram.data(), c.datagram.size(), UtcZone)) << c.what;
    }
}

}  // namespace

// The choice among a server's samples, and a round's share of requests per address.
#include "sntp/server_samples.h"

#include <gtest/gtest.h>

#include <vector>

#include "query/round_requests.h"

namespace {

TEST(ServerSamples, TheShortestPathDelayIsKeptAndATieKeepsTheEarlier)
{
    const struct {
        const char* what;
        std::vector<int64_t> delays;  // each sample's path delay, in the order they came
        int chosen;                   // the index of the one kept
    } cases[] = {
        {"one sample", {700}, 0},
        {"the shortest last", {300, 200, 100}, 2},
        {"the shortest first", {100, 200, 300}, 0},
        {"in the middle", {90, 20, 40, 60}, 1},
        {"a tie", {50, 20, 20, 30}, 1},
        {"no delay at all", {10, 0, 0}, 1},
    };
    for (const auto& c : cases) {
        ServerSamples samples;
        samples.Add(ServerAnswer(), 1);  // a sample of an earlier query, cleared
        samples.Clear();
        for (size_t i = 0; i < c.delays.size(); ++i) {
            ServerAnswer answer;
            answer.receivedAtCounter = static_cast<int64_t>(i);
            samples.Add(answer, c.delays[i]);
        }
        EXPECT_EQ(static_cast<int>(c.delays.size()), samples.Count()) << c.what;
        EXPECT_EQ(c.chosen, samples.Best().receivedAtCounter) << c.what;
        EXPECT_EQ(c.delays[static_cast<size_t>(c.chosen)], samples.BestPathDelayTicks()) << c.what;
    }
}

TEST(RoundRequests, EachAddressAndPortHasItsOwnShareUntilTheRoundEnds)
{
    NetAddress v4;
    v4.bytes = {127, 0, 0, 1};
    v4.port = 123;
    NetAddress otherPort = v4;
    otherPort.port = 10123;
    NetAddress v6;
    v6.family = NetAddress::Family::V6;
    v6.bytes[15] = 1;
    v6.port = 123;
    RoundRequests requests;
    for (int i = 0; i < kMaxSamples; ++i) {
        EXPECT_TRUE(requests.Take(v4)) << i;
    }
    EXPECT_FALSE(requests.Take(v4)) << "the ninth";
    EXPECT_EQ(0, requests.Left(v4));
    EXPECT_EQ(kMaxSamples, requests.Left(otherPort)) << "another port is another server";
    EXPECT_EQ(kMaxSamples, requests.Left(v6)) << "::1 is not 127.0.0.1";
    requests.Clear();
    EXPECT_EQ(kMaxSamples, requests.Left(v4)) << "a new round";
}

}  // namespace

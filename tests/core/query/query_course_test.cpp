// A query's course against a scripted network: the steps it takes, what ends it, and what it leaves
// open, without a socket.
#include "query/query_course.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "../fixed_zones.h"
#include "nts/nts_extension_fields.h"

namespace {

NetAddress V4(uint8_t last)
{
    NetAddress address;
    address.bytes = {127, 0, 0, last};
    return address;
}

NetAddress V6(uint8_t last)
{
    NetAddress address;
    address.family = NetAddress::Family::V6;
    address.bytes[15] = last;
    return address;
}

const NetAddress kServer = V4(1);  // 127.0.0.1

class ScriptedNetwork : public QueryNetwork {
public:
    bool OpenSocket(NetAddress::Family family) override
    {
        sockets.push_back(family);
        return open = socketWorks;
    }
    bool WatchSocket() override { return watchWorks; }
    void CloseSocket() override { open = false; }
    bool NumericAddress(const std::string& host, NetAddress* address) override
    {
        *address = kServer;
        return host == "127.0.0.1";
    }
    bool StartLookup(const std::string&, uintptr_t* lookup) override
    {
        *lookup = 77;
        return lookupStarts;
    }
    void CancelJob(uintptr_t job) override { cancelled.push_back(job); }
    bool StartKeyExchange(const std::vector<NetAddress>& addresses, const std::string& serverName,
                          uintptr_t* exchange) override
    {
        keyExchanges.push_back(serverName + ":" + std::to_string(addresses.at(0).port));
        keyExchangeAddresses = addresses;
        *exchange = 88 + keyExchanges.size();
        return true;
    }
    void Send(const uint8_t* request, size_t length, const NetAddress& to) override
    {
        SntpMessage message{};
        std::copy(request, request + std::min(length, message.size()), message.begin());
        sent.push_back(message);
        lastRequest.assign(request, request + length);
        ports.push_back(to.port);
        askedAt.push_back(to);
    }
    int Receive(uint8_t* buffer, size_t size, NetAddress* from) override
    {
        if (datagram.empty() && junkLeft == 0) {
            return -1;  // nothing (more) to read
        }
        if (datagram.empty()) {
            --junkLeft;
            std::fill(buffer, buffer + 48, 0x55);
            *from = V4(99);
            return 48;
        }
        *from = datagramFromServer ? askedAt.back() : V4(99);
        const size_t length = datagram.size() < size ? datagram.size() : size;
        std::copy(datagram.begin(), datagram.begin() + static_cast<long>(length), buffer);
        datagram.clear();  // read once
        return static_cast<int>(length);
    }
    void StartWait(unsigned milliseconds) override { waitMs = milliseconds; }
    void StopWait() override { waitMs = 0; }
    int64_t CounterNow() override { return counter += 1000; }  // 0.1 ms a step on a 10 MHz counter
    int64_t CounterFrequency() override { return 10000000; }
    int64_t ClockNow() override { return 17650000000000000; }
    uint64_t Random64() override { return ++origin * 0x0101010101010101u; }

    // A server's answer to the latest request sent, with its transmit time in 2026.
    void Answer(size_t length = 48)
    {
        datagram.assign(length, 0);
        datagram[0] = 0x24;
        datagram[1] = 2;
        std::copy(sent.back().begin() + 40, sent.back().begin() + 48, datagram.begin() + 24);
        const uint8_t transmit[8] = {0xED, 0x71, 0x54, 0x10, 0, 0, 0, 0};
        std::copy(transmit, transmit + 8, datagram.begin() + 40);
    }
    // A kiss-o'-death to the latest request: stratum 0, the code in the reference identifier.
    void Kiss(const char* code, bool echoOrigin = true)
    {
        datagram.assign(48, 0);
        datagram[0] = 0x24;
        std::copy(code, code + 4, datagram.begin() + 12);
        if (echoOrigin) {
            std::copy(sent.back().begin() + 40, sent.back().begin() + 48, datagram.begin() + 24);
        }
    }
    // Lets the counter run on, as time passes while the query waits.
    void Pass(int milliseconds) { counter += int64_t{milliseconds} * 10000; }

    bool socketWorks = true;
    bool watchWorks = true;
    bool lookupStarts = true;
    bool open = false;
    bool datagramFromServer = true;
    std::vector<uint8_t> datagram;
    std::vector<SntpMessage> sent;
    std::vector<uint16_t> ports;
    std::vector<NetAddress> askedAt;
    std::vector<NetAddress::Family> sockets;
    std::vector<uintptr_t> cancelled;
    std::vector<std::string> keyExchanges;  // name:port of each
    std::vector<NetAddress> keyExchangeAddresses;  // the latest one's
    std::vector<uint8_t> lastRequest;  // whole, extension fields included
    unsigned waitMs = 0;
    int junkLeft = 0;  // datagrams from elsewhere waiting to be read
    int64_t counter = 0;
    uint64_t origin = 0;
    KissMemory kisses;  // this network's own: a kiss of one test must not keep another's server away
};

TEST(QueryCourse, WhatEndsAQueryBeforeAnyRequest)
{
    const struct {
        const char* what;
        const char* address;
        bool socketWorks, watchWorks, lookupStarts;
        QueryStatus status;
    } cases[] = {
        {"no address", "", true, true, true, QueryStatus::UnknownServer},
        {"no host before the colon", ":123", true, true, true, QueryStatus::UnknownServer},
        {"no socket", "127.0.0.1", false, true, true, QueryStatus::SocketFailed},
        {"no notifications", "127.0.0.1", true, false, true, QueryStatus::NotifyFailed},
        {"a lookup that cannot start", "ntp.example", true, true, false, QueryStatus::UnknownServer},
        {"a dotted address is asked at once", "127.0.0.1:1234", true, true, true, QueryStatus::Waiting},
        {"a name is looked up first", "ntp.example", true, true, true, QueryStatus::Waiting},
    };
    for (const auto& c : cases) {
        ScriptedNetwork network;
        network.socketWorks = c.socketWorks;
        network.watchWorks = c.watchWorks;
        network.lookupStarts = c.lookupStarts;
        QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
        EXPECT_EQ(c.status, course.Start(c.address)) << c.what;
        // The socket comes with the first request: a name's family is known once it is looked up.
        EXPECT_EQ(!network.sent.empty(), network.open) << c.what << ": the socket stays only while a request waits";
    }
}

TEST(QueryCourse, AStaleLookupChangesNothingAndAFailedOneEndsTheQuery)
{
    ScriptedNetwork network;
    QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
    ASSERT_EQ(QueryStatus::Waiting, course.Start("ntp.example"));
    EXPECT_EQ(QueryStatus::Waiting, course.OnLookupDone(12, 0, {kServer})) << "another lookup's end";
    EXPECT_TRUE(network.sent.empty());
    EXPECT_EQ(QueryStatus::UnknownServer, course.OnLookupDone(77, 11001, {}));
    EXPECT_FALSE(network.open);
}

TEST(QueryCourse, ASilentServerIsAskedTwiceThenGivenUp)
{
    ScriptedNetwork network;
    QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
    ASSERT_EQ(QueryStatus::Waiting, course.Start("127.0.0.1"));
    network.Pass(2000);
    EXPECT_EQ(QueryStatus::Waiting, course.OnWaitOver());
    ASSERT_EQ(2u, network.sent.size());
    EXPECT_NE(0, std::memcmp(network.sent[0].data() + 40, network.sent[1].data() + 40, 8)) << "a new origin value";
    EXPECT_EQ(123, network.ports[0]);
    network.Pass(2000);
    EXPECT_EQ(QueryStatus::NoAnswer, course.OnWaitOver());
    EXPECT_FALSE(network.open);
    EXPECT_EQ(0u, network.waitMs);
    EXPECT_EQ(QueryStatus::Waiting, course.OnWaitOver()) << "a late timer after the end";
}

TEST(QueryCourse, OnlyAnAnswerToTheLatestRequestEndsIt)
{
    ScriptedNetwork network;
    QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
    ASSERT_EQ(QueryStatus::Waiting, course.Start("127.0.0.1"));
    network.Answer();
    const std::vector<uint8_t> answerToFirst = network.datagram;
    network.Pass(2000);
    course.OnWaitOver();  // the second request
    network.datagram = answerToFirst;
    EXPECT_EQ(QueryStatus::Waiting, course.OnReadable()) << "the first request's reply comes late";
    network.Answer();
    network.datagramFromServer = false;
    EXPECT_EQ(QueryStatus::Waiting, course.OnReadable()) << "from another address";
    network.datagramFromServer = true;
    network.Answer(68);
    EXPECT_EQ(QueryStatus::Answered, course.OnReadable()) << "68 bytes: a key and digest behind";
    EXPECT_FALSE(network.open);
    EXPECT_EQ(0u, network.waitMs);
    EXPECT_EQ(network.counter, course.Answer().receivedAtCounter);
}

TEST(QueryCourse, JunkThatStarvesTheTimerCannotHoldOffTheWaitsEnd)
{
    ScriptedNetwork network;
    QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
    ASSERT_EQ(QueryStatus::Waiting, course.Start("127.0.0.1"));
    const int64_t sentAt = network.counter;  // each reading of the counter adds 0.1 ms
    // Junk from elsewhere arrives at these moments and the wait's timer is never delivered.
    const struct {
        int64_t ms;
        int datagrams;
        QueryStatus status;
        size_t requests;
        int left;  // datagrams still unread after the notice
    } steps[] = {
        {1, 3, QueryStatus::Waiting, 1, 0},
        {1000, 200, QueryStatus::Waiting, 1, 200 - kDatagramsPerNotice},  // a bounded number a notice
        {1999, 1, QueryStatus::Waiting, 1, 0},
        {2001, 1, QueryStatus::Waiting, 2, 0},  // the wait is over: the request goes again
        {4000, 1, QueryStatus::Waiting, 2, 0},
        {4002, 1, QueryStatus::NoAnswer, 2, 0},
    };
    for (const auto& step : steps) {
        network.counter = sentAt + step.ms * 10000;
        network.junkLeft = step.datagrams;
        EXPECT_EQ(step.status, course.OnReadable()) << step.ms << " ms";
        EXPECT_EQ(step.requests, network.sent.size()) << step.ms << " ms";
        EXPECT_EQ(step.left, network.junkLeft) << step.ms << " ms";
    }
    EXPECT_FALSE(network.open);
}

TEST(QueryCourse, EveryAddressOfANameIsAskedInTurnWithinTheNamesTime)
{
    const struct {
        const char* what;
        std::vector<NetAddress> answering;  // the addresses that answer
        QueryStatus status;
        std::vector<NetAddress> asked;  // one entry per request
    } cases[] = {
        {"the first answers", {V6(1)}, QueryStatus::Answered, {V6(1)}},
        {"the second answers", {V4(2)}, QueryStatus::Answered, {V6(1), V6(1), V4(2)}},
        {"all silent: the third is past the name's 8 s", {}, QueryStatus::NoAnswer, {V6(1), V6(1), V4(2), V4(2)}},
    };
    for (const auto& c : cases) {
        ScriptedNetwork network;
        QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
        ASSERT_EQ(QueryStatus::Waiting, course.Start("ntp.example:10123"));
        QueryStatus status = course.OnLookupDone(77, 0, {V6(1), V4(2), V4(3)});
        for (int waits = 0; status == QueryStatus::Waiting && waits < 10; ++waits) {
            NetAddress asked = network.askedAt.back();
            asked.port = 0;
            if (std::find(c.answering.begin(), c.answering.end(), asked) != c.answering.end()) {
                network.Answer();
                status = course.OnReadable();
            } else {
                network.Pass(2000);
                status = course.OnWaitOver();
            }
        }
        EXPECT_EQ(c.status, status) << c.what;
        ASSERT_EQ(c.asked.size(), network.askedAt.size()) << c.what;
        for (size_t i = 0; i < c.asked.size(); ++i) {
            NetAddress expected = c.asked[i];
            expected.port = 10123;
            EXPECT_TRUE(expected == network.askedAt[i]) << c.what << ", request " << i;
        }
        EXPECT_FALSE(network.open) << c.what;
    }
}

TEST(QueryCourse, ALookupHasItsOwnTimeAndALateOneIsNeverUsed)
{
    ScriptedNetwork network;
    QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
    ASSERT_EQ(QueryStatus::Waiting, course.Start("ntp.example"));
    EXPECT_EQ(kLookupLimitMs, network.waitMs);
    network.Pass(4900);
    EXPECT_EQ(QueryStatus::Waiting, course.OnWaitOver()) << "a timer that comes early waits on";
    EXPECT_GT(network.waitMs, 0u);
    network.Pass(200);
    EXPECT_EQ(QueryStatus::UnknownServer, course.OnWaitOver());
    EXPECT_EQ((std::vector<uintptr_t>{77}), network.cancelled);
    EXPECT_EQ(QueryStatus::Waiting, course.OnLookupDone(77, 0, {kServer})) << "the late result";
    EXPECT_TRUE(network.sent.empty());
}

TEST(QueryCourse, AKissOfTheServerAskedEndsTheQuery)
{
    const struct {
        const char* code;
        bool echoOrigin;
        QueryStatus status;
    } cases[] = {
        {"DENY", true, QueryStatus::Denied},
        {"RSTR", true, QueryStatus::Denied},
        {"RATE", true, QueryStatus::RateLimited},
        {"DENY", false, QueryStatus::Waiting},  // anyone could send it: dropped
        {"INIT", true, QueryStatus::Waiting},   // it only informs: dropped like any unusable reply
    };
    for (const auto& c : cases) {
        ScriptedNetwork network;
        QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
        ASSERT_EQ(QueryStatus::Waiting, course.Start("127.0.0.1"));
        network.Kiss(c.code, c.echoOrigin);
        EXPECT_EQ(c.status, course.OnReadable()) << c.code << " " << c.echoOrigin;
        EXPECT_EQ(c.status == QueryStatus::Waiting, network.open) << c.code;
    }
}

TEST(QueryCourse, AKissKeepsItsAddressAwayAndTheNamesOtherServersAreStillAsked)
{
    // A pool of two: a DENY from the first address, then the second is asked in the same query.
    ScriptedNetwork network;
    QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
    const auto ask = [&] {
        EXPECT_EQ(QueryStatus::Waiting, course.Start("pool.example"));
        return course.OnLookupDone(77, 0, {V4(1), V4(2)});
    };
    ASSERT_EQ(QueryStatus::Waiting, ask());
    network.Kiss("DENY");
    EXPECT_EQ(QueryStatus::Waiting, course.OnReadable());
    EXPECT_EQ(V4(2).bytes, network.askedAt.back().bytes) << "the other server of the pool";
    network.Answer();
    EXPECT_EQ(QueryStatus::Answered, course.OnReadable());
    EXPECT_EQ(V4(2).bytes, course.Answer().from.bytes);

    // The next query leaves the first away and asks the second, whose RATE ends it.
    ASSERT_EQ(QueryStatus::Waiting, ask());
    EXPECT_EQ(V4(2).bytes, network.askedAt.back().bytes);
    network.Kiss("RATE");
    EXPECT_EQ(QueryStatus::RateLimited, course.OnReadable()) << "no address left";
    const size_t sent = network.sent.size();
    EXPECT_EQ(QueryStatus::KissedAway, ask()) << "both away: nothing is sent";
    EXPECT_EQ(sent, network.sent.size());
    network.Pass(15 * 60 * 1000);
    EXPECT_EQ(QueryStatus::Waiting, ask()) << "the RATE hold is over";
    EXPECT_EQ(V4(2).bytes, network.askedAt.back().bytes) << "the DENY is for good";
}

TEST(QueryCourse, ANewQueryEndsTheOneUnderWay)
{
    ScriptedNetwork network;
    QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
    ASSERT_EQ(QueryStatus::Waiting, course.Start("ntp.example"));
    ASSERT_EQ(QueryStatus::Waiting, course.Start("127.0.0.1"));
    EXPECT_EQ((std::vector<uintptr_t>{77}), network.cancelled);
    EXPECT_EQ(QueryStatus::Waiting, course.OnLookupDone(77, 0, {kServer}));
    EXPECT_EQ(1u, network.sent.size()) << "the cancelled lookup sends nothing";
}

// Runs a script against a query for samples: "a30" an answer 30 ms after its request (marked with
// the stratum 1, 2, ... in the order answers come), "b" a reply that fails a check, "s" a silence
// of a whole wait, "kRATE" a kiss. After an answer the spacing passes before the next step.
QueryStatus RunSamples(ScriptedNetwork& network, QueryCourse& course, const std::vector<std::string>& steps)
{
    QueryStatus status = QueryStatus::Waiting;
    uint8_t mark = 0;
    for (const std::string& step : steps) {
        if (status != QueryStatus::Waiting) {
            break;
        }
        if (step[0] == 'a') {
            network.Pass(std::stoi(step.substr(1)));
            network.Answer();
            network.datagram[1] = ++mark;
            const size_t sent = network.sent.size();
            status = course.OnReadable();
            if (status == QueryStatus::Waiting) {
                EXPECT_EQ(sent, network.sent.size()) << step << ": nothing goes before the spacing is over";
                network.Pass(static_cast<int>(kSampleSpacingMs));
                status = course.OnWaitOver();
            }
        } else if (step[0] == 'b') {
            network.Answer();
            std::fill(network.datagram.begin() + 40, network.datagram.end(), 0);  // no transmit time
            status = course.OnReadable();
        } else if (step[0] == 's') {
            network.Pass(static_cast<int>(kReplyWaitMs));
            status = course.OnWaitOver();
        } else {
            network.Kiss(step.substr(1).c_str());
            status = course.OnReadable();
        }
    }
    return status;
}

TEST(QueryCourse, SamplesAreTakenAndTheShortestPathDelayIsTheAnswer)
{
    const struct {
        const char* what;
        int samples;
        std::vector<std::string> steps;
        QueryStatus status;
        size_t requests;
        uint8_t chosen;  // the mark of the answer kept
    } cases[] = {
        {"four, the second quickest", 4, {"a30", "a10", "a20", "a40"}, QueryStatus::Answered, 4, 2},
        {"a tie keeps the earlier", 4, {"a30", "a10", "a10", "a20"}, QueryStatus::Answered, 4, 2},
        {"one sample: today's single exchange", 1, {"a50"}, QueryStatus::Answered, 1, 1},
        {"a reply that fails a check is no sample", 3, {"a30", "b", "a5", "a20"}, QueryStatus::Answered, 3, 2},
        {"silent mid-way: the samples in count", 4, {"a30", "a10", "s"}, QueryStatus::Answered, 3, 2},
        {"a RATE kiss ends the sampling", 4, {"a30", "a10", "kRATE"}, QueryStatus::Answered, 3, 2},
        {"a DENY kiss likewise", 4, {"a30", "kDENY"}, QueryStatus::Answered, 2, 1},
        {"a kiss before any sample, as ever", 4, {"kRATE"}, QueryStatus::RateLimited, 1, 0},
        {"silent at first: asked again", 3, {"s", "a20", "a10", "a30"}, QueryStatus::Answered, 4, 2},
        {"silent at first and at last", 3, {"s", "a20", "s"}, QueryStatus::Answered, 3, 1},
        {"eight wanted, one request went unanswered: eight requests in all", 8,
         {"s", "a9", "a8", "a7", "a6", "a5", "a4", "a3", "a2"}, QueryStatus::Answered, 8, 7},
        {"no request past the name's 8 s", 8, {"a1900", "a1900", "a1900", "a1700", "a10"}, QueryStatus::Answered, 4, 4},
        {"never answered", 4, {"s", "s"}, QueryStatus::NoAnswer, 2, 0},
    };
    for (const auto& c : cases) {
        ScriptedNetwork network;
        QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
        ASSERT_EQ(QueryStatus::Waiting, course.Start("127.0.0.1", c.samples)) << c.what;
        EXPECT_EQ(c.status, RunSamples(network, course, c.steps)) << c.what;
        EXPECT_EQ(c.requests, network.sent.size()) << c.what;
        for (size_t i = 1; i < network.sent.size(); ++i) {
            EXPECT_NE(0, std::memcmp(network.sent[i - 1].data() + 40, network.sent[i].data() + 40, 8))
                << c.what << ": each request its own origin value";
        }
        if (c.status == QueryStatus::Answered) {
            EXPECT_EQ(c.chosen, course.Answer().stratum) << c.what;
        }
        EXPECT_FALSE(network.open) << c.what;
    }
}

TEST(QueryCourse, TheSpacingDropsWhatComesAndAnEarlyTimerWaitsOn)
{
    ScriptedNetwork network;
    QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
    ASSERT_EQ(QueryStatus::Waiting, course.Start("127.0.0.1", 2));
    network.Answer();
    const std::vector<uint8_t> first = network.datagram;
    ASSERT_EQ(QueryStatus::Waiting, course.OnReadable());
    EXPECT_NEAR(kSampleSpacingMs, network.waitMs, 1);
    network.datagram = first;
    EXPECT_EQ(QueryStatus::Waiting, course.OnReadable()) << "the same reply again is no second sample";
    network.Pass(100);
    EXPECT_EQ(QueryStatus::Waiting, course.OnWaitOver());
    EXPECT_EQ(1u, network.sent.size()) << "the timer came early";
    network.Pass(static_cast<int>(kSampleSpacingMs));
    EXPECT_EQ(QueryStatus::Waiting, course.OnWaitOver());
    EXPECT_EQ(2u, network.sent.size());
    network.datagram = first;
    EXPECT_EQ(QueryStatus::Waiting, course.OnReadable()) << "the first request's reply answers no other";
    network.Answer();
    EXPECT_EQ(QueryStatus::Answered, course.OnReadable());
}

TEST(QueryCourse, ACutQueryGivesItsBestSampleOrNoAnswer)
{
    const struct {
        std::vector<std::string> steps;
        QueryStatus status;
    } cases[] = {{{}, QueryStatus::NoAnswer}, {{"s"}, QueryStatus::NoAnswer}, {{"a30", "a10"}, QueryStatus::Answered}};
    for (const auto& c : cases) {
        ScriptedNetwork network;
        QueryCourse course(network, UtcZone, ProcessNtsSessions(), network.kisses);
        ASSERT_EQ(QueryStatus::Waiting, course.Start("127.0.0.1", 4));
        ASSERT_EQ(QueryStatus::Waiting, RunSamples(network, course, c.steps));
        EXPECT_EQ(c.status, course.Cut()) << c.steps.size();
        EXPECT_FALSE(network.open);
        if (c.status == QueryStatus::Answered) {
            EXPECT_EQ(2, course.Answer().stratum) << "the quicker of the two";
        }
    }
}

TEST(QueryCourse, AServerHasEightRequestsARoundUnderEveryName)
{
    ScriptedNetwork network;
    RoundRequests round;
    QueryCourse first(network, UtcZone, ProcessNtsSessions(), network.kisses, &round);
    ASSERT_EQ(QueryStatus::Waiting, first.Start("127.0.0.1", 6));
    EXPECT_EQ(QueryStatus::Answered, RunSamples(network, first, {"a5", "a5", "a5", "a5", "a5", "a5"}));
    // The same address under a pool's name: two requests left, so two samples.
    QueryCourse second(network, UtcZone, ProcessNtsSessions(), network.kisses, &round);
    ASSERT_EQ(QueryStatus::Waiting, second.Start("pool.example", 6));
    EXPECT_EQ(QueryStatus::Waiting, second.OnLookupDone(77, 0, {V4(1), V4(2)}));
    EXPECT_EQ(QueryStatus::Answered, RunSamples(network, second, {"a5", "a5"}));
    EXPECT_EQ(8u, network.sent.size());
    EXPECT_EQ(0, round.Left(network.askedAt[0]));
    // Its share spent, the address is passed: the pool's other server is asked.
    ASSERT_EQ(QueryStatus::Waiting, second.Start("pool.example", 1));
    EXPECT_EQ(QueryStatus::Waiting, second.OnLookupDone(77, 0, {V4(1), V4(2)}));
    EXPECT_EQ(V4(2).bytes, network.askedAt.back().bytes);
    ASSERT_EQ(QueryStatus::KissedAway, first.Start("127.0.0.1", 4)) << "nothing left to ask: no request";
    EXPECT_EQ(9u, network.sent.size());
    round.Clear();
    EXPECT_EQ(QueryStatus::Waiting, first.Start("127.0.0.1", 4)) << "the next round";
}

// What a key exchange gives: two keys, eight cookies of 100 bytes, the NTP server at its default.
NtsKeyExchangeResult KeyExchangeResult(bool ok = true)
{
    NtsKeyExchangeResult result;
    result.ok = ok;
    result.keys.clientToServer.fill(1);
    result.keys.serverToClient.fill(2);
    for (uint8_t i = 0; ok && i < kNtsMaxCookies; ++i) {
        result.response.cookies.push_back(std::vector<uint8_t>(100, i));
    }
    return result;
}

// The NTS reply to the latest request: its Unique Identifier, then fresh cookies sealed under the
// S2C key, one byte of the tag flipped on request; or an NTS NAK.
std::vector<uint8_t> NtsReplyTo(ScriptedNetwork& network, bool flipTag, bool nak = false, size_t cookies = 1,
                                size_t cookieSize = 100)
{
    network.Answer();
    std::vector<uint8_t> reply = network.datagram;
    if (nak) {
        reply[1] = 0;
        std::memcpy(reply.data() + 12, "NTSN", 4);
    }
    std::vector<ExtensionField> fields;
    ReadExtensionFields(network.lastRequest.data(), network.lastRequest.size(), 48, &fields);
    AppendExtensionField(reply, kNtsUniqueIdentifierField, fields[0].body, fields[0].bodySize);
    if (!nak) {
        std::vector<uint8_t> sealed;
        const std::vector<uint8_t> cookie(cookieSize, static_cast<uint8_t>(0xC0 + network.sent.size()));
        for (size_t i = 0; i < cookies; ++i) {
            AppendExtensionField(sealed, kNtsCookieField, cookie.data(), cookie.size());
        }
        AesSivKey s2c;
        s2c.fill(2);
        AppendNtsAuthenticator(reply, s2c, NtsNonce{}, sealed);
        reply[reply.size() - 1] ^= flipTag ? 1 : 0;
    }
    return reply;
}

TEST(QueryCourse, AnNtsServerIsAskedWithItsKeysAndOnlyAVerifiedReplyCounts)
{
    const struct {
        const char* what;
        bool keyExchangeOk;
        std::vector<int> replies;  // 0 authentic, 1 tag altered, 2 NTS NAK, 3 authentic, 1.5 KB
        QueryStatus status;
        size_t keyExchanges;
    } cases[] = {
        {"authentic", true, {0}, QueryStatus::Answered, 1},
        {"authentic, seven cookies of 200 bytes: past 1 KB", true, {3}, QueryStatus::Answered, 1},
        {"a failed key exchange: nothing is asked", false, {}, QueryStatus::NtsKeyExchangeFailed, 1},
        {"an altered tag is dropped like a forged reply", true, {1}, QueryStatus::Waiting, 1},
        {"dropped, then the authentic one", true, {1, 0}, QueryStatus::Answered, 1},
        {"a NAK: one key exchange more", true, {2, 0}, QueryStatus::Answered, 2},
        {"a NAK again: the server has failed", true, {2, 2}, QueryStatus::NtsKeyExchangeFailed, 2},
    };
    for (const auto& c : cases) {
        ScriptedNetwork network;
        NtsSessions sessions;
        QueryCourse course(network, UtcZone, sessions, network.kisses);
        ASSERT_EQ(QueryStatus::Waiting, course.Start("nts:127.0.0.1")) << c.what;
        EXPECT_TRUE(course.KeyExchangeUnderWay()) << c.what;
        QueryStatus status = course.OnKeyExchangeDone(89, KeyExchangeResult(c.keyExchangeOk));
        for (const int reply : c.replies) {
            if (course.KeyExchangeUnderWay()) {
                status = course.OnKeyExchangeDone(course.Lookup(), KeyExchangeResult());
            }
            ASSERT_EQ(QueryStatus::Waiting, status) << c.what;
            EXPECT_EQ(123, network.ports.back()) << c.what << ": NTP at the key exchange's host, port 123";
            EXPECT_EQ(0x23, network.lastRequest[0]) << c.what << ": NTPv4";
            network.datagram = reply == 3 ? NtsReplyTo(network, false, false, 7, 200)
                                          : NtsReplyTo(network, reply == 1, reply == 2);
            status = course.OnReadable();
        }
        EXPECT_EQ(c.status, status) << c.what;
        EXPECT_EQ(c.keyExchanges, network.keyExchanges.size()) << c.what;
        EXPECT_EQ("127.0.0.1:4460", network.keyExchanges[0]) << c.what;
        EXPECT_EQ(c.status == QueryStatus::Answered, c.status == QueryStatus::Answered && course.Answer().authenticated)
            << c.what;
        if (c.status == QueryStatus::Answered) {
            EXPECT_EQ(kNtsMaxCookies, sessions.Find("127.0.0.1", 4460)->cookies.size()) << c.what << ": refilled";
        }
    }
}

TEST(QueryCourse, AnNtsServersCookiesOutliveTheQueryAndAStaleKeyExchangeIsNeverUsed)
{
    ScriptedNetwork network;
    NtsSessions sessions;
    QueryCourse first(network, UtcZone, sessions, network.kisses);
    ASSERT_EQ(QueryStatus::Waiting, first.Start("nts:127.0.0.1:10460"));
    ASSERT_EQ(QueryStatus::Waiting, first.Start("nts:127.0.0.1:10460")) << "a new query ends the first";
    EXPECT_EQ((std::vector<uintptr_t>{89}), network.cancelled);
    EXPECT_EQ(QueryStatus::Waiting, first.OnKeyExchangeDone(89, KeyExchangeResult())) << "the cancelled one";
    EXPECT_TRUE(network.sent.empty());
    NtsKeyExchangeResult named = KeyExchangeResult();
    named.response.hasNtpPort = true;
    named.response.ntpPort = 10123;
    ASSERT_EQ(QueryStatus::Waiting, first.OnKeyExchangeDone(90, named));
    EXPECT_EQ(10123, network.ports.back()) << "the port the key exchange named";

    // The next query of the same server, with no reply to the first: seven cookies left.
    QueryCourse next(network, UtcZone, sessions, network.kisses);
    ASSERT_EQ(QueryStatus::Waiting, next.Start("nts:127.0.0.1:10460"));
    EXPECT_FALSE(next.KeyExchangeUnderWay());
    EXPECT_EQ(2u, network.keyExchanges.size());
    EXPECT_EQ(6u, sessions.Find("127.0.0.1", 10460)->cookies.size());
    network.datagram = NtsReplyTo(network, false);
    EXPECT_EQ(QueryStatus::Answered, next.OnReadable());
    EXPECT_EQ(7u, sessions.Find("127.0.0.1", 10460)->cookies.size());
}

// A key exchange server given by name is looked up like any server first, in the lookup's own
// time; the exchange then goes to its addresses, each at the key exchange port. A name without an
// address is 接続先不明, as for any server.
TEST(QueryCourse, AnNtsServersNameIsLookedUpBeforeItsKeyExchange)
{
    const struct {
        const char* what;
        int error;
        std::vector<NetAddress> addresses;
        int waitMs;  // passed before the lookup's end comes
        QueryStatus status;
    } cases[] = {
        {"two addresses", 0, {V4(5), V6(6)}, 0, QueryStatus::Waiting},
        {"no such name", 11001, {}, 0, QueryStatus::UnknownServer},
        {"no address", 0, {}, 0, QueryStatus::UnknownServer},
        {"the name server too slow", 0, {V4(5)}, 5001, QueryStatus::UnknownServer},
    };
    for (const auto& c : cases) {
        ScriptedNetwork network;
        NtsSessions sessions;
        QueryCourse course(network, UtcZone, sessions);
        ASSERT_EQ(QueryStatus::Waiting, course.Start("nts:time.example:4461")) << c.what;
        EXPECT_EQ(77u, course.Lookup()) << c.what;
        EXPECT_FALSE(course.KeyExchangeUnderWay()) << c.what << ": only the lookup runs";
        EXPECT_EQ(kLookupLimitMs, network.waitMs) << c.what;
        QueryStatus status = QueryStatus::Waiting;
        if (c.waitMs > 0) {
            network.Pass(c.waitMs);
            status = course.OnWaitOver();
        } else {
            status = course.OnLookupDone(77, c.error, c.addresses);
        }
        EXPECT_EQ(c.status, status) << c.what;
        if (status != QueryStatus::Waiting) {
            EXPECT_TRUE(network.keyExchanges.empty()) << c.what;
            continue;
        }
        EXPECT_TRUE(course.KeyExchangeUnderWay()) << c.what;
        EXPECT_EQ(kKeyExchangeLimitMs, network.waitMs) << c.what;
        ASSERT_EQ((std::vector<std::string>{"time.example:4461"}), network.keyExchanges) << c.what;
        ASSERT_EQ(2u, network.keyExchangeAddresses.size()) << c.what;
        EXPECT_EQ(NetAddress::Family::V6, network.keyExchangeAddresses[1].family) << c.what;
        EXPECT_EQ(4461, network.keyExchangeAddresses[1].port) << c.what;
        EXPECT_EQ(QueryStatus::Waiting, course.OnLookupDone(77, 0, {V4(7)})) << c.what << ": the lookup's end again";
        EXPECT_EQ(1u, network.keyExchanges.size()) << c.what;
    }
}

// A failed key exchange says why: no connection, a certificate refused, or the exchange itself.
TEST(QueryCourse, AFailedKeyExchangeSaysWhy)
{
    const struct {
        NtsKeFailure failure;
        QueryStatus status;
    } cases[] = {
        {NtsKeFailure::NoAddress, QueryStatus::UnknownServer},
        {NtsKeFailure::NoConnection, QueryStatus::NtsNoConnection},
        {NtsKeFailure::Certificate, QueryStatus::NtsCertificateRefused},
        {NtsKeFailure::Handshake, QueryStatus::NtsKeyExchangeFailed},
        {NtsKeFailure::Alpn, QueryStatus::NtsKeyExchangeFailed},
        {NtsKeFailure::TimedOut, QueryStatus::NtsKeyExchangeFailed},
        {NtsKeFailure::Closed, QueryStatus::NtsKeyExchangeFailed},
        {NtsKeFailure::Response, QueryStatus::NtsKeyExchangeFailed},
        {NtsKeFailure::TlsSetup, QueryStatus::NtsKeyExchangeFailed},
        {NtsKeFailure::KeyExport, QueryStatus::NtsKeyExchangeFailed},
    };
    for (const auto& c : cases) {
        ScriptedNetwork network;
        NtsSessions sessions;
        QueryCourse course(network, UtcZone, sessions);
        ASSERT_EQ(QueryStatus::Waiting, course.Start("nts:127.0.0.1"));
        NtsKeyExchangeResult result = KeyExchangeResult(false);
        result.failure = c.failure;
        EXPECT_EQ(c.status, course.OnKeyExchangeDone(89, result)) << static_cast<int>(c.failure);
        EXPECT_TRUE(network.sent.empty());
    }
    ScriptedNetwork network;
    NtsSessions sessions;
    QueryCourse course(network, UtcZone, sessions);
    ASSERT_EQ(QueryStatus::Waiting, course.Start("nts:127.0.0.1"));
    NtsKeyExchangeResult noCookies = KeyExchangeResult();
    noCookies.response.cookies.clear();
    EXPECT_EQ(QueryStatus::NtsKeyExchangeFailed, course.OnKeyExchangeDone(89, noCookies)) << "keys but no cookies";
}

// Each sample of an NTS server goes with a cookie and a Unique Identifier of its own; a NAK ends
// the sampling, the samples before it counting, and the next query starts with a key exchange.
TEST(QueryCourse, EachNtsSampleHasItsOwnCookieAndIdentifier)
{
    const struct {
        const char* what;
        std::vector<int> replies;  // 0 authentic, 1 tag altered, 2 NTS NAK
        size_t requests;
        size_t cookiesAfter;
    } cases[] = {
        {"three authentic", {0, 0, 0}, 3, kNtsMaxCookies},
        {"an altered tag in between is no sample", {0, 1, 0, 0}, 3, kNtsMaxCookies},
        {"a NAK after one", {0, 2}, 2, 0},
    };
    for (const auto& c : cases) {
        ScriptedNetwork network;
        NtsSessions sessions;
        QueryCourse course(network, UtcZone, sessions, network.kisses);
        ASSERT_EQ(QueryStatus::Waiting, course.Start("nts:127.0.0.1", 3)) << c.what;
        QueryStatus status = course.OnKeyExchangeDone(89, KeyExchangeResult());
        std::vector<std::vector<uint8_t>> requests;
        for (const int reply : c.replies) {
            ASSERT_EQ(QueryStatus::Waiting, status) << c.what;
            if (requests.empty() || requests.back() != network.lastRequest) {
                requests.push_back(network.lastRequest);
            }
            network.datagram = NtsReplyTo(network, reply == 1, reply == 2);
            status = course.OnReadable();
            if (status == QueryStatus::Waiting && reply == 0) {
                network.Pass(static_cast<int>(kSampleSpacingMs));
                status = course.OnWaitOver();
            }
        }
        EXPECT_EQ(QueryStatus::Answered, status) << c.what;
        EXPECT_TRUE(course.Answer().authenticated) << c.what;
        EXPECT_EQ(c.requests, network.sent.size()) << c.what;
        EXPECT_EQ(1u, network.keyExchanges.size()) << c.what;
        EXPECT_EQ(c.cookiesAfter, sessions.Find("127.0.0.1", 4460)->cookies.size()) << c.what;
        for (size_t i = 1; i < requests.size(); ++i) {
            std::vector<ExtensionField> before;
            std::vector<ExtensionField> after;
            ReadExtensionFields(requests[i - 1].data(), requests[i - 1].size(), 48, &before);
            ReadExtensionFields(requests[i].data(), requests[i].size(), 48, &after);
            for (size_t field = 0; field < 2; ++field) {  // the Unique Identifier, then the cookie
                EXPECT_FALSE(before[field].bodySize == after[field].bodySize &&
                             std::memcmp(before[field].body, after[field].body, after[field].bodySize) == 0)
                    << c.what << ", request " << i << ", field " << field;
            }
        }
    }
}

}  // namespace

// A query's course against a scripted network: the steps it takes, what ends it, and what it leaves
// open, without a socket.
#include "sync/query_course.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fixed_zones.h"

namespace {

constexpr uint32_t kServer = 0x0100007F;  // 127.0.0.1 in network byte order

class ScriptedNetwork : public QueryNetwork {
public:
    bool OpenSocket() override { return open = socketWorks; }
    bool WatchSocket() override { return watchWorks; }
    void CloseSocket() override { open = false; }
    bool DottedAddress(const std::string& host, uint32_t* address) override
    {
        *address = kServer;
        return host == "127.0.0.1";
    }
    bool StartLookup(const std::string&, uintptr_t* lookup) override
    {
        *lookup = 77;
        return lookupStarts;
    }
    void CancelLookup(uintptr_t lookup) override { cancelled.push_back(lookup); }
    void Send(const SntpMessage& request, uint32_t, uint16_t port) override
    {
        sent.push_back(request);
        ports.push_back(port);
    }
    int Receive(uint8_t* buffer, size_t size, uint32_t, uint16_t, bool* fromServer) override
    {
        if (datagram.empty() && junkLeft == 0) {
            return -1;  // nothing (more) to read
        }
        if (datagram.empty()) {
            --junkLeft;
            std::fill(buffer, buffer + 48, 0x55);
            *fromServer = false;
            return 48;
        }
        *fromServer = datagramFromServer;
        const size_t length = datagram.size() < size ? datagram.size() : size;
        std::copy(datagram.begin(), datagram.begin() + static_cast<long>(length), buffer);
        datagram.clear();  // read once
        return static_cast<int>(length);
    }
    void StartWait(unsigned milliseconds) override { waitMs = milliseconds; }
    void StopWait() override { waitMs = 0; }
    int64_t CounterNow() override { return counter += 1000; }  // 0.1 ms a step on a 10 MHz counter
    int64_t CounterFrequency() override { return 10000000; }
    uint64_t RandomOrigin() override { return ++origin * 0x0101010101010101u; }

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

    bool socketWorks = true;
    bool watchWorks = true;
    bool lookupStarts = true;
    bool open = false;
    bool datagramFromServer = true;
    std::vector<uint8_t> datagram;
    std::vector<SntpMessage> sent;
    std::vector<uint16_t> ports;
    std::vector<uintptr_t> cancelled;
    unsigned waitMs = 0;
    int junkLeft = 0;  // datagrams from elsewhere waiting to be read
    int64_t counter = 0;
    uint64_t origin = 0;
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
        QueryCourse course(network, UtcZone);
        EXPECT_EQ(c.status, course.Start(c.address)) << c.what;
        EXPECT_EQ(c.status == QueryStatus::Waiting, network.open) << c.what << ": the socket stays only for a query";
    }
}

TEST(QueryCourse, AStaleLookupChangesNothingAndAFailedOneEndsTheQuery)
{
    ScriptedNetwork network;
    QueryCourse course(network, UtcZone);
    ASSERT_EQ(QueryStatus::Waiting, course.Start("ntp.example"));
    const uint32_t address = kServer;
    EXPECT_EQ(QueryStatus::Waiting, course.OnLookupDone(12, 0, &address)) << "another lookup's end";
    EXPECT_TRUE(network.sent.empty());
    EXPECT_EQ(QueryStatus::UnknownServer, course.OnLookupDone(77, 11001, nullptr));
    EXPECT_FALSE(network.open);
}

TEST(QueryCourse, ASilentServerIsAskedTwiceThenGivenUp)
{
    ScriptedNetwork network;
    QueryCourse course(network, UtcZone);
    ASSERT_EQ(QueryStatus::Waiting, course.Start("127.0.0.1"));
    EXPECT_EQ(QueryStatus::Waiting, course.OnWaitOver());
    ASSERT_EQ(2u, network.sent.size());
    EXPECT_NE(0, std::memcmp(network.sent[0].data() + 40, network.sent[1].data() + 40, 8)) << "a new origin value";
    EXPECT_EQ(123, network.ports[0]);
    EXPECT_EQ(QueryStatus::NoAnswer, course.OnWaitOver());
    EXPECT_FALSE(network.open);
    EXPECT_EQ(0u, network.waitMs);
    EXPECT_EQ(QueryStatus::Waiting, course.OnWaitOver()) << "a late timer after the end";
}

TEST(QueryCourse, OnlyAnAnswerToTheLatestRequestEndsIt)
{
    ScriptedNetwork network;
    QueryCourse course(network, UtcZone);
    ASSERT_EQ(QueryStatus::Waiting, course.Start("127.0.0.1"));
    network.Answer();
    const std::vector<uint8_t> answerToFirst = network.datagram;
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
    QueryCourse course(network, UtcZone);
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

TEST(QueryCourse, ANewQueryEndsTheOneUnderWay)
{
    ScriptedNetwork network;
    QueryCourse course(network, UtcZone);
    ASSERT_EQ(QueryStatus::Waiting, course.Start("ntp.example"));
    ASSERT_EQ(QueryStatus::Waiting, course.Start("127.0.0.1"));
    EXPECT_EQ((std::vector<uintptr_t>{77}), network.cancelled);
    const uint32_t address = kServer;
    EXPECT_EQ(QueryStatus::Waiting, course.OnLookupDone(77, 0, &address));
    EXPECT_EQ(1u, network.sent.size()) << "the cancelled lookup sends nothing";
}

}  // namespace

// The pipe's connections: a request within 2 s or the connection goes, one instance a process.
#include "service/service_connections.h"

#include <gtest/gtest.h>

namespace {

TEST(ServiceConnections, AConnectionWithoutARequestGoesAfterTwoSeconds)
{
    // Each step on four instances, then what is overdue and the next deadline (-1: none).
    ServiceConnections connections(4);
    const struct {
        const char* what;
        void (*step)(ServiceConnections&);
        uint64_t now;
        std::vector<size_t> overdue;
        int64_t nextDeadline;
    } steps[] = {
        {"nobody connected", [](ServiceConnections&) {}, 0, {}, -1},
        {"one connects at 1000", [](ServiceConnections& c) { EXPECT_TRUE(c.Admit(0, 11, 1000)); }, 1000, {}, 2000},
        {"another at 1500", [](ServiceConnections& c) { EXPECT_TRUE(c.Admit(1, 22, 1500)); }, 1500, {}, 1500},
        {"the first is silent 2 s", [](ServiceConnections&) {}, 3000, {0}, 0},
        {"the first closed, the second asks", [](ServiceConnections& c) { c.OnClosed(0); c.OnRequest(1); }, 3000, {},
         -1},
        {"a long round: no deadline while the answer is owed", [](ServiceConnections&) {}, 60000, {}, -1},
        {"answered at 60000: the next request by 62000", [](ServiceConnections& c) { c.OnAnswered(1, 60000); },
         61999, {}, 1},
        {"and not sent", [](ServiceConnections&) {}, 62000, {1}, 0},
    };
    for (const auto& s : steps) {
        s.step(connections);
        EXPECT_EQ(s.overdue, connections.Overdue(s.now)) << s.what;
        uint64_t next = 0;
        const bool any = connections.MsUntilNextDeadline(s.now, &next);
        EXPECT_EQ(s.nextDeadline, any ? static_cast<int64_t>(next) : -1) << s.what;
    }
}

TEST(ServiceConnections, OneInstanceAProcess)
{
    ServiceConnections connections(4);
    EXPECT_TRUE(connections.Admit(0, 7, 0));
    EXPECT_FALSE(connections.Admit(1, 7, 10)) << "the same process again";
    EXPECT_EQ(std::vector<size_t>{0}, connections.Overdue(5000)) << "the refused instance holds nothing";
    EXPECT_TRUE(connections.Admit(2, 8, 10));
    connections.OnClosed(0);
    EXPECT_TRUE(connections.Admit(1, 7, 20)) << "once its first is gone";
}

}  // namespace

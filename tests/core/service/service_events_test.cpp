// What the time service tells the Windows event log, over a run of rounds.
#include "service/service_events.h"

#include <gtest/gtest.h>

namespace {

struct RecordedEvents : ServiceEventSink {
    void Report(const ServiceEvent& event) override { events.push_back(event); }
    std::vector<ServiceEvent> events;
};

constexpr uint64_t kHour = 60 * 60 * 1000;

TEST(ServiceEvents, TroubleEveryTimeWithItsOwnIdAndASuccessOnceADay)
{
    RoundResult set;
    set.outcome = RoundOutcome::Set;
    set.rows = {{"NICT", "2026/12/09 12:00:00.0000", "2026/12/09 11:59:59.9990", "同期成功", "+0.001 秒"}};
    RoundResult silent;
    silent.rows = {{"NICT", "応答なし", "", "エラー"}, {"Pool", "応答なし", "", "エラー"}};
    RoundResult keyExchange = silent;
    keyExchange.keyExchangeFailed = true;
    RoundResult held;
    held.outcome = RoundOutcome::Held;
    RoundResult tooFew;
    tooFew.outcome = RoundOutcome::TooFew;
    RoundResult disagreed;
    disagreed.outcome = RoundOutcome::NoAgreement;
    RoundResult refused;
    refused.outcome = RoundOutcome::Refused;
    const struct {
        const RoundResult* round;
        uint64_t atMs;
        int id;  // 0: no event
        ServiceEventLevel level;
    } rounds[] = {
        {&set, 0, 100, ServiceEventLevel::Information},
        {&set, kHour, 0, {}},
        {&silent, 2 * kHour, 200, ServiceEventLevel::Error},
        {&silent, 3 * kHour, 200, ServiceEventLevel::Error},
        {&keyExchange, 4 * kHour, 202, ServiceEventLevel::Error},
        {&held, 5 * kHour, 201, ServiceEventLevel::Warning},
        {&disagreed, 6 * kHour, 203, ServiceEventLevel::Warning},
        {&tooFew, 7 * kHour, 204, ServiceEventLevel::Warning},
        {&refused, 8 * kHour, 205, ServiceEventLevel::Error},
        {&set, 24 * kHour - 1, 0, {}},
        {&set, 24 * kHour, 100, ServiceEventLevel::Information},
    };
    RecordedEvents sink;
    ServiceEvents events(sink);
    for (const auto& round : rounds) {
        const size_t before = sink.events.size();
        events.OnRoundEnded(*round.round, round.atMs);
        if (round.id == 0) {
            EXPECT_EQ(before, sink.events.size()) << round.atMs;
            continue;
        }
        ASSERT_EQ(before + 1, sink.events.size()) << round.atMs;
        EXPECT_EQ(round.id, static_cast<int>(sink.events.back().id)) << round.atMs;
        EXPECT_EQ(round.level, sink.events.back().level) << round.atMs;
        EXPECT_EQ(std::vector<std::string>{RowsText(round.round->rows)}, sink.events.back().strings);
    }
    EXPECT_EQ("NICT  応答なし  エラー\r\nPool  応答なし  エラー", RowsText(silent.rows));
}

}  // namespace

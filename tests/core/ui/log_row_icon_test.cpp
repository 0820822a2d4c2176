// A log row's picture for every kind of row the round and the service write.
#include "ui/log_row_icon.h"

#include <gtest/gtest.h>

#include "res/texts.h"

namespace {

TEST(LogRowIcon, OnlyASetClockOrAnAgreeingServerLooksFine)
{
    const CalendarTime server{2026, 12, 2, 8, 14, 35, 2, 7};
    const CalendarTime clock{2026, 12, 2, 8, 14, 35, 1, 950};
    const struct {
        LogRow row;
        RowIcon icon;
    } cases[] = {
        {ClockRow("NICT", server, 0, clock, ClockOutcome::Set), RowIcon::Set},
        {ClockRow("NICT", server, 0, clock, ClockOutcome::Set, true), RowIcon::Set},
        {ClockRow("NICT", server, 0, clock, ClockOutcome::NoRight), RowIcon::Trouble},
        {ClockRow("NICT", server, 0, clock, ClockOutcome::Failed), RowIcon::Trouble},
        {TimeRow("NICT", server, 0, clock, texts::kStatusAgreed), RowIcon::Set},
        {TimeRow("NICT", server, 0, clock, texts::kStatusHeld), RowIcon::Trouble},
        {TimeRow("NICT", server, 0, clock, texts::kStatusDisagreed), RowIcon::Trouble},
        {TimeRow("NICT", server, 0, clock, texts::kStatusUnconfirmed), RowIcon::Trouble},
        {{"[サービス] NICT", "2026/12/08 14:35:02.0007", "2026/12/08 14:35:01.0950", "同期成功"}, RowIcon::Set},
        // Handed to the service, the refused row is no trouble; nothing else is handed anything.
        {HandedToService(ClockRow("NICT", server, 0, clock, ClockOutcome::NoRight)), RowIcon::Set},
        {HandedToService(ClockRow("NICT", server, 0, clock, ClockOutcome::Failed)), RowIcon::Trouble},
        {HandedToService(TimeRow("NICT", server, 0, clock, texts::kStatusHeld)), RowIcon::Trouble},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.icon, IconOfRow(c.row)) << c.row.status;
    }
    // Every failure of a query, whatever its reason.
    for (const QueryStatus status : {QueryStatus::UnknownServer, QueryStatus::SocketFailed, QueryStatus::NotifyFailed,
                                     QueryStatus::NoAnswer, QueryStatus::Denied, QueryStatus::RateLimited,
                                     QueryStatus::NtsNoConnection, QueryStatus::NtsCertificateRefused,
                                     QueryStatus::NtsKeyExchangeFailed}) {
        LogRow row;
        ASSERT_TRUE(FailureRow("NICT", status, &row));
        EXPECT_EQ(RowIcon::Trouble, IconOfRow(row)) << row.serverTime;
    }
}

}  // namespace

// The texts of a log row for each way a synchronisation can end, and automatic mode's exit codes.
#include "round/log_rows.h"

#include <gtest/gtest.h>

namespace {

TEST(LogRows, EveryFailureHasItsText)
{
    const struct {
        QueryStatus status;
        const char* serverTime;
    } cases[] = {
        {QueryStatus::UnknownServer, "接続先不明"},
        {QueryStatus::SocketFailed, "TCP/IPエラー"},
        {QueryStatus::NotifyFailed, "初期化エラー"},
        {QueryStatus::NoAnswer, "応答なし"},
        {QueryStatus::Denied, "アクセス拒否"},
        {QueryStatus::RateLimited, "要求過多"},
        {QueryStatus::NtsNoConnection, "NTS 接続失敗"},
        {QueryStatus::NtsCertificateRefused, "NTS 証明書エラー"},
        {QueryStatus::NtsKeyExchangeFailed, "NTS 鍵交換失敗"},
    };
    for (const auto& c : cases) {
        LogRow row;
        ASSERT_TRUE(FailureRow("NICT", c.status, &row)) << c.serverTime;
        EXPECT_EQ("NICT", row.server);
        EXPECT_EQ(c.serverTime, row.serverTime);
        EXPECT_EQ("", row.localTime);
        EXPECT_EQ("エラー", row.status);
        EXPECT_EQ(c.serverTime, RowOutcome(row)) << "the tip and the service's line say what went wrong";
    }
    LogRow row;
    EXPECT_FALSE(FailureRow("NICT", QueryStatus::Waiting, &row));
    EXPECT_FALSE(FailureRow("NICT", QueryStatus::Answered, &row));
    EXPECT_FALSE(FailureRow("NICT", QueryStatus::KissedAway, &row)) << "its kiss had its row";
    EXPECT_EQ("同期成功", RowOutcome({"NICT", "2026/12/09 12:00:00.0000", "2026/12/09 12:00:00.0010", "同期成功"}));
}

TEST(LogRows, OnlyAMissingRightIsARightsError)
{
    const CalendarTime set{2026, 12, 2, 8, 14, 35, 2, 7};
    const CalendarTime before{2026, 12, 2, 8, 14, 35, 1, 950};
    const struct {
        ClockOutcome outcome;
        const char* status;
        int exitCode;
    } cases[] = {
        {ClockOutcome::Set, "同期成功", 0},
        {ClockOutcome::NoRight, "権限エラー", 1},
        {ClockOutcome::Failed, "エラー", 1},
    };
    for (const auto& c : cases) {
        const LogRow row = ClockRow("NICT", set, 0, before, c.outcome);
        EXPECT_EQ("2026/12/08 14:35:02.0007", row.serverTime);
        EXPECT_EQ("2026/12/08 14:35:01.0950", row.localTime);
        EXPECT_EQ(c.status, row.status);
        EXPECT_EQ("+0.057 秒", row.correction);
        EXPECT_EQ(c.exitCode, AutomaticExitCode(c.outcome));
    }
}

}  // namespace

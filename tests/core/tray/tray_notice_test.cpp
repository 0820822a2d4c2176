// The tray's warning icon and balloons over a run of rounds, and the tip's words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/texts.h"
#include "tray/tray_tip.h"
#include "round/log_rows.h"
#include "tray/tray_notice.h"

namespace {

TEST(TrayNotices, TheIconWarnsWhileRoundsFailAndEachKindInARowIsToldOnceWithItsReason)
{
    const std::string unknown = "前回の同期: 12:00:05 接続先不明";
    const std::string noRight = "前回の同期: 12:01:05 権限エラー";
    struct Round {
        RoundOutcome outcome;
        bool lacksRight;
        std::string lastSync;
        bool trouble;
        std::string balloon;
    };
    const std::vector<Round> rounds = {
        {RoundOutcome::Set, false, "", false, ""},
        {RoundOutcome::NoAnswer, false, unknown, true, unknown + "\n" + texts::kBalloonNoAnswer},
        {RoundOutcome::NoAnswer, false, unknown, true, ""},  // the same failure again: no second balloon
        {RoundOutcome::NoServers, false, "", true, ""},  // nobody asked: nothing changes
        {RoundOutcome::NoAnswer, false, unknown, true, ""},
        {RoundOutcome::Refused, true, noRight, true, noRight + "\n" + texts::kBalloonNoRight},  // another kind
        {RoundOutcome::Refused, false, "", true, texts::kBalloonRefused},  // no line: the kind alone
        {RoundOutcome::Held, false, "", true, texts::kBalloonHeld},
        {RoundOutcome::NoAgreement, false, "", true, texts::kBalloonNoAgreement},
        {RoundOutcome::Set, false, "", false, ""},
        {RoundOutcome::NoAgreement, false, "", true, texts::kBalloonNoAgreement},  // told again after a good round
    };
    TrayNotices notices;
    for (size_t i = 0; i < rounds.size(); ++i) {
        const TrayNotice notice = notices.AfterRound(rounds[i].outcome, rounds[i].lacksRight, rounds[i].lastSync);
        EXPECT_EQ(rounds[i].trouble, notice.trouble) << "round " << i;
        EXPECT_EQ(rounds[i].balloon, notice.balloon) << "round " << i;
    }
}

TEST(TrayTip, NamesTheLastRowsReasonNotItsStatus)
{
    LogRow unknown;
    ASSERT_TRUE(FailureRow("NICT", QueryStatus::UnknownServer, &unknown));
    LogRow timeout;
    ASSERT_TRUE(FailureRow("NICT", QueryStatus::NoAnswer, &timeout));
    const struct {
        LogRow row;
        const char* tip;
    } cases[] = {
        {unknown, "Tempivo\n前回の同期: 12:00:05 接続先不明"},
        {timeout, "Tempivo\n前回の同期: 12:00:05 応答なし"},
        {{"NICT", "2026/12/09 12:00:05.0000", "2026/12/09 12:00:05.0010", "同期成功"},
         "Tempivo\n前回の同期: 12:00:05 同期成功"},
        {{"NICT", "2026/12/09 12:00:05.0000", "2026/12/09 12:00:05.0010", "権限エラー"},
         "Tempivo\n前回の同期: 12:00:05 権限エラー"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.tip, TrayTip("12:00:05", RowOutcome(c.row)));
        EXPECT_EQ(std::string(c.tip).substr(std::string("Tempivo\n").size()), LastSyncLine("12:00:05", RowOutcome(c.row)));
    }
}

}  // namespace

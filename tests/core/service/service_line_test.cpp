// The main window's line about the time service, and the tray tip that repeats it.
#include "service/service_line.h"

#include <gtest/gtest.h>

namespace {

const CalendarTime kNow{2026, 12, 3, 9, 23, 50, 0, 0};  // 23:50

ServiceView Running(int64_t toNext, int64_t sinceLast, std::vector<LogRow> rows)
{
    ServiceView view;
    view.state = ServiceState::Running;
    view.answered = true;
    view.status.kind = ServiceAnswer::Kind::Status;
    view.status.secondsToNextRound = toNext;
    view.status.secondsSinceLastRound = sinceLast;
    view.status.rows = std::move(rows);
    return view;
}

TEST(ServiceLine, SaysWhetherItRunsHowItsLastRoundEndedAndWhenTheNextIsDue)
{
    const LogRow set{"NICT", "2026/12/09 23:45:00.0000", "2026/12/09 23:44:59.9970", "同期成功", "+0.003 秒"};
    const LogRow silent{"Google", "応答なし", "", "エラー"};
    ServiceView stopped;
    stopped.state = ServiceState::Stopped;
    ServiceView unanswered;
    unanswered.state = ServiceState::Running;
    const struct {
        const char* what;
        ServiceView view;
        const char* line;
    } cases[] = {
        {"not installed: nothing new in the window", ServiceView{}, ""},
        {"stopped", stopped, "時刻設定サービス: 停止中"},
        {"running, its pipe silent", unanswered, "時刻設定サービス: 実行中  (応答なし)"},
        {"before its first round", Running(9, -1, {}), "時刻設定サービス: 実行中  次回 23:50"},
        {"after a round that set the clock", Running(3300, 300, {silent, set}),
         "時刻設定サービス: 実行中  前回 23:45 同期成功 +0.003 秒  次回 12/10 00:45"},
        {"after a round where nobody answered: the reason", Running(60, 5, {silent}),
         "時刻設定サービス: 実行中  前回 23:49 応答なし  次回 23:51"},
        {"a round due or under way", Running(0, 3600, {set}),
         "時刻設定サービス: 実行中  前回 22:50 同期成功 +0.003 秒  次回 同期中"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.line, ServiceLineText(c.view, kNow)) << c.what;
    }
}

TEST(ServiceLine, TheTipKeepsTheWindowsOwnLineAndFitsItsBytes)
{
    const std::string own = "Tempivo\n前回の同期: 2026/12/09 23:45:00 同期成功";
    EXPECT_EQ(own, TipWithServiceLine(own, ServiceView{}, kNow)) << "no service, the tip as it was";
    const ServiceView view = Running(3300, 300, {{"NICT", "a", "b", "同期成功", "+0.003 秒"}});
    const std::string full = ServiceLineText(view, kNow);
    // Whatever room the window's own part leaves, the tip fits and keeps the state and the next round.
    for (size_t ownBytes = 0; ownBytes <= kTrayTipBytes; ownBytes += 7) {
        const std::string ownPart(ownBytes, 'x');
        const std::string tip = TipWithServiceLine(ownPart, view, kNow);
        EXPECT_EQ(0u, tip.find(ownPart)) << ownBytes;
        EXPECT_TRUE(tip.size() <= kTrayTipBytes || tip == ownPart) << ownBytes;
        if (ownBytes + 1 + full.size() <= kTrayTipBytes) {
            EXPECT_EQ(ownPart + "\n" + full, tip) << "room enough: the whole line";
        } else if (tip != ownPart) {
            EXPECT_EQ(std::string::npos, tip.find("+0.003")) << "the correction goes first";
            EXPECT_NE(std::string::npos, tip.find("次回")) << ownBytes;
        }
    }
}

}  // namespace

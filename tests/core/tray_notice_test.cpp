// The tray's warning icon and balloons over a run of rounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/texts.h"
#include "ui/tray_notice.h"

namespace {

TEST(TrayNotices, TheIconWarnsWhileRoundsFailAndEachKindInARowIsToldOnce)
{
    struct Round {
        RoundOutcome outcome;
        bool lacksRight;
        bool trouble;
        const char* balloon;
    };
    const std::vector<Round> rounds = {
        {RoundOutcome::Set, false, false, nullptr},
        {RoundOutcome::NoAnswer, false, true, texts::kBalloonNoAnswer},
        {RoundOutcome::NoAnswer, false, true, nullptr},  // the same failure again: no second balloon
        {RoundOutcome::NoServers, false, true, nullptr},  // nobody asked: nothing changes
        {RoundOutcome::NoAnswer, false, true, nullptr},
        {RoundOutcome::Refused, true, true, texts::kBalloonNoRight},  // another kind
        {RoundOutcome::Refused, false, true, texts::kBalloonRefused},
        {RoundOutcome::Held, false, true, texts::kBalloonHeld},
        {RoundOutcome::NoAgreement, false, true, texts::kBalloonNoAgreement},
        {RoundOutcome::Set, false, false, nullptr},
        {RoundOutcome::NoAgreement, false, true, texts::kBalloonNoAgreement},  // told again after a good round
    };
    TrayNotices notices;
    for (size_t i = 0; i < rounds.size(); ++i) {
        const TrayNotice notice = notices.AfterRound(rounds[i].outcome, rounds[i].lacksRight);
        EXPECT_EQ(rounds[i].trouble, notice.trouble) << "round " << i;
        EXPECT_EQ(std::string(rounds[i].balloon ? rounds[i].balloon : "<none>"),
                  std::string(notice.balloon ? notice.balloon : "<none>"))
            << "round " << i;
    }
}

}  // namespace

// The tray's warning icon and balloons after each round.
#include "tray_notice.h"

#include "res/texts.h"

namespace {

// Each kind of failure its own number and text; 0 is none.
struct FailureKind {
    int kind;
    const char* text;
};

FailureKind KindOf(RoundOutcome outcome, bool lacksRight)
{
    switch (outcome) {
    case RoundOutcome::Set:
    case RoundOutcome::NoServers:  // not asked: AfterRound keeps what was
        return {0, nullptr};
    case RoundOutcome::Refused:
        return lacksRight ? FailureKind{1, texts::kBalloonNoRight} : FailureKind{2, texts::kBalloonRefused};
    case RoundOutcome::NoAnswer:
        return {3, texts::kBalloonNoAnswer};
    case RoundOutcome::Held:
        return {4, texts::kBalloonHeld};
    case RoundOutcome::NoAgreement:
        return {5, texts::kBalloonNoAgreement};
    case RoundOutcome::TooFew:
        return {6, texts::kBalloonTooFew};
    }
    return {0, nullptr};
}

}  // namespace

TrayNotice TrayNotices::AfterRound(RoundOutcome outcome, bool lacksRight, const std::string& lastSyncLine)
{
    if (outcome == RoundOutcome::NoServers) {
        return {m_lastFailure != 0, ""};
    }
    const FailureKind failure = KindOf(outcome, lacksRight);
    TrayNotice notice;
    notice.trouble = failure.kind != 0;
    if (failure.kind != 0 && failure.kind != m_lastFailure) {
        notice.balloon = lastSyncLine.empty() ? failure.text : lastSyncLine + "\n" + failure.text;
    }
    m_lastFailure = failure.kind;
    return notice;
}

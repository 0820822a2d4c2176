// The time service's line.
#include "service_line.h"

#include <cstdio>

#include "res/texts.h"

namespace {

// "13:05", or "12/10 13:05" on another day than now's.
std::string ClockText(const CalendarTime& now, int64_t secondsFromNow)
{
    const CalendarTime at = AddOffsetSeconds(now, static_cast<int32_t>(secondsFromNow));
    char text[32];
    if (at.year == now.year && at.month == now.month && at.day == now.day) {
        std::snprintf(text, sizeof text, "%02u:%02u", unsigned{at.hour}, unsigned{at.minute});
    } else {
        std::snprintf(text, sizeof text, "%u/%u %02u:%02u", unsigned{at.month}, unsigned{at.day}, unsigned{at.hour},
                      unsigned{at.minute});
    }
    return text;
}

enum class Detail { Full, WithoutCorrection, WithoutLastRound };

std::string LineText(const ServiceView& view, const CalendarTime& now, Detail detail)
{
    switch (view.state) {
    case ServiceState::NotInstalled:
        return "";
    case ServiceState::Stopped:
        return std::string(texts::kServiceLineName) + texts::kServiceLineStopped;
    case ServiceState::Running:
        break;
    }
    std::string line = std::string(texts::kServiceLineName) + texts::kServiceLineRunning;
    if (!view.answered) {
        return line + "  " + texts::kServiceLineNoAnswer;
    }
    const ServiceAnswer& status = view.status;
    // The round's last row says how it ended: the clock's row, or the last server's failure, whose
    // reason stands where a time would (it has no local time).
    if (status.secondsSinceLastRound >= 0 && !status.rows.empty() && detail != Detail::WithoutLastRound) {
        const LogRow& last = status.rows.back();
        line += std::string("  ") + texts::kServiceLineLast + " " + ClockText(now, -status.secondsSinceLastRound) +
                " " + RowOutcome(last);
        if (!last.correction.empty() && detail == Detail::Full) {
            line += " " + last.correction;
        }
    }
    line += std::string("  ") + texts::kServiceLineNext + " " +
            (status.secondsToNextRound > 0 ? ClockText(now, status.secondsToNextRound) : texts::kServiceLineDueNow);
    return line;
}

}  // namespace

std::string ServiceLineText(const ServiceView& view, const CalendarTime& now)
{
    return LineText(view, now, Detail::Full);
}

std::string TipWithServiceLine(const std::string& ownTip, const ServiceView& view, const CalendarTime& now)
{
    for (Detail detail : {Detail::Full, Detail::WithoutCorrection, Detail::WithoutLastRound}) {
        const std::string line = LineText(view, now, detail);
        if (line.empty()) {
            return ownTip;
        }
        if (ownTip.size() + 1 + line.size() <= kTrayTipBytes) {
            return ownTip + "\n" + line;
        }
    }
    return ownTip;
}

// No wild step without a second opinion: how large a correction is, whether it needs one, and the
// words that ask the user.
#pragma once

#include <cstdint>
#include <string>

#include "base/calendar_time.h"

constexpr int32_t kDefaultMaxStepSeconds = 900;

// Whether a correction is larger than the limit (seconds; 0 turns the guard off).
bool StepNeedsSecondOpinion(int64_t stepTicks, int32_t maxStepSeconds);

// "時計を 2 時間 3 分 14 秒 進めます。よろしいですか？" for a step forward (戻します backward); whole
// seconds, days for steps of a day or more, parts that are zero left out.
std::string StepQuestion(int64_t stepTicks);

// What the user is asked about: who says so, what the clock says, what it would become.
struct LargeStep {
    std::string server;
    CalendarTime clock;       // the local clock now
    CalendarTime serverTime;  // the time it would be set to, the offset included
    int64_t stepTicks;
};

// The server and both times, then StepQuestion's line; before it a hint at a wrong time zone when
// the step is within two minutes of a whole number of hours (a zone's error, not the clock's).
std::string LargeStepQuestion(const LargeStep& step);

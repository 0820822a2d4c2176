// The step limit and its question.
#include "step_guard.h"

#include "res/texts.h"
#include "base/time_text.h"

bool StepNeedsSecondOpinion(int64_t stepTicks, int32_t maxStepSeconds)
{
    if (maxStepSeconds <= 0) {
        return false;
    }
    const int64_t magnitude = stepTicks < 0 ? -stepTicks : stepTicks;
    return magnitude > int64_t{maxStepSeconds} * 10000000;
}

std::string StepQuestion(int64_t stepTicks)
{
    const int64_t magnitude = stepTicks < 0 ? -stepTicks : stepTicks;
    int64_t seconds = (magnitude + 5000000) / 10000000;
    const struct {
        int64_t size;
        const char* unit;
    } units[] = {{86400, texts::kStepDays}, {3600, texts::kStepHours}, {60, texts::kStepMinutes}, {1, texts::kStepSeconds}};
    std::string words;
    for (const auto& unit : units) {
        const int64_t count = seconds / unit.size;
        seconds %= unit.size;
        if (count > 0 || (unit.size == 1 && words.empty())) {
            words += std::to_string(count) + " " + unit.unit + " ";
        }
    }
    return texts::kStepQuestionStart + words + (stepTicks < 0 ? texts::kStepBackward : texts::kStepForward) +
           texts::kStepQuestionEnd;
}

std::string LargeStepQuestion(const LargeStep& step)
{
    const int64_t magnitude = step.stepTicks < 0 ? -step.stepTicks : step.stepTicks;
    const int64_t hour = 3600 * kTicksPerSecond;
    const int64_t fromWholeHours = (magnitude + hour / 2) % hour - hour / 2;
    const bool zoneLike = magnitude >= hour / 2 && (fromWholeHours < 0 ? -fromWholeHours : fromWholeHours) <=
                                                       120 * static_cast<int64_t>(kTicksPerSecond);
    return step.server + texts::kStepServerSays + FormatSecondsTime(step.serverTime) + "\n" + texts::kStepClockSays +
           FormatSecondsTime(step.clock) + "\n\n" + (zoneLike ? std::string(texts::kStepTimeZoneHint) + "\n\n" : "") +
           StepQuestion(step.stepTicks);
}

// The step limit and its question.
#include "step_guard.h"

#include "res/texts.h"

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

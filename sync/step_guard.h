// No wild step without a second opinion: how large a correction is, whether it needs one, and the
// words that ask the user.
#pragma once

#include <cstdint>
#include <string>

constexpr int32_t kDefaultMaxStepSeconds = 900;

// Whether a correction is larger than the limit (seconds; 0 turns the guard off).
bool StepNeedsSecondOpinion(int64_t stepTicks, int32_t maxStepSeconds);

// "時計を 2 時間 3 分 14 秒 進めます。よろしいですか？" for a step forward (戻します backward); whole
// seconds, days for steps of a day or more, parts that are zero left out.
std::string StepQuestion(int64_t stepTicks);

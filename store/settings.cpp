// The settings' word rules.
#include "settings.h"

#include <cctype>

#include "base/decimal_text.h"

namespace {

constexpr int32_t kDefaultMaxStep = 900;
constexpr int64_t kMaxMaxStep = 366 * 86400;

}  // namespace

bool LogFileTurnedOn(const std::string& value)
{
    std::string word;
    for (char c : value) {
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return word != "0" && word != "off" && word != "no" && word != "false";
}

// The digits the value begins with, after blanks, read until they pass the cap (an overlong number
// then reads as one beyond it); false when it begins with no digit.
bool LeadingNumber(const std::string& value, int64_t cap, int64_t* number)
{
    const char* text = value.c_str();
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    if (*text < '0' || *text > '9') {
        return false;
    }
    int64_t read = 0;
    for (; *text >= '0' && *text <= '9' && read <= cap; ++text) {
        read = read * 10 + (*text - '0');
    }
    *number = read;
    return true;
}

int32_t MaxStepFrom(const std::string& value)
{
    int64_t seconds = 0;
    return LeadingNumber(value, kMaxMaxStep, &seconds) && seconds <= kMaxMaxStep ? static_cast<int32_t>(seconds)
                                                                                 : kDefaultMaxStep;
}

int SamplesFrom(const std::string& value)
{
    int64_t samples = 0;
    if (!LeadingNumber(value, kMaxSamples, &samples)) {
        return kDefaultSamples;
    }
    return samples < 1 ? 1 : samples > kMaxSamples ? kMaxSamples : static_cast<int>(samples);
}

int32_t NumberWithin(const std::string& text, NumberRange range)
{
    const int64_t value = ReadLeadingDecimal(text.substr(0, 11).c_str());
    return static_cast<int32_t>(value < range.minimum ? range.minimum : value > range.maximum ? range.maximum : value);
}

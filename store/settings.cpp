// The settings' word rules.
#include "settings.h"

#include <cctype>

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

int32_t MaxStepFrom(const std::string& value)
{
    const char* text = value.c_str();
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    if (*text < '0' || *text > '9') {
        return kDefaultMaxStep;
    }
    int64_t seconds = 0;
    for (; *text >= '0' && *text <= '9' && seconds <= kMaxMaxStep; ++text) {
        seconds = seconds * 10 + (*text - '0');
    }
    return seconds <= kMaxMaxStep ? static_cast<int32_t>(seconds) : kDefaultMaxStep;
}

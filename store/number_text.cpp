// Clamping of the numeric edits' texts.
#include "number_text.h"

#include <cstdio>

#include "base/decimal_text.h"

NumberEditChange NormalizeNumberText(const std::string& text, int32_t minimum, int32_t maximum)
{
    if (text.empty() || (minimum >= 0 && text == "-")) {
        return {true, "0", false};
    }
    if (text == "-") {
        return {false, text, false};
    }
    int64_t value = ReadLeadingDecimal(text.c_str());
    if (value > maximum) {
        value = maximum;
    }
    if (value < minimum) {
        value = minimum;
    }
    char normal[16];
    std::snprintf(normal, sizeof normal, "%d", static_cast<int>(value));
    return {text != normal, normal, true};
}

int32_t NumberEditValue(const std::string& text)
{
    return ClampToInt32(ReadLeadingDecimal(text.c_str()));
}

// atoi-style reading of numbers typed by users or found in files, with saturation at the limits.
#include "base/decimal_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct DecimalCase {
    const char* text;
    int64_t value;
};

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

const DecimalCase kDecimalCases[] = {
    {"", 0},
    {"42", 42},
    {"007", 7},
    {" \t\n\v\f\r7", 7},
    {"-5", -5},
    {"+5", 5},
    {"-", 0},
    {"--5", 0},
    {"+-5", 0},
    {"- 5", 0},
    {"12x", 12},
    {"1 2", 1},
    {"x12", 0},
    {"9223372036854775807", kMax},
    {"9223372036854775808", kMax},
    {"99999999999999999999999", kMax},
    {"-9223372036854775808", kMin},
    {"-9223372036854775809", kMin},
    {"4294967296", 4294967296},
};

TEST(ReadLeadingDecimal, ReadsLikeAtoiAndSaturates)
{
    for (const DecimalCase& c : kDecimalCases) {
        EXPECT_EQ(c.value, ReadLeadingDecimal(c.text)) << '"' << c.text << '"';
    }
}

TEST(ClampToInt32, KeepsTheSignedRange)
{
    EXPECT_EQ(2147483647, ClampToInt32(4294967296));
    EXPECT_EQ(2147483647, ClampToInt32(2147483647));
    EXPECT_EQ(-2147483647 - 1, ClampToInt32(-2147483649LL));
    EXPECT_EQ(-360, ClampToInt32(-360));
}

}  // namespace

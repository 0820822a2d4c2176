// What the interval and offset edits make of any text typed into them.
#include "store/number_text.h"

#include <gtest/gtest.h>

namespace {

struct NormalizeCase {
    const char* typed;
    int32_t minimum;
    int32_t maximum;
    const char* afterwards;
    int32_t value;
};

// Interval 0..360, offset -360..360.
const NormalizeCase kNormalizeCases[] = {
    {"", 0, 360, "0", 0},
    {"-", 0, 360, "0", 0},
    {"abc", 0, 360, "0", 0},
    {"12x", 0, 360, "12", 12},
    {"400", 0, 360, "360", 360},
    {"-5", 0, 360, "0", 0},
    {"007", 0, 360, "7", 7},
    {" 7", 0, 360, "7", 7},
    {"365", 0, 360, "360", 360},
    {"99999999999", 0, 360, "360", 360},   // beyond 32 bits: clamped, not wrapped
    {"-99999999999", -360, 360, "-360", -360},
    {"-", -360, 360, "-", 0},
    {"-400", -360, 360, "-360", -360},
    {"400", -360, 360, "360", 360},
    {"+5", -360, 360, "5", 5},
    {"--5", -360, 360, "0", 0},
    {"-30", -360, 360, "-30", -30},
};

TEST(NormalizeNumberText, ClampsIntoTheRange)
{
    for (const NormalizeCase& c : kNormalizeCases) {
        const NumberEditChange change = NormalizeNumberText(c.typed, c.minimum, c.maximum);
        const std::string afterwards = change.rewrite ? change.text : c.typed;
        EXPECT_EQ(c.afterwards, afterwards) << '"' << c.typed << '"';
        EXPECT_EQ(c.value, NumberEditValue(afterwards)) << '"' << c.typed << '"';
    }
}

TEST(NormalizeNumberText, LeavesNormalTextAloneSoNoChangeLoops)
{
    for (const char* normal : {"0", "7", "360", "-360", "-5"}) {
        EXPECT_FALSE(NormalizeNumberText(normal, -360, 360).rewrite) << normal;
    }
}

TEST(NormalizeNumberText, PutsTheCaretBackOnlyAfterANumber)
{
    EXPECT_TRUE(NormalizeNumberText("365", 0, 360).restoreCaret);
    EXPECT_FALSE(NormalizeNumberText("", 0, 360).restoreCaret);
    EXPECT_FALSE(NormalizeNumberText("-", 0, 360).restoreCaret);
}

}  // namespace

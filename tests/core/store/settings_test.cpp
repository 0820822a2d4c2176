// The settings' numbers without a control, as the file may hold them: SAMPLES and MAXSTEP.
#include "store/settings.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsNumbers, SamplesFromOneToEightAndMaxStepWithinAYear)
{
    const struct {
        const char* text;
        int samples;
        int32_t maxStep;
    } cases[] = {
        {"4", 4, 4},
        {"1", 1, 1},
        {"8", 8, 8},
        {" 6", 6, 6},
        {"\t3x", 3, 3},
        {"0", 1, 0},  // MAXSTEP=0 turns the limit off
        {"9", 8, 9},
        {"31622400", 8, 31622400},  // 366 days
        {"31622401", 8, 900},
        {"99999999999999999999", 8, 900},
        {"", 4, 900},
        {"-2", 4, 900},
        {"many", 4, 900},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.samples, SamplesFrom(c.text)) << "\"" << c.text << "\"";
        EXPECT_EQ(c.maxStep, MaxStepFrom(c.text)) << "\"" << c.text << "\"";
    }
}

}  // namespace

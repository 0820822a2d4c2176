// The counter's milliseconds: whole ones, truncated, at the frequencies counters run at.
#include "base/performance_counter.h"

#include <gtest/gtest.h>

namespace {

TEST(CounterToMs, CountsWholeMillisecondsAtAnyFrequency)
{
    const struct {
        int64_t counts;
        int64_t frequency;
        uint64_t ms;
    } cases[] = {
        {0, 10000000, 0},
        {9999, 10000000, 0},  // 0.9999 ms
        {10000, 10000000, 1},
        {3579545, 3579545, 1000},  // the ACPI timer: a second
        {int64_t{2400000000} * 86400 * 3650, 2400000000, uint64_t{86400} * 3650 * 1000},  // ten years at 2.4 GHz
        {1000, 1000, 1000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.ms, CounterToMs(c.counts, c.frequency)) << c.counts << " at " << c.frequency;
    }
}

}  // namespace

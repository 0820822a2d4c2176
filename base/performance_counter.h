// The platform's performance counter: the clock that times the exchange and carries the server's
// time to the moment the system clock is set, and, in milliseconds, the clock that only runs
// forward for holds, schedules and time limits.
#pragma once

#include <cstdint>

int64_t CounterNow();
int64_t CounterFrequency();

// A reading of a counter that runs at this frequency (at least 1 kHz) in milliseconds.
inline uint64_t CounterToMs(int64_t counts, int64_t frequency)
{
    return static_cast<uint64_t>(counts / (frequency / 1000));
}

// The performance counter now in milliseconds: it never runs back, and the system clock being set
// does not move it.
uint64_t NowMs();

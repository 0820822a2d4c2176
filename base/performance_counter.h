// The platform's performance counter: the clock that times the exchange and carries the server's
// time to the moment the system clock is set.
#pragma once

#include <cstdint>

int64_t CounterNow();
int64_t CounterFrequency();

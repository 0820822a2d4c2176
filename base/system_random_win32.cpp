// The system's random source through RtlGenRandom (Win32).
#include "system_random.h"

#include <windows.h>
#include <ntsecapi.h>

#include "performance_counter.h"

uint64_t SystemRandom()
{
    // Only if the system's source fails, the counter: a value another machine still cannot see.
    uint64_t value = 0;
    if (!RtlGenRandom(&value, sizeof value)) {
        value = static_cast<uint64_t>(CounterNow()) * 0x9E3779B97F4A7C15u;
    }
    return value;
}

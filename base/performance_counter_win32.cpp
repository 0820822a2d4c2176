// The performance counter through QueryPerformanceCounter (Win32).
#include "performance_counter.h"

#include <windows.h>

int64_t CounterNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t CounterFrequency()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

uint64_t NowMs()
{
    return CounterToMs(CounterNow(), CounterFrequency());
}

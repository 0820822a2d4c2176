// The time service's schedule.
#include "service_schedule.h"

ServiceSchedule::ServiceSchedule(uint64_t nowMs, int32_t intervalMinutes)
    : m_intervalMs(uint64_t{static_cast<uint32_t>(intervalMinutes > 0 ? intervalMinutes : 60)} * 60000),
      m_dueMs(nowMs + kServiceFirstRoundMs)
{
}

// Local-time conversions of fixed zones for tests, independent of the host's zone and of the core.
#pragma once

#include <cstdint>
#include <ctime>

bool UtcZone(int64_t unixSeconds, std::tm* local);
bool TokyoZone(int64_t unixSeconds, std::tm* local);   // UTC+9, no daylight saving
bool BerlinZone(int64_t unixSeconds, std::tm* local);  // UTC+1, UTC+2 from the last Sunday of March
                                                        // 01:00 UTC to the last Sunday of October 01:00 UTC

// The host's conversion of Unix seconds to local time, with its zone and daylight-saving rules.
#pragma once

#include <cstdint>
#include <ctime>

// Matches LocalTimeConversion: false for negative counts and for times the C runtime cannot convert.
// The zone is read afresh at every call.
bool HostLocalTime(int64_t unixSeconds, std::tm* local);

// The C runtime's 64-bit local-time conversion, which reaches past 2038 (Win32).
#include "host_local_time.h"

#include <time.h>

bool HostLocalTime(int64_t unixSeconds, std::tm* local)
{
    if (unixSeconds < 0) {
        return false;
    }
    // The C runtime reads the zone once and keeps it; a program that stays in the tray for days must
    // see a zone the user changed meanwhile, as the clock it sets does.
    _tzset();
    const __time64_t seconds = unixSeconds;
    const std::tm* converted = _localtime64(&seconds);
    if (converted == nullptr) {
        return false;
    }
    *local = *converted;
    return true;
}

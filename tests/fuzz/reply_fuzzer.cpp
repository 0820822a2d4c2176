// Fuzzes a received datagram: the reply check, and for usable replies the corrected time in three
// zones with every kind of offset, and its two texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sntp/ntp_time.h"
#include "sntp/sntp_message.h"
#include "base/time_text.h"
#include "../core/fixed_zones.h"

namespace {

void CheckTime(const CalendarTime& t)
{
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 59 ||
        t.milliseconds > 999 || t.dayOfWeek > 6 || t.year < 1969 || t.year > 2105) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (CheckReply(data, size) != ReplyVerdict::Usable) {
        return 0;
    }
    // The offset the user keeps is -360..360; the first two bytes pick one.
    const int32_t offset = static_cast<int32_t>((data[2] << 8 | data[3]) % 721) - 360;
    for (LocalTimeConversion zone : {UtcZone, TokyoZone, BerlinZone}) {
        CalendarTime corrected{};
        if (!CorrectedServerTime(data, offset, zone, &corrected)) {
            continue;
        }
        CheckTime(corrected);
        if (FormatServerTime(corrected, offset).size() > 26 || FormatLocalTime(corrected).size() > 26) {
            std::abort();
        }
    }
    return 0;
}

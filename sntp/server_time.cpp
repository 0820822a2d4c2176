// Turns the server's transmit timestamp into local wall-clock time through the caller's conversion.
#include "server_time.h"

#include "path_delay.h"

bool ReplyToCalendarTime(uint32_t seconds, uint32_t fraction, LocalTimeConversion toLocal, CalendarTime* out)
{
    return UnixTicksToLocalTime(NtpToUnixTicks({seconds, fraction}), toLocal, out);
}

bool CorrectedLocalTime(int64_t unixTicks, int32_t offsetSeconds, LocalTimeConversion toLocal, CalendarTime* out)
{
    CalendarTime serverTime{};
    if (!UnixTicksToLocalTime(unixTicks, toLocal, &serverTime)) {
        return false;
    }
    *out = AddOffsetSeconds(serverTime, offsetSeconds);
    return true;
}

bool TimeToSet(const ServerAnswer& answer, int64_t counterNow, int64_t counterFrequency, int32_t offsetSeconds,
               LocalTimeConversion toLocal, CalendarTime* out)
{
    const int64_t now = answer.unixTicksAtReceipt + CounterToTicks(counterNow - answer.receivedAtCounter, counterFrequency);
    return CorrectedLocalTime(now, offsetSeconds, toLocal, out);
}

bool CorrectedServerTime(const uint8_t* reply, int32_t offsetSeconds, LocalTimeConversion toLocal, CalendarTime* out)
{
    return CorrectedLocalTime(NtpToUnixTicks(ReadTransmitTimestamp(reply)), offsetSeconds, toLocal, out);
}

// Turns the server's transmit timestamp into local wall-clock time through the caller's conversion.
#include "server_time.h"

#include "ntp_timestamp.h"
#include "sntp_message.h"

bool ReplyToCalendarTime(uint32_t seconds, uint32_t fraction, LocalTimeConversion toLocal, CalendarTime* out)
{
    const int64_t unixSeconds = NtpToUnixSeconds(seconds);
    std::tm local{};
    if (unixSeconds < 0 || !toLocal(unixSeconds, &local)) {
        return false;
    }
    out->year = static_cast<uint16_t>(local.tm_year + 1900);
    out->month = static_cast<uint16_t>(local.tm_mon + 1);
    out->day = static_cast<uint16_t>(local.tm_mday);
    out->hour = static_cast<uint16_t>(local.tm_hour);
    out->minute = static_cast<uint16_t>(local.tm_min);
    out->second = static_cast<uint16_t>(local.tm_sec);
    out->milliseconds = FractionToMilliseconds(fraction);
    return true;
}

bool CorrectedServerTime(NtpTimestamp transmit, int32_t offsetSeconds, LocalTimeConversion toLocal, CalendarTime* out)
{
    CalendarTime serverTime{};
    if (!ReplyToCalendarTime(transmit.seconds, transmit.fraction, toLocal, &serverTime)) {
        return false;
    }
    *out = AddOffsetSeconds(serverTime, offsetSeconds);
    return true;
}

bool CorrectedServerTime(const uint8_t* reply, int32_t offsetSeconds, LocalTimeConversion toLocal, CalendarTime* out)
{
    return CorrectedServerTime(ReadTransmitTimestamp(reply), offsetSeconds, toLocal, out);
}

// The order of the checks matters only for the verdict's name: any failure drops the datagram.
#include "reply_acceptance.h"

#include "sntp_message.h"

DatagramVerdict JudgeDatagram(bool fromServerAsked, const uint8_t* datagram, size_t length,
                              LocalTimeConversion toLocal)
{
    // Only the server asked may set the clock; anyone else on the network could send a datagram.
    if (!fromServerAsked) {
        return DatagramVerdict::FromElsewhere;
    }
    if (CheckReply(datagram, length) != ReplyVerdict::Usable) {
        return DatagramVerdict::Unusable;
    }
    const NtpTimestamp transmit = ReadTransmitTimestamp(datagram);
    CalendarTime local{};
    if (!ReplyToCalendarTime(transmit.seconds, transmit.fraction, toLocal, &local)) {
        return DatagramVerdict::NoLocalTime;
    }
    return DatagramVerdict::Answer;
}

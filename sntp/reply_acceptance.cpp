// The order of the checks matters only for the verdict's name: any failure drops the datagram.
#include "reply_acceptance.h"

#include "sntp_message.h"

DatagramVerdict JudgeDatagram(bool fromServerAsked, uint64_t origin, const uint8_t* datagram, size_t length,
                              LocalTimeConversion toLocal)
{
    // Only the server asked may set the clock; anyone else on the network could send a datagram.
    if (!fromServerAsked) {
        return DatagramVerdict::FromElsewhere;
    }
    // RFC 5905 section 7.4, before the time checks: a kiss may carry no time at all.
    const KissCode kiss = ReadKissCode(datagram, length);
    if (kiss == KissCode::Deny || kiss == KissCode::Rate) {
        if (ReadOriginateTimestamp(datagram).Value() != origin) {
            return DatagramVerdict::NotOurs;
        }
        return kiss == KissCode::Deny ? DatagramVerdict::KissDeny : DatagramVerdict::KissRate;
    }
    if (CheckReply(datagram, length) != ReplyVerdict::Usable) {
        return DatagramVerdict::Unusable;
    }
    // RFC 4330 section 5: the originate timestamp must be what the request carried, or the reply
    // answers some other request (an old one, or one a spoofer guessed at).
    if (ReadOriginateTimestamp(datagram).Value() != origin) {
        return DatagramVerdict::NotOurs;
    }
    const NtpTimestamp transmit = ReadTransmitTimestamp(datagram);
    CalendarTime local{};
    if (!ReplyToCalendarTime(transmit.seconds, transmit.fraction, toLocal, &local)) {
        return DatagramVerdict::NoLocalTime;
    }
    return DatagramVerdict::Answer;
}

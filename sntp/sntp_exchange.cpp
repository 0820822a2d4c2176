// The exchange's rules in one place; the query supplies the socket, the random values and the
// readings of the counter and the clock. The order of the checks matters only for the verdict's
// name: any failure drops the datagram.
#include "sntp_exchange.h"

namespace {

// The checks on the reply's bytes, before its time is read.
DatagramVerdict CheckDatagram(bool fromServerAsked, uint64_t origin, const uint8_t* datagram, size_t length)
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
    return DatagramVerdict::Answer;
}

}  // namespace

SntpMessage SntpExchange::NextRequest(uint64_t origin, int64_t sentAtCounter)
{
    m_origin = origin;
    m_sentAtCounter = sentAtCounter;
    ++m_requestsSent;
    return BuildRequest(origin);
}

SntpReading SntpExchange::Judge(bool fromServerAsked, const uint8_t* datagram, size_t length, const Receipt& receipt,
                                LocalTimeConversion toLocal) const
{
    SntpReading reading;
    reading.verdict = CheckDatagram(fromServerAsked, m_origin, datagram, length);
    if (reading.verdict != DatagramVerdict::Answer) {
        return reading;
    }
    // The reply's fields are read once; what follows is arithmetic on them.
    const NtpTimestamp receive = ReadReceiveTimestamp(datagram);
    const NtpTimestamp transmit = ReadTransmitTimestamp(datagram);
    reading.answer.stratum = ReadStratum(datagram);
    reading.answer.referenceId = ReadReferenceId(datagram);
    CalendarTime local{};
    if (!ReplyToCalendarTime(transmit.seconds, transmit.fraction, toLocal, &local)) {
        reading.verdict = DatagramVerdict::NoLocalTime;
        return reading;
    }
    const int64_t roundTrip = CounterToTicks(receipt.counter - m_sentAtCounter, receipt.counterFrequency);
    reading.pathDelayTicks = PathDelayTicks(roundTrip, receive, transmit);
    reading.answer.unixTicksAtReceipt = ServerTimeAtReceipt(transmit, reading.pathDelayTicks);
    reading.answer.receivedAtCounter = receipt.counter;
    reading.answer.clockAtReceipt = receipt.clock;
    return reading;
}

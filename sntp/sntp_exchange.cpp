// The exchange's rules in one place; the query supplies the socket, the random values and the counter.
#include "sntp_exchange.h"

#include "path_delay.h"

SntpMessage SntpExchange::NextRequest(uint64_t origin, int64_t sentAtCounter)
{
    m_origin = origin;
    m_sentAtCounter = sentAtCounter;
    ++m_requestsSent;
    return BuildRequest(origin);
}

DatagramVerdict SntpExchange::Judge(bool fromServerAsked, const uint8_t* datagram, size_t length,
                                    LocalTimeConversion toLocal) const
{
    return JudgeDatagram(fromServerAsked, m_origin, datagram, length, toLocal);
}

int64_t SntpExchange::ServerTimeAtReceipt(const uint8_t* reply, int64_t receivedAtCounter,
                                          int64_t counterFrequency) const
{
    // The reply's share of the path is half of it.
    return NtpToUnixTicks(ReadTransmitTimestamp(reply)) + PathDelayTicks(reply, receivedAtCounter, counterFrequency) / 2;
}

int64_t SntpExchange::PathDelayTicks(const uint8_t* reply, int64_t receivedAtCounter, int64_t counterFrequency) const
{
    const int64_t roundTrip = CounterToTicks(receivedAtCounter - m_sentAtCounter, counterFrequency);
    return TravelTicks(roundTrip, HoldTicks(ReadReceiveTimestamp(reply), ReadTransmitTimestamp(reply)));
}

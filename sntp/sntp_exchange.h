// One exchange with a time server, free of sockets and clocks: the requests it sends (each with a
// fresh origin value the reply must echo, RFC 4330 section 5), the time-out rule (one more request,
// then no answer), which datagram answers, and the server's time when the answer arrived.
#pragma once

#include <cstddef>
#include <cstdint>

#include "reply_acceptance.h"
#include "sntp_message.h"

constexpr int kRequestsPerQuery = 2;      // the first, and once more after a silence
constexpr unsigned kReplyWaitMs = 2000;   // how long each request waits for its answer

class SntpExchange {
public:
    // The request to send now. The origin value must be fresh and random; a reply to an earlier
    // request of this exchange no longer counts once a new one is sent. The performance counter
    // reading at the send starts the round trip.
    SntpMessage NextRequest(uint64_t origin, int64_t sentAtCounter);

    // After a request has waited kReplyWaitMs in vain: whether one more may go out.
    bool MaySendAgain() const { return m_requestsSent < kRequestsPerQuery; }
    int RequestsSent() const { return m_requestsSent; }

    // Whether a received datagram answers the latest request.
    DatagramVerdict Judge(bool fromServerAsked, const uint8_t* datagram, size_t length,
                          LocalTimeConversion toLocal) const;

    // The server's time (100 ns ticks since 1970 UTC) at the moment its answer arrived: the transmit
    // time plus the reply's share of the path.
    int64_t ServerTimeAtReceipt(const uint8_t* reply, int64_t receivedAtCounter, int64_t counterFrequency) const;
    // The answer's path delay: the round trip less the time the server held the request, never
    // below zero. Of several samples, the one with the least is trusted.
    int64_t PathDelayTicks(const uint8_t* reply, int64_t receivedAtCounter, int64_t counterFrequency) const;

private:
    uint64_t m_origin = 0;
    int64_t m_sentAtCounter = 0;
    int m_requestsSent = 0;
};

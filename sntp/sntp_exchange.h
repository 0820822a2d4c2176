// One exchange with a time server, free of sockets and clocks: the requests it sends (each with a
// fresh origin value the reply must echo, RFC 4330 section 5), the time-out rule (one more request,
// then no answer), which datagram answers, and what an answer measures.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ntp_time.h"
#include "sntp_message.h"

constexpr int kRequestsPerQuery = 2;      // the first, and once more after a silence
constexpr unsigned kReplyWaitMs = 2000;   // how long each request waits for its answer

// Which received datagram answers a query: the rest are read, dropped, and waited past.
enum class DatagramVerdict {
    Answer,         // the clock may be set from it
    FromElsewhere,  // not from the address and port the request went to
    NotOurs,        // its originate timestamp is not the latest request's origin value
    Unusable,       // fails the reply checks (too short, no time, unsynchronised, an informing kiss)
    NoLocalTime,    // its time has no local conversion (before 1970)
    KissDeny,       // the server asked refuses this client (kiss codes DENY and RSTR)
    KissRate,       // the server asked wants to be asked less often (kiss code RATE)
};

// A received datagram as the exchange reads it: its verdict and, for an answer, what it measures.
struct SntpReading {
    DatagramVerdict verdict = DatagramVerdict::Unusable;
    // The server's time at the receipt, the counter and clock then, the reply's stratum and
    // reference identifier; who sent it and whether it was authenticated are the caller's to say.
    ServerAnswer answer{};
    int64_t pathDelayTicks = 0;  // the round trip less the server's hold
};

class SntpExchange {
public:
    // The request to send now. The origin value must be fresh and random; a reply to an earlier
    // request of this exchange no longer counts once a new one is sent. The performance counter
    // reading at the send starts the round trip.
    SntpMessage NextRequest(uint64_t origin, int64_t sentAtCounter);

    // After a request has waited kReplyWaitMs in vain: whether one more may go out.
    bool MaySendAgain() const { return m_requestsSent < kRequestsPerQuery; }
    int RequestsSent() const { return m_requestsSent; }

    // A datagram received at this moment. It answers only when it comes from the server asked,
    // echoes the origin value of the latest request, passes the reply checks and its transmit time
    // converts to local time. A kiss of the server asked counts when it echoes the origin value
    // too: nobody else can make a server fall silent for this client.
    SntpReading Judge(bool fromServerAsked, const uint8_t* datagram, size_t length, const Receipt& receipt,
                      LocalTimeConversion toLocal) const;

private:
    uint64_t m_origin = 0;
    int64_t m_sentAtCounter = 0;
    int m_requestsSent = 0;
};

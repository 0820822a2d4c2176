// Which received datagram answers a query: the rest are read, dropped, and waited past.
#pragma once

#include <cstddef>
#include <cstdint>

#include "server_time.h"

enum class DatagramVerdict {
    Answer,         // the clock may be set from it
    FromElsewhere,  // not from the address and port the request went to
    NotOurs,        // its originate timestamp is not the latest request's origin value
    Unusable,       // fails the reply checks (too short, no time, unsynchronised, an informing kiss)
    NoLocalTime,    // its time has no local conversion (before 1970)
    KissDeny,       // the server asked refuses this client (kiss codes DENY and RSTR)
    KissRate,       // the server asked wants to be asked less often (kiss code RATE)
};

// A datagram answers only when it comes from the server asked, echoes the origin value of the
// latest request, passes the reply checks and its transmit time converts to local time. A kiss of
// the server asked counts when it echoes the origin value too: nobody else can make a server
// fall silent for this client.
DatagramVerdict JudgeDatagram(bool fromServerAsked, uint64_t origin, const uint8_t* datagram, size_t length,
                              LocalTimeConversion toLocal);

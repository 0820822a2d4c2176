// How a query to a time server stands: still waiting, answered, or why no answer can come; and how
// it ended, with the server's time when it was answered.
#pragma once

#include "sntp/ntp_time.h"

enum class QueryStatus {
    Waiting,        // a request or a host lookup is under way; the answer comes as a message
    Answered,       // a usable reply came from the server asked
    UnknownServer,  // no address to ask, or the host name (an NTS server's too) did not resolve in its time
    SocketFailed,   // the UDP socket could not be made
    NotifyFailed,   // the socket's notifications could not be asked for
    NoAnswer,       // no usable reply came from any of its addresses, nor to the requests sent again
    Denied,         // the server refuses this client (kiss codes DENY, RSTR): never asked again
    RateLimited,    // the server is asked too often (kiss code RATE): left alone for a while
    NtsNoConnection,  // NTS: the key exchange server took no connection (refused, unreachable, silent)
    NtsCertificateRefused,  // NTS: the server's certificate is not trusted, out of date or for another name
    NtsKeyExchangeFailed,  // NTS: no keys and cookies from the key exchange, or none the server took
    KissedAway,     // every address of the server sent a kiss that keeps it away still, or had its round's
                    // share of requests (under another name): not asked, no row
};

// What a query said after an event: its status, and with Answered the best of its samples.
struct QueryResult {
    QueryStatus status = QueryStatus::Waiting;
    ServerAnswer answer{};
};

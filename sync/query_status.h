// How a query to a time server stands: still waiting, answered, or why no answer can come.
#pragma once

enum class QueryStatus {
    Waiting,        // a request or a host lookup is under way; the answer comes as a message
    Answered,       // a usable reply came from the server asked
    UnknownServer,  // no address to ask, or the host name did not resolve
    SocketFailed,   // the UDP socket could not be made
    NotifyFailed,   // the socket's notifications could not be asked for
    NoAnswer,       // no usable reply came to the request, nor to the one sent again
};

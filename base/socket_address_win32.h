// A Winsock socket address in the NetAddress form, and back (Win32): the query's sockets and the
// key exchange's connections speak sockaddr, the rest of the program NetAddress.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include "net_address.h"

// False for a family other than IPv4 and IPv6.
bool FromSocketAddress(const sockaddr* address, NetAddress* out);
// The length of the address written.
int ToSocketAddress(const NetAddress& address, sockaddr_storage* out);

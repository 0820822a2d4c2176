// The loopback time servers started for the tests, by name: "good", "far", "silent", "chrony"...
#pragma once

#include <string>
#include <vector>

// The port of a named peer; 0 when it is not running.
int PeerPort(const std::string& name);

// "127.0.0.1:PORT" of a named peer, and "[::1]:PORT" of one that answers on IPv6.
std::string PeerAddress(const std::string& name);
std::string PeerAddress6(const std::string& name);

// The transmit fields (16 hex digits) of the requests a named peer has received so far, in order.
std::vector<std::string> PeerRequestTransmits(const std::string& name);

// A Linux path as Wine's programs see it.
std::string UnixPathAsWindows(const char* unixPath);

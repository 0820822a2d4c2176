// The loopback time servers started for the tests, by name: "good", "far", "silent", "chrony"...
#pragma once

#include <string>

// The port of a named peer; 0 when it is not running.
int PeerPort(const std::string& name);

// "127.0.0.1:PORT" of a named peer.
std::string PeerAddress(const std::string& name);

// A Linux path as Wine's programs see it.
std::string UnixPathAsWindows(const char* unixPath);

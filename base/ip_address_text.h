// IP addresses written as text, read into their bytes: the dotted IPv4 form and the text forms of
// IPv6 (RFC 4291 section 2.2). For the addresses of the server list and for the names a server's
// certificate must carry.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// "192.0.2.1": four decimal numbers up to 255, none with a leading zero (some readers, inet_addr
// among them, take "010" for octal, so such a text names no one address).
bool ReadIpv4Text(const std::string& text, std::array<uint8_t, 4>* bytes);

// Eight groups of up to four hexadecimal digits, "::" once for a run of one or more zero groups, a
// dotted IPv4 tail as the last two groups; a "%zone" after it is allowed and is no part of the bytes.
bool ReadIpv6Text(const std::string& text, std::array<uint8_t, 16>* bytes);

// The service's own security identifier, as Windows derives it from the service's name: the access
// lists of its folder and pipe grant it by this SID, which exists only once the service is
// registered with its own SID.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// "S-1-5-80-" and the five 32-bit parts of the SHA-1 of the name, upper case, in UTF-16LE (the name
// is ASCII).
std::string ServiceSidText(const std::string& serviceName);

// SHA-1 of bytes (FIPS 180-4), for the SID alone.
std::array<uint8_t, 20> Sha1(const std::string& bytes);

// Splits a server address into host and port, refusing texts that do not fit the query's buffers.
#include "server_address.h"

#include <cstring>

#include "decimal_text.h"

ServerAddress ParseServerAddress(const char* text)
{
    if (*text == '\0') {
        return {ServerAddress::Status::Empty, std::string(), -1};
    }
    const char* colon = std::strchr(text, ':');
    const size_t hostLength = colon != nullptr ? static_cast<size_t>(colon - text) : std::strlen(text);
    if (hostLength > kMaxHostBytes) {
        return {ServerAddress::Status::HostTooLong, std::string(), kNtpPort};
    }
    std::string host(text, hostLength);
    if (colon == nullptr) {
        return {ServerAddress::Status::Ok, host, kNtpPort};
    }
    const char* portText = colon + 1;
    if (std::strlen(portText) > kMaxPortTextBytes) {
        return {ServerAddress::Status::PortTooLong, host, kNtpPort};
    }
    // Seven bytes cannot leave the 32-bit range, so the value is the one atoi would give.
    return {ServerAddress::Status::Ok, host, static_cast<int32_t>(ReadLeadingDecimal(portText))};
}

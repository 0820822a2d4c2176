// Splits a server address into host and port, refusing texts that do not fit the query's buffers.
#include "server_address.h"

#include <cstring>

#include "base/decimal_text.h"
#include "base/ip_address_text.h"

namespace {

ServerAddress WithPort(std::string host, const char* portText, int32_t defaultPort)
{
    if (host.size() > kMaxHostBytes) {
        return {ServerAddress::Status::HostTooLong, std::string(), defaultPort};
    }
    if (portText == nullptr) {
        return {ServerAddress::Status::Ok, host, defaultPort};
    }
    if (std::strlen(portText) > kMaxPortTextBytes) {
        return {ServerAddress::Status::PortTooLong, host, defaultPort};
    }
    // Seven bytes cannot leave the 32-bit range, so the value is the one atoi would give.
    return {ServerAddress::Status::Ok, host, static_cast<int32_t>(ReadLeadingDecimal(portText))};
}

ServerAddress ParseHostAndPort(const char* text, int32_t defaultPort)
{
    if (*text == '[') {
        const char* close = std::strchr(text, ']');
        if (close == nullptr || (close[1] != '\0' && close[1] != ':')) {
            return {ServerAddress::Status::Malformed, std::string(), defaultPort};
        }
        return WithPort(std::string(text + 1, static_cast<size_t>(close - text - 1)),
                        close[1] == ':' ? close + 2 : nullptr, defaultPort);
    }
    if (IsIpv6Literal(text)) {
        return WithPort(text, nullptr, defaultPort);
    }
    const char* colon = std::strchr(text, ':');
    const size_t hostLength = colon != nullptr ? static_cast<size_t>(colon - text) : std::strlen(text);
    if (hostLength > kMaxHostBytes) {
        return {ServerAddress::Status::HostTooLong, std::string(), defaultPort};
    }
    return WithPort(std::string(text, hostLength), colon != nullptr ? colon + 1 : nullptr, defaultPort);
}

}  // namespace

bool IsIpv6Literal(const std::string& text)
{
    std::array<uint8_t, 16> bytes;
    return ReadIpv6Text(text, &bytes);
}

bool HasNtsPrefix(const std::string& address)
{
    const size_t prefixLength = sizeof kNtsAddressPrefix - 1;
    if (address.size() < prefixLength) {
        return false;
    }
    for (size_t i = 0; i < prefixLength; ++i) {
        const char c = address[i] >= 'A' && address[i] <= 'Z' ? static_cast<char>(address[i] - 'A' + 'a') : address[i];
        if (c != kNtsAddressPrefix[i]) {
            return false;
        }
    }
    return true;
}

std::string WithNtsPrefix(const std::string& address, bool nts)
{
    if (HasNtsPrefix(address) == nts) {
        return address;
    }
    return nts ? kNtsAddressPrefix + address : address.substr(sizeof kNtsAddressPrefix - 1);
}

ServerAddress ParseServerAddress(const char* text)
{
    if (*text == '\0') {
        return {ServerAddress::Status::Empty, std::string(), -1};
    }
    const size_t prefixLength = sizeof kNtsAddressPrefix - 1;
    if (HasNtsPrefix(text)) {
        ServerAddress address = ParseHostAndPort(text + prefixLength, kNtsKeDefaultPort);
        address.nts = true;
        return address;
    }
    return ParseHostAndPort(text, kNtpPort);
}

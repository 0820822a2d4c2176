// Splits a server address into host and port, refusing texts that do not fit the query's buffers.
#include "server_address.h"

#include <cctype>
#include <cstring>

#include "decimal_text.h"

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

bool IsDottedQuad(const std::string& text)
{
    int parts = 0;
    size_t i = 0;
    while (i <= text.size()) {
        size_t digits = 0;
        int value = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && digits < 4) {
            value = value * 10 + (text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) {
            return false;
        }
        ++parts;
        if (i == text.size()) {
            return parts == 4;
        }
        if (text[i] != '.') {
            return false;
        }
        ++i;
    }
    return false;
}

}  // namespace

bool IsIpv6Literal(const std::string& literal)
{
    std::string text = literal.substr(0, literal.find('%'));
    if (text.size() != literal.size() && text.size() + 1 == literal.size()) {
        return false;  // a "%" with no zone after it
    }
    // A dotted IPv4 tail counts as two groups.
    int groups = 0;
    const size_t lastColon = text.rfind(':');
    if (lastColon != std::string::npos && text.find('.', lastColon) != std::string::npos) {
        if (!IsDottedQuad(text.substr(lastColon + 1))) {
            return false;
        }
        text = text.substr(0, lastColon + 1) + "0";
        groups = 1;
    }
    const size_t gap = text.find("::");
    if (gap != std::string::npos && text.find("::", gap + 1) != std::string::npos) {
        return false;
    }
    size_t i = 0;
    bool expectGroup = true;
    while (i < text.size()) {
        if (i == gap) {
            i += 2;
            expectGroup = i < text.size();
            continue;
        }
        size_t digits = 0;
        while (i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            ++digits;
        }
        if (digits == 0 || digits > 4) {
            return false;
        }
        ++groups;
        expectGroup = false;
        if (i < text.size() && i != gap) {
            if (text[i] != ':' || i + 1 == text.size()) {
                return false;
            }
            ++i;
            expectGroup = true;
        }
    }
    if (expectGroup && gap == std::string::npos) {
        return false;
    }
    return gap != std::string::npos ? groups < 8 : groups == 8;
}

ServerAddress ParseServerAddress(const char* text)
{
    if (*text == '\0') {
        return {ServerAddress::Status::Empty, std::string(), -1};
    }
    const size_t prefixLength = sizeof kNtsAddressPrefix - 1;
    if (std::strncmp(text, kNtsAddressPrefix, prefixLength) == 0) {
        ServerAddress address = ParseHostAndPort(text + prefixLength, kNtsKeDefaultPort);
        address.nts = true;
        return address;
    }
    return ParseHostAndPort(text, kNtpPort);
}

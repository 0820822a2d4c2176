// Fuzzes the address text of a server row: what is asked either fits the query's buffers and is
// the text before the first colon, an IPv6 literal as a whole, or the text in brackets, after an
// "nts:" in any case that marks an NTS server; or is refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "query/server_address.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char* address = text.c_str();  // up to the first zero byte, as the list gives it
    const ServerAddress parsed = ParseServerAddress(address);
    std::string asText(address);
    if (parsed.status == ServerAddress::Status::Empty && !asText.empty()) {
        std::abort();
    }
    if (parsed.status != ServerAddress::Status::Ok) {
        return 0;
    }
    if (parsed.host.size() > kMaxHostBytes) {
        std::abort();
    }
    // "nts:" in front, in any case, and only then an NTS server.
    std::string front = asText.substr(0, sizeof kNtsAddressPrefix - 1);
    for (char& c : front) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
    }
    if (parsed.nts != (front == kNtsAddressPrefix)) {
        std::abort();
    }
    if (parsed.nts) {
        asText.erase(0, sizeof kNtsAddressPrefix - 1);
    }
    const int32_t defaultPort = parsed.nts ? kNtsKeDefaultPort : kNtpPort;
    const std::string bracketed = "[" + parsed.host + "]";
    const bool wholeLiteral = asText == parsed.host && IsIpv6Literal(parsed.host) && parsed.port == defaultPort;
    const bool beforeColon = parsed.host.find(':') == std::string::npos &&
                             asText.compare(0, parsed.host.size(), parsed.host) == 0 &&
                             (asText.size() == parsed.host.size() || asText[parsed.host.size()] == ':');
    const bool inBrackets = asText.compare(0, bracketed.size(), bracketed) == 0 &&
                            (asText.size() == bracketed.size() || asText[bracketed.size()] == ':');
    if (!wholeLiteral && !beforeColon && !inBrackets) {
        std::abort();
    }
    return 0;
}

// Fuzzes the address text of a server row: what is asked either fits the query's buffers and is
// exactly the text before the first colon, or is refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sync/server_address.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char* address = text.c_str();  // up to the first zero byte, as the list gives it
    const ServerAddress parsed = ParseServerAddress(address);
    const std::string asText(address);
    if (parsed.status == ServerAddress::Status::Empty && !asText.empty()) {
        std::abort();
    }
    if (parsed.status == ServerAddress::Status::Ok) {
        if (parsed.host.size() > kMaxHostBytes || asText.compare(0, parsed.host.size(), parsed.host) != 0 ||
            parsed.host.find(':') != std::string::npos) {
            std::abort();
        }
        if (asText.size() > parsed.host.size() && asText[parsed.host.size()] != ':') {
            std::abort();
        }
    }
    return 0;
}

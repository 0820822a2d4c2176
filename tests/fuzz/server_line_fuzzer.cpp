// Fuzzes one line of "server.data": a line either does not parse, or parses into a row whose
// written form parses back to the same row.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/server_list_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    ServerRow row{};
    if (!ParseServerLine(line, &row)) {
        return 0;
    }
    if (row.name.size() > kMaxFieldBytes || row.address.size() > kMaxFieldBytes) {
        std::abort();
    }
    std::string written = FormatServerLine(row);
    written.pop_back();  // the line end
    ServerRow again{};
    if (!ParseServerLine(written, &again) || again.ticked != row.ticked || again.name != row.name ||
        again.address != row.address) {
        std::abort();
    }
    // What the entry dialog stores can always be written and read back.
    const ServerRow typed{true, StorableField(line), StorableField(line)};
    std::string typedLine = FormatServerLine(typed);
    typedLine.pop_back();
    ServerRow typedBack{};
    if (typed.name.size() <= kMaxFieldBytes && !typed.address.empty() &&
        (!ParseServerLine(typedLine, &typedBack) || typedBack.name != typed.name ||
         typedBack.address != typed.address)) {
        std::abort();
    }
    return 0;
}

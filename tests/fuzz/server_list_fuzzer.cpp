// Fuzzes a whole "server.data": reading ends, every row fits its buffers, and the rows written out
// read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/server_list_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ServerListText text = ReadServerList(std::string(reinterpret_cast<const char*>(data), size));
    const std::vector<ServerRow>& rows = text.rows;
    for (const ServerRow& row : rows) {
        if (row.name.size() > kMaxFieldBytes || row.address.size() > kMaxFieldBytes) {
            std::abort();
        }
    }
    // The bytes the program writes: every line ended by CR LF, so a CR at the end of an address
    // stays the address's.
    const ServerListText again = ReadServerList(WriteServerList(rows));
    const std::vector<ServerRow>& back = again.rows;
    // What the program writes, it reads back whole: no backup is ever kept for its own files.
    if (!again.complete) {
        std::abort();
    }
    if (back.size() != rows.size()) {
        std::abort();
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        if (back[i].ticked != rows[i].ticked || back[i].name != rows[i].name || back[i].address != rows[i].address) {
            std::abort();
        }
    }
    return 0;
}

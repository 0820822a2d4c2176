// The entry dialog's check of the address box.
#include "server_entry.h"

#include "query/server_address.h"

bool EntryHasAddress(const std::string& typed)
{
    const std::string host = WithNtsPrefix(typed, false);
    return host.find_first_not_of(" \t\r\n") != std::string::npos;
}

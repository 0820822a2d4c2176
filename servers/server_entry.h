// What the server entry dialog accepts: a row needs an address to ask, or it would be a row that
// never synchronises (and one whose line a later start reads as nothing).
#pragma once

#include <string>

// Whether the address box holds an address: something other than blanks, with or without "nts:".
bool EntryHasAddress(const std::string& typed);

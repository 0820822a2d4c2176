// A platform error code in the system's own words, for the messages the user reads.
#pragma once

#include <cstdint>
#include <string>

// The system's text for the code, without its line end; "エラー <code>" when it has none.
std::string SystemErrorText(uint32_t error);

// Reading a number out of text the way the C runtime's atoi does, without its overflow.
#pragma once

#include <cstdint>

// Leading white space, an optional sign, then decimal digits up to the first other character; no
// digits read as 0. Beyond the 64-bit range the value sticks at the nearest limit.
int64_t ReadLeadingDecimal(const char* text);

// The value kept within the signed 32-bit range.
int32_t ClampToInt32(int64_t value);

// Random numbers from the system's generator: the origin values of requests (a spoofer on another
// machine must not guess them) and the names of temporary files.
#pragma once

#include <cstdint>

uint64_t SystemRandom();

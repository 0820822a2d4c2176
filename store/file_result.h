// The outcome of writing a file: which platform call failed, and its error code, for the traces.
#pragma once

#include <cstdint>

struct FileResult {
    bool ok;
    const char* failedCall;  // null when ok
    uint32_t error;          // the platform's error code of that call

    static FileResult Ok() { return {true, nullptr, 0}; }
    static FileResult Failure(const char* call, uint32_t code) { return {false, call, code}; }
};

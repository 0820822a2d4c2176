// Byte strings written as hexadecimal text in tests, spaces allowed for reading.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline std::vector<uint8_t> HexBytes(const std::string& text)
{
    std::vector<uint8_t> bytes;
    std::string digits;
    for (char c : text) {
        if (c != ' ') {
            digits += c;
        }
    }
    for (size_t i = 0; i + 1 < digits.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// Reading IPv4 and IPv6 addresses out of their text forms.
#include "ip_address_text.h"

#include <cctype>
#include <vector>

namespace {

// The groups of one side of "::", each a 16-bit value; a dotted IPv4 tail is allowed only at the
// very end of the address, where it stands for two groups.
bool ReadGroups(const std::string& part, bool endsTheAddress, std::vector<uint16_t>* groups)
{
    if (part.empty()) {
        return true;
    }
    size_t start = 0;
    while (true) {
        const size_t colon = part.find(':', start);
        const std::string piece = part.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        if (colon == std::string::npos && endsTheAddress && piece.find('.') != std::string::npos) {
            std::array<uint8_t, 4> v4;
            if (!ReadIpv4Text(piece, &v4)) {
                return false;
            }
            groups->push_back(static_cast<uint16_t>(v4[0] << 8 | v4[1]));
            groups->push_back(static_cast<uint16_t>(v4[2] << 8 | v4[3]));
            return true;
        }
        if (piece.empty() || piece.size() > 4) {
            return false;
        }
        unsigned value = 0;
        for (const char c : piece) {
            if (!std::isxdigit(static_cast<unsigned char>(c))) {
                return false;
            }
            value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                           ? c - '0'
                                                           : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
        }
        groups->push_back(static_cast<uint16_t>(value));
        if (colon == std::string::npos) {
            return true;
        }
        start = colon + 1;
    }
}

}  // namespace

bool ReadIpv4Text(const std::string& text, std::array<uint8_t, 4>* bytes)
{
    size_t at = 0;
    for (size_t part = 0; part < 4; ++part) {
        if (part > 0) {
            if (at >= text.size() || text[at] != '.') {
                return false;
            }
            ++at;
        }
        const size_t start = at;
        unsigned value = 0;
        while (at < text.size() && at - start < 3 && std::isdigit(static_cast<unsigned char>(text[at]))) {
            value = value * 10 + static_cast<unsigned>(text[at] - '0');
            ++at;
        }
        const size_t digits = at - start;
        if (digits == 0 || value > 255 || (digits > 1 && text[start] == '0')) {
            return false;
        }
        (*bytes)[part] = static_cast<uint8_t>(value);
    }
    return at == text.size();
}

bool ReadIpv6Text(const std::string& literal, std::array<uint8_t, 16>* bytes)
{
    const size_t percent = literal.find('%');
    if (percent != std::string::npos && percent + 1 == literal.size()) {
        return false;  // a "%" with no zone after it
    }
    const std::string text = literal.substr(0, percent);
    const size_t gap = text.find("::");
    std::vector<uint16_t> head;
    std::vector<uint16_t> tail;
    if (gap == std::string::npos) {
        if (!ReadGroups(text, true, &head) || head.size() != 8) {
            return false;
        }
    } else if (text.find("::", gap + 1) != std::string::npos || !ReadGroups(text.substr(0, gap), false, &head) ||
               !ReadGroups(text.substr(gap + 2), true, &tail) || head.size() + tail.size() > 7) {
        return false;
    }
    bytes->fill(0);
    for (size_t i = 0; i < head.size(); ++i) {
        (*bytes)[2 * i] = static_cast<uint8_t>(head[i] >> 8);
        (*bytes)[2 * i + 1] = static_cast<uint8_t>(head[i]);
    }
    for (size_t i = 0; i < tail.size(); ++i) {
        const size_t group = 8 - tail.size() + i;
        (*bytes)[2 * group] = static_cast<uint8_t>(tail[i] >> 8);
        (*bytes)[2 * group + 1] = static_cast<uint8_t>(tail[i]);
    }
    return true;
}

// SHA-1 and the service SID made from it.
#include "service_sid.h"

namespace {

uint32_t Rotate(uint32_t value, int bits)
{
    return (value << bits) | (value >> (32 - bits));
}

}  // namespace

std::array<uint8_t, 20> Sha1(const std::string& bytes)
{
    uint32_t h[5] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
    std::string message = bytes;
    const uint64_t bits = uint64_t{bytes.size()} * 8;
    message += '\x80';
    while (message.size() % 64 != 56) {
        message += '\0';
    }
    for (int shift = 56; shift >= 0; shift -= 8) {
        message += static_cast<char>(bits >> shift);
    }
    for (size_t block = 0; block < message.size(); block += 64) {
        uint32_t w[80];
        for (int i = 0; i < 16; ++i) {
            w[i] = 0;
            for (int j = 0; j < 4; ++j) {
                w[i] = (w[i] << 8) | static_cast<uint8_t>(message[block + static_cast<size_t>(i * 4 + j)]);
            }
        }
        for (int i = 16; i < 80; ++i) {
            w[i] = Rotate(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
        }
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
        for (int i = 0; i < 80; ++i) {
            uint32_t f = 0;
            uint32_t k = 0;
            if (i < 20) {
                f = (b & c) | (~b & d);
                k = 0x5A827999u;
            } else if (i < 40) {
                f = b ^ c ^ d;
                k = 0x6ED9EBA1u;
            } else if (i < 60) {
                f = (b & c) | (b & d) | (c & d);
                k = 0x8F1BBCDCu;
            } else {
                f = b ^ c ^ d;
                k = 0xCA62C1D6u;
            }
            const uint32_t next = Rotate(a, 5) + f + e + k + w[i];
            e = d;
            d = c;
            c = Rotate(b, 30);
            b = a;
            a = next;
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
        h[4] += e;
    }
    std::array<uint8_t, 20> digest{};
    for (int i = 0; i < 20; ++i) {
        digest[static_cast<size_t>(i)] = static_cast<uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
    }
    return digest;
}

std::string ServiceSidText(const std::string& serviceName)
{
    std::string utf16;
    for (char c : serviceName) {
        utf16 += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        utf16 += '\0';
    }
    const std::array<uint8_t, 20> digest = Sha1(utf16);
    std::string sid = "S-1-5-80";
    for (size_t part = 0; part < 5; ++part) {
        uint32_t value = 0;
        for (size_t byte = 0; byte < 4; ++byte) {
            value |= uint32_t{digest[part * 4 + byte]} << (8 * byte);  // little endian
        }
        sid += "-" + std::to_string(value);
    }
    return sid;
}

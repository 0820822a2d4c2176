// IPv4 and IPv6 addresses read out of their text forms, byte for byte, and the texts refused.
#include "base/ip_address_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ReadIpv4Text, FourDecimalNumbersWithoutLeadingZeros)
{
    const struct {
        const char* text;
        bool read;
        std::array<uint8_t, 4> bytes;
    } cases[] = {
        {"127.0.0.1", true, {127, 0, 0, 1}},
        {"255.255.255.255", true, {255, 255, 255, 255}},
        {"0.0.0.0", true, {0, 0, 0, 0}},
        {"192.0.2.10", true, {192, 0, 2, 10}},
        {"256.0.0.1", false, {}},
        {"010.0.0.1", false, {}},  // octal to inet_addr
        {"127.1", false, {}},
        {"127.0.0.1.", false, {}},
        {"127.0.0.01", false, {}},
        {"127.0.0.1000", false, {}},
        {"1.2.3.-4", false, {}},
        {" 1.2.3.4", false, {}},
        {"a.b.c.d", false, {}},
        {"", false, {}},
    };
    for (const auto& c : cases) {
        std::array<uint8_t, 4> bytes{};
        EXPECT_EQ(c.read, ReadIpv4Text(c.text, &bytes)) << c.text;
        if (c.read) {
            EXPECT_EQ(c.bytes, bytes) << c.text;
        }
    }
}

TEST(ReadIpv6Text, TheGroupsLandWhereTheTextPutsThem)
{
    std::array<uint8_t, 16> loopback{};
    loopback[15] = 1;
    std::array<uint8_t, 16> documentation{0x20, 0x01, 0x0d, 0xb8};
    documentation[15] = 1;
    std::array<uint8_t, 16> mapped{};
    mapped[10] = mapped[11] = 0xff;
    mapped[12] = 192;
    mapped[14] = 2;
    mapped[15] = 1;
    std::array<uint8_t, 16> counting{};
    for (uint8_t i = 0; i < 8; ++i) {
        counting[2 * i + 1] = static_cast<uint8_t>(i + 1);
    }
    std::array<uint8_t, 16> linkLocal{0xfe, 0x80};
    linkLocal[15] = 1;
    const struct {
        const char* text;
        std::array<uint8_t, 16> bytes;
    } cases[] = {
        {"::", {}},
        {"::1", loopback},
        {"0:0:0:0:0:0:0:1", loopback},
        {"2001:DB8::1", documentation},
        {"2001:db8:0:0::1", documentation},
        {"::ffff:192.0.2.1", mapped},
        {"1:2:3:4:5:6:7:8", counting},
        {"1:2:3:4:5:6::8", {0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 0, 0, 8}},
        {"fe80::1%eth0", linkLocal},
    };
    for (const auto& c : cases) {
        std::array<uint8_t, 16> bytes;
        bytes.fill(0xAA);
        ASSERT_TRUE(ReadIpv6Text(c.text, &bytes)) << c.text;
        EXPECT_EQ(c.bytes, bytes) << c.text;
    }
    std::array<uint8_t, 16> bytes;
    for (const char* refused : {"1::2:3:4:5:6:7:8", "::ffff:192.0.2.01", "1.2.3.4::", ":::1", "1:2:3:4:5:6:7:8::"}) {
        EXPECT_FALSE(ReadIpv6Text(refused, &bytes)) << refused;
    }
}

}  // namespace

// Host and port out of a server row's address text, and the texts that are refused.
#include "query/server_address.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Status = ServerAddress::Status;

struct AddressCase {
    std::string text;
    Status status;
    std::string host;
    int32_t port;
    uint16_t wirePort;
    bool nts = false;
};

TEST(ParseServerAddress, SplitsHostAndPort)
{
    const std::string longest(255, 'a');
    const std::string tooLong(256, 'a');
    const AddressCase cases[] = {
        {"ntp.nict.jp", Status::Ok, "ntp.nict.jp", 123, 123},
        {"127.0.0.1:1234", Status::Ok, "127.0.0.1", 1234, 1234},
        {"localhost:", Status::Ok, "localhost", 0, 0},
        {"localhost:abc", Status::Ok, "localhost", 0, 0},
        {"localhost:12x", Status::Ok, "localhost", 12, 12},
        {"localhost: 42", Status::Ok, "localhost", 42, 42},
        {"localhost:+42", Status::Ok, "localhost", 42, 42},
        {"localhost:-1", Status::Ok, "localhost", -1, 65535},
        {"localhost:65659", Status::Ok, "localhost", 65659, 123},
        {"localhost:1234567", Status::Ok, "localhost", 1234567, 54919},
        {"a:b:c", Status::Ok, "a", 0, 0},
        {":123", Status::Ok, "", 123, 123},
        {longest, Status::Ok, longest, 123, 123},
        {longest + ":8123", Status::Ok, longest, 8123, 8123},
        {"", Status::Empty, "", -1, 65535},
        {tooLong, Status::HostTooLong, "", 123, 123},
        {tooLong + ":1", Status::HostTooLong, "", 123, 123},
        {"localhost:12345678", Status::PortTooLong, "localhost", 123, 123},
        // IPv6: a literal alone, or in brackets with a port; a name with colons stays host:port.
        {"::1", Status::Ok, "::1", 123, 123},
        {"2001:db8::1", Status::Ok, "2001:db8::1", 123, 123},
        {"2001:db8:0:0:0:0:0:1", Status::Ok, "2001:db8:0:0:0:0:0:1", 123, 123},
        {"::ffff:127.0.0.1", Status::Ok, "::ffff:127.0.0.1", 123, 123},
        {"fe80::1%2", Status::Ok, "fe80::1%2", 123, 123},
        {"[::1]:10123", Status::Ok, "::1", 10123, 10123},
        {"[::1]", Status::Ok, "::1", 123, 123},
        {"[ntp.example]:1", Status::Ok, "ntp.example", 1, 1},
        {"[::1]10123", Status::Malformed, "", 123, 123},
        {"[::1", Status::Malformed, "", 123, 123},
        {"[::1]:12345678", Status::PortTooLong, "::1", 123, 123},
        {"2001:db8::1::2", Status::PortTooLong, "2001", 123, 123},  // not a literal: cut as always
        {"1:2:3:4:5:6:7", Status::PortTooLong, "1", 123, 123},
        // NTS: the port is the key exchange's, 4460 unless written.
        {"nts:time.cloudflare.com", Status::Ok, "time.cloudflare.com", 4460, 4460, true},
        {"nts:nts.netnod.se:4461", Status::Ok, "nts.netnod.se", 4461, 4461, true},
        {"nts:[::1]:10460", Status::Ok, "::1", 10460, 10460, true},
        {"nts:2001:db8::1", Status::Ok, "2001:db8::1", 4460, 4460, true},
        {"nts:", Status::Ok, "", 4460, 4460, true},
        {"nts:" + tooLong, Status::HostTooLong, "", 4460, 4460, true},
        {"nts:localhost:12345678", Status::PortTooLong, "localhost", 4460, 4460, true},
        {"NTS:time.cloudflare.com", Status::Ok, "time.cloudflare.com", 4460, 4460, true},  // in any case
        {"Nts:[::1]:10460", Status::Ok, "::1", 10460, 10460, true},
        {"NTS:4460", Status::Ok, "4460", 4460, 4460, true},
        {"ntsx:4460", Status::Ok, "ntsx", 4460, 4460, false},
        {"ntp.example:nts", Status::Ok, "ntp.example", 0, 0, false},
    };
    for (const AddressCase& c : cases) {
        SCOPED_TRACE(c.text);
        const ServerAddress address = ParseServerAddress(c.text.c_str());
        EXPECT_EQ(c.status, address.status);
        EXPECT_EQ(c.host, address.host);
        EXPECT_EQ(c.port, address.port);
        EXPECT_EQ(c.wirePort, address.WirePort());
        EXPECT_EQ(c.nts, address.nts);
    }
}

// The entry dialog's check box puts "nts:" in front or takes it away, whatever its case, and leaves
// an address that already is as asked alone.
TEST(WithNtsPrefix, WritesOrRemovesThePrefixOnce)
{
    const struct {
        const char* address;
        bool nts;
        const char* result;
    } cases[] = {
        {"time.cloudflare.com", true, "nts:time.cloudflare.com"},
        {"nts:time.cloudflare.com", true, "nts:time.cloudflare.com"},
        {"NTS:time.cloudflare.com", true, "NTS:time.cloudflare.com"},
        {"nts:time.cloudflare.com", false, "time.cloudflare.com"},
        {"NtS:[::1]:4460", false, "[::1]:4460"},
        {"ntp.nict.jp", false, "ntp.nict.jp"},
        {"", true, "nts:"},
        {"nts:", false, ""},
        {"nts", true, "nts:nts"},
        {"nts", false, "nts"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, WithNtsPrefix(c.address, c.nts)) << c.address << " " << c.nts;
        EXPECT_EQ(c.nts, HasNtsPrefix(WithNtsPrefix(c.address, c.nts))) << c.address << " " << c.nts;
    }
}

TEST(IsIpv6Literal, TheTextFormsOfRfc4291)
{
    const struct {
        const char* text;
        bool literal;
    } cases[] = {
        {"::", true}, {"::1", true}, {"1::", true}, {"1:2:3:4:5:6:7:8", true}, {"1:2:3:4:5:6::8", true},
        {"::ffff:192.0.2.1", true}, {"1:2:3:4:5:6:192.0.2.1", true}, {"fe80::1%eth0", true},
        {"1:2:3:4:5:6:7", false}, {"1:2:3:4:5:6:7:8:9", false}, {"1::2::3", false}, {":1", false},
        {"1:", false}, {"12345::", false}, {"g::1", false}, {"::1%", false}, {"::256.0.0.1", false},
        {"1:2:3:4:5:6:7:192.0.2.1", false}, {"localhost", false}, {"a:b:c", false}, {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.literal, IsIpv6Literal(c.text)) << c.text;
    }
}

}  // namespace

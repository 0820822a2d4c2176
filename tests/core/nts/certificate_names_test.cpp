// Which certificates are for the server named: DNS names against DNS names only, addresses against
// IP addresses only, the common name never (RFC 6125 section 6, RFC 8915 section 8.1).
#include "nts/certificate_names.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::vector<uint8_t> kLoopback4 = {127, 0, 0, 1};
const std::vector<uint8_t> kLoopback6 = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};

TEST(CertificateIsForServer, NamesAndAddressesEachAgainstTheirOwnKind)
{
    const struct {
        const char* what;
        CertificateNames names;
        const char* server;
        bool matches;
    } cases[] = {
        {"the name", {{"time.example.org"}, {}}, "time.example.org", true},
        {"case-blind, a trailing dot", {{"Time.Example.ORG."}, {}}, "TIME.example.org.", true},
        {"one of several", {{"a.example", "time.example.org"}, {}}, "time.example.org", true},
        {"another name", {{"time.example.org"}, {}}, "ntp.example.org", false},
        {"no names at all: a certificate with a common name only", {}, "time.example.org", false},
        {"the address as a DNS name is no address", {{"127.0.0.1", "*.0.0.1"}, {}}, "127.0.0.1", false},
        {"the address", {{}, {kLoopback4}}, "127.0.0.1", true},
        {"another address", {{}, {{127, 0, 0, 2}}}, "127.0.0.1", false},
        {"an IPv6 address", {{}, {kLoopback6}}, "::1", true},
        {"an IPv6 address written longhand, with a zone", {{}, {kLoopback6}}, "0:0:0:0:0:0:0:1%1", true},
        {"IPv4 bytes are no IPv6 address", {{}, {kLoopback4}}, "::127.0.0.1", false},
        {"a name among addresses", {{"localhost"}, {kLoopback4}}, "localhost", true},
        {"a name is never matched by an address", {{}, {kLoopback4}}, "localhost", false},
        {"wildcard: the first label", {{"*.example.org"}, {}}, "time.example.org", true},
        {"wildcard: never two labels", {{"*.example.org"}, {}}, "a.time.example.org", false},
        {"wildcard: never the bare domain", {{"*.example.org"}, {}}, "example.org", false},
        {"wildcard: never over a public suffix alone", {{"*.org"}, {}}, "example.org", false},
        {"wildcard: only as a whole first label", {{"t*.example.org"}, {}}, "time.example.org", false},
        {"wildcard: only first", {{"time.*.org"}, {}}, "time.example.org", false},
        {"a star is no name", {{"*"}, {}}, "localhost", false},
        {"digits the system reads as an address", {{"127.1"}, {kLoopback4}}, "127.1", false},
        {"a leading zero: octal to some", {{"010.0.0.1"}, {{10, 0, 0, 1}}}, "010.0.0.1", false},
        {"an empty label", {{"time..org"}, {}}, "time..org", false},
        {"an empty server", {{""}, {}}, "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.matches, CertificateIsForServer(c.names, c.server)) << c.what;
    }
}

}  // namespace

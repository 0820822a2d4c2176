// Which address boxes the entry dialog accepts.
#include "servers/server_entry.h"

#include <gtest/gtest.h>

namespace {

TEST(ServerEntry, AnAddressIsRequiredWithOrWithoutTheNtsPrefix)
{
    const struct {
        const char* typed;
        bool accepted;
    } cases[] = {
        {"", false},         {" ", false},       {"\t \t", false},  {"nts:", false},
        {"NTS: ", false},    {"ntp.nict.jp", true}, {" ntp.nict.jp ", true}, {"nts:time.cloudflare.com", true},
        {"NTS:localhost:4460", true}, {"127.0.0.1", true}, {"::1", true}, {"nts", true},  // a host called nts
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.accepted, EntryHasAddress(c.typed)) << '"' << c.typed << '"';
    }
}

}  // namespace

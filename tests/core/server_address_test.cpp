// Host and port out of a server row's address text, and the texts that are refused.
#include "sync/server_address.h"

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
    };
    for (const AddressCase& c : cases) {
        SCOPED_TRACE(c.text);
        const ServerAddress address = ParseServerAddress(c.text.c_str());
        EXPECT_EQ(c.status, address.status);
        EXPECT_EQ(c.host, address.host);
        EXPECT_EQ(c.port, address.port);
        EXPECT_EQ(c.wirePort, address.WirePort());
    }
}

}  // namespace

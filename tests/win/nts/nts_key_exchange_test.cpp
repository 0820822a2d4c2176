// The NTS key exchange against chronyd on loopback with a throw-away certificate that this test
// makes trusted for its run, then one NTS-authenticated NTP exchange with the keys and a cookie.
#include "nts/nts_key_exchange_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "../nts_peer.h"
#include "nts/nts_extension_fields.h"

namespace {

sockaddr_in Loopback4(uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

sockaddr_in6 Loopback6(uint16_t port)
{
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_port = htons(port);
    address.sin6_addr.s6_addr[15] = 1;  // ::1; the delay-loaded ws2_32 brings no in6addr_loopback
    return address;
}

template <typename Address>
NtsKeyExchangeResult ExchangeAt(const Address& address, const std::string& name, unsigned limitMs = kNtsKeTimeLimitMs)
{
    return RunNtsKeyExchange(reinterpret_cast<const sockaddr*>(&address), sizeof address, name, limitMs);
}

template <size_t N>
std::array<uint8_t, N> RandomBytes()
{
    static std::random_device source;
    std::array<uint8_t, N> bytes;
    for (uint8_t& b : bytes) {
        b = static_cast<uint8_t>(source());
    }
    return bytes;
}

class NtsKeyExchange : public testing::Test {
protected:
    // The server's certificate in the machine's ROOT store for this run only.
    static void SetUpTestSuite()
    {
        s_server = ReadNtsServer(NTS_SERVER_FILE_UNIX_PATH);
        ASSERT_FALSE(s_server.certificate.empty()) << "no NTS server: run through ctest, fixture nts_server";
        ASSERT_TRUE(TrustCertificate(s_server.certificate));
    }

    static void TearDownTestSuite() { DistrustCertificate(s_server.certificate); }

    static NtsServer s_server;
};

NtsServer NtsKeyExchange::s_server;

TEST_F(NtsKeyExchange, GivesCookiesAndTwoKeysOverIpv4AndIpv6)
{
    for (const bool ipv6 : {false, true}) {
        const NtsKeyExchangeResult result = ipv6 ? ExchangeAt(Loopback6(s_server.ntskePort), s_server.name)
                                                 : ExchangeAt(Loopback4(s_server.ntskePort), s_server.name);
        ASSERT_TRUE(result.ok) << "IPv6 " << ipv6 << ": failure " << static_cast<int>(result.failure);
        EXPECT_EQ(NtsKeVerdict::Complete, result.response.verdict);
        EXPECT_EQ(kNtsMaxCookies, result.response.cookies.size()) << "chronyd gives eight";
        EXPECT_NE(result.keys.clientToServer, result.keys.serverToClient);
        EXPECT_NE(AesSivKey{}, result.keys.clientToServer);
    }
}

// A certificate the system trusts, but for another name than the one asked: no keys, no cookies.
TEST_F(NtsKeyExchange, FailsClosedOnACertificateForAnotherName)
{
    const struct {
        const char* what;
        NtsKeyExchangeResult result;
    } cases[] = {
        {"another name at the address", ExchangeAt(Loopback4(s_server.ntskePort), "other." + s_server.name)},
        {"the name looked up, localhost", RunNtsKeyExchange("localhost", s_server.ntskePort)},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.result.ok) << c.what;
        EXPECT_EQ(NtsKeFailure::Certificate, c.result.failure) << c.what;
        EXPECT_TRUE(c.result.response.cookies.empty()) << c.what;
        EXPECT_EQ(AesSivKey{}, c.result.keys.serverToClient) << c.what;
    }
}

// A port that accepts the connection and never answers: the time limit ends the exchange.
TEST_F(NtsKeyExchange, EndsAtTheTimeLimitWhenTheServerIsSilent)
{
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback4(0);
    ASSERT_EQ(0, bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address));
    ASSERT_EQ(0, listen(listener, 1));
    int size = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);

    const NtsKeyExchangeResult silent = ExchangeAt(address, s_server.name, 500);
    EXPECT_EQ(NtsKeFailure::TimedOut, silent.failure);
    closesocket(listener);

    const NtsKeyExchangeResult refused = ExchangeAt(address, s_server.name, 500);
    EXPECT_EQ(NtsKeFailure::NoConnection, refused.failure) << "nobody listens there any more";
    WSACleanup();
}

// One NTP request with the keys and the first cookie over UDP: the reply verifies with the S2C key
// and brings a fresh cookie; altered by one byte of its authenticator, it does not verify.
TEST_F(NtsKeyExchange, KeysAndCookieAuthenticateAnNtpExchange)
{
    const NtsKeyExchangeResult exchange = ExchangeAt(Loopback4(s_server.ntskePort), s_server.name);
    ASSERT_TRUE(exchange.ok);
    const std::vector<std::vector<uint8_t>>& cookies = exchange.response.cookies;

    SntpMessage header = BuildRequest(0x0123456789ABCDEFu);
    header[0] = 0x23;  // NTPv4, client
    const NtsUniqueId uniqueId = RandomBytes<kNtsUniqueIdSize>();
    const std::vector<uint8_t> request = BuildNtsRequest(header, uniqueId, cookies[0], cookies.size() - 1,
                                                         exchange.keys.clientToServer, RandomBytes<kNtsNonceSize>());
    ASSERT_FALSE(request.empty());

    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    const SOCKET udp = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const DWORD waitMs = 3000;
    setsockopt(udp, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&waitMs), sizeof waitMs);
    const sockaddr_in server = Loopback4(s_server.ntpPort);
    ASSERT_EQ(static_cast<int>(request.size()),
              sendto(udp, reinterpret_cast<const char*>(request.data()), static_cast<int>(request.size()), 0,
                     reinterpret_cast<const sockaddr*>(&server), sizeof server));
    std::vector<uint8_t> reply(kNtsMaxPacketSize + 1);
    const int received = recv(udp, reinterpret_cast<char*>(reply.data()), static_cast<int>(reply.size()), 0);
    closesocket(udp);
    WSACleanup();
    ASSERT_GT(received, 48) << "no reply from chronyd";
    reply.resize(static_cast<size_t>(received));

    EXPECT_EQ(0x24, reply[0]) << "NTPv4, server";
    EXPECT_EQ(0, std::memcmp(reply.data() + 24, header.data() + 40, 8)) << "the origin echoed";
    const NtsReply verified = VerifyNtsReply(reply.data(), reply.size(), uniqueId, exchange.keys.serverToClient);
    EXPECT_EQ(NtsReplyVerdict::Authentic, verified.verdict);
    ASSERT_EQ(1u, verified.cookies.size()) << "one fresh cookie for the one spent";
    EXPECT_EQ(cookies[0].size(), verified.cookies[0].size());
    EXPECT_NE(cookies[0], verified.cookies[0]);

    std::vector<ExtensionField> fields;
    ASSERT_EQ(ExtensionFieldsVerdict::Ok, ReadExtensionFields(reply.data(), reply.size(), 48, &fields));
    const ExtensionField& authenticator = fields.back();
    ASSERT_EQ(kNtsAuthenticatorField, authenticator.type);
    // The first byte of the tag: after the field header, the two lengths and the padded nonce.
    const size_t nonceSize = static_cast<size_t>(authenticator.body[0] << 8 | authenticator.body[1]);
    std::vector<uint8_t> altered = reply;
    altered[authenticator.offset + 8 + (nonceSize + 3) / 4 * 4] ^= 0x01;
    EXPECT_EQ(NtsReplyVerdict::NotAuthentic,
              VerifyNtsReply(altered.data(), altered.size(), uniqueId, exchange.keys.serverToClient).verdict);
    EXPECT_EQ(NtsReplyVerdict::NotAuthentic,
              VerifyNtsReply(reply.data(), reply.size(), uniqueId, exchange.keys.clientToServer).verdict)
        << "the C2S key does not open a reply";
}

}  // namespace

// The loopback responder answers as the options say, so the tests that rely on it can trust it.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "sntp/ntp_time.h"
#include "sntp/sntp_message.h"

extern char** environ;

namespace {

// One responder process for a test, stopped at the end if its lifetime has not run out.
class Responder {
public:
    explicit Responder(std::vector<std::string> options)
    {
        options.insert(options.begin(), SNTP_RESPONDER_PATH);
        std::vector<char*> argv;
        for (std::string& option : options) {
            argv.push_back(option.data());
        }
        argv.push_back(nullptr);
        int out[2];
        EXPECT_EQ(0, pipe(out));
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        EXPECT_EQ(0, posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ));
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        output_ = fdopen(out[0], "r");
        port_ = std::stoi(ReadLine());
    }

    ~Responder()
    {
        if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        std::fclose(output_);
    }

    int port() const { return port_; }
    pid_t pid() const { return pid_; }

    std::string ReadLine()
    {
        char line[256] = {};
        return std::fgets(line, sizeof line, output_) != nullptr ? line : "";
    }

private:
    pid_t pid_ = -1;
    FILE* output_ = nullptr;
    int port_ = 0;
};

// A client socket on loopback with the request it sent.
class Client {
public:
    Client() : fd_(socket(AF_INET, SOCK_DGRAM, 0)) {}
    ~Client() { close(fd_); }

    void Ask(int port, uint8_t byte0 = 0x23)
    {
        SntpMessage request = BuildRequest();
        request[0] = byte0;
        for (int i = 40; i < 48; ++i) {
            request[static_cast<size_t>(i)] = static_cast<uint8_t>(0xA0 + i);  // must come back as originate
        }
        sockaddr_in server = Loopback(port);
        ASSERT_EQ(48, sendto(fd_, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&server), sizeof server));
    }

    // The next datagram within the time limit; empty when none came.
    std::vector<uint8_t> Receive(int waitMs, int* fromPort = nullptr)
    {
        pollfd waiting{fd_, POLLIN, 0};
        if (poll(&waiting, 1, waitMs) != 1) {
            return {};
        }
        std::vector<uint8_t> datagram(600);
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = recvfrom(fd_, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&from), &length);
        datagram.resize(n > 0 ? static_cast<size_t>(n) : 0);
        if (fromPort != nullptr) {
            *fromPort = ntohs(from.sin_port);
        }
        return datagram;
    }

private:
    static sockaddr_in Loopback(int port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }

    int fd_;
};

double NowUnixSeconds()
{
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

double TransmitUnixSeconds(const std::vector<uint8_t>& reply)
{
    const NtpTimestamp t = ReadTransmitTimestamp(reply.data());
    return static_cast<double>(NtpToUnixSeconds(t.seconds)) + t.fraction / 4294967296.0;
}

TEST(SntpResponder, AnswersLikeAServerWithTheRealTime)
{
    Responder responder({"--lifetime", "10"});
    Client client;
    client.Ask(responder.port(), 0x23);  // version 4 client
    const std::vector<uint8_t> reply = client.Receive(2000);
    ASSERT_EQ(48u, reply.size());
    EXPECT_EQ(0x24, reply[0]) << "LI 0, the client's version, mode 4";
    EXPECT_EQ(1, reply[1]);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(0xA0 + 40 + i, reply[static_cast<size_t>(24 + i)]) << "originate echoes the request's transmit";
    }
    EXPECT_NEAR(NowUnixSeconds(), TransmitUnixSeconds(reply), 0.5);
    EXPECT_EQ(ReplyVerdict::Usable, CheckReply(reply.data(), reply.size()));
    EXPECT_NE(std::string::npos, responder.ReadLine().find("request 48 bytes from 127.0.0.1:"));
}

TEST(SntpResponder, EchoesVersionOneOfOurRequest)
{
    Responder responder({"--lifetime", "10"});
    Client client;
    client.Ask(responder.port(), BuildRequest()[0]);
    const std::vector<uint8_t> reply = client.Receive(2000);
    ASSERT_EQ(48u, reply.size());
    EXPECT_EQ(0x0C, reply[0]);
}

TEST(SntpResponder, ShiftsTheTimeByTheOffset)
{
    const struct {
        const char* offset;
        double seconds;
    } cases[] = {{"30", 30}, {"-360", -360}, {"2.5", 2.5}};
    for (const auto& c : cases) {
        Responder responder({"--offset", c.offset, "--lifetime", "10"});
        Client client;
        client.Ask(responder.port());
        const std::vector<uint8_t> reply = client.Receive(2000);
        ASSERT_EQ(48u, reply.size());
        EXPECT_NEAR(NowUnixSeconds() + c.seconds, TransmitUnixSeconds(reply), 0.5) << c.offset;
    }
}

TEST(SntpResponder, CraftsTheRepliesTheClientMustRefuse)
{
    const struct {
        std::vector<std::string> options;
        size_t length;
        ReplyVerdict verdict;
    } cases[] = {
        {{"--transmit", "0"}, 48, ReplyVerdict::ZeroTransmitTimestamp},
        {{"--leap", "3"}, 48, ReplyVerdict::NotSynchronised},
        {{"--stratum", "0"}, 48, ReplyVerdict::KissOfDeath},
        {{"--length", "20"}, 20, ReplyVerdict::TooShort},
        {{"--length", "68"}, 68, ReplyVerdict::Usable},
        {{"--transmit", "3983734800.2147483648"}, 48, ReplyVerdict::Usable},
    };
    for (const auto& c : cases) {
        std::vector<std::string> options = c.options;
        options.insert(options.end(), {"--lifetime", "10"});
        Responder responder(options);
        Client client;
        client.Ask(responder.port());
        const std::vector<uint8_t> reply = client.Receive(2000);
        ASSERT_EQ(c.length, reply.size()) << c.options[0];
        EXPECT_EQ(c.verdict, CheckReply(reply.data(), reply.size())) << c.options[0];
    }
}

TEST(SntpResponder, SendsAFixedTransmitTimestampAsGiven)
{
    Responder responder({"--transmit", "3983734800.2147483648", "--lifetime", "10"});
    Client client;
    client.Ask(responder.port());
    const std::vector<uint8_t> reply = client.Receive(2000);
    ASSERT_EQ(48u, reply.size());
    EXPECT_EQ(3983734800u, ReadTransmitTimestamp(reply.data()).seconds);
    EXPECT_EQ(2147483648u, ReadTransmitTimestamp(reply.data()).fraction);
}

TEST(SntpResponder, CanAnswerFromAnotherPortAndThenProperly)
{
    Responder responder({"--from-other-port", "--stratum", "0", "--good-after", "100", "--lifetime", "10"});
    Client client;
    client.Ask(responder.port());
    int firstPort = 0;
    int secondPort = 0;
    const std::vector<uint8_t> spoofed = client.Receive(2000, &firstPort);
    const std::vector<uint8_t> good = client.Receive(2000, &secondPort);
    EXPECT_NE(responder.port(), firstPort);
    EXPECT_EQ(ReplyVerdict::KissOfDeath, CheckReply(spoofed.data(), spoofed.size()));
    EXPECT_EQ(responder.port(), secondPort);
    EXPECT_EQ(ReplyVerdict::Usable, CheckReply(good.data(), good.size()));
}

TEST(SntpResponder, DelaysOrNeverAnswers)
{
    Responder delayed({"--delay", "400", "--lifetime", "10"});
    Responder silent({"--silent", "--lifetime", "10"});
    Client early;
    Client never;
    early.Ask(delayed.port());
    never.Ask(silent.port());
    EXPECT_TRUE(early.Receive(150).empty()) << "not before the delay";
    EXPECT_EQ(48u, early.Receive(2000).size());
    EXPECT_TRUE(never.Receive(300).empty());
    EXPECT_NE(std::string::npos, silent.ReadLine().find("request 48 bytes")) << "it did hear the request";
}

// The reply is made when the request arrives and then travels back: a reply held on its way back
// is older than it looks (the client cannot tell that from the server holding it), and holds up no
// later request.
TEST(SntpResponder, APathTakesItsTimeEachWayAndAHeldReplyHoldsUpNoOther)
{
    const struct {
        std::vector<std::string> options;
        double minRoundTrip;  // seconds, both requests
        double wayBack[2];    // at least, of the replies in the order they come
        double firstWayBackBelow;
    } cases[] = {
        {{"--path-base", "100", "--path-mean", "5", "--series", "3"}, 0.2, {0.1, 0.1}, 10},
        // The first request's reply is held: the second's comes first.
        {{"--slow-replies", "1", "--slow-by", "600"}, 0, {0, 0.6}, 0.3},
    };
    for (const auto& c : cases) {
        std::vector<std::string> options = c.options;
        options.insert(options.end(), {"--lifetime", "10"});
        Responder responder(options);
        Client client;
        const double asked = NowUnixSeconds();
        client.Ask(responder.port());
        client.Ask(responder.port());
        std::vector<std::vector<uint8_t>> replies;
        std::vector<double> receivedAt;
        for (int i = 0; i < 2; ++i) {
            replies.push_back(client.Receive(3000));
            receivedAt.push_back(NowUnixSeconds());
            ASSERT_EQ(48u, replies.back().size()) << c.options[0];
            EXPECT_GE(receivedAt.back() - asked, c.minRoundTrip) << c.options[0];
        }
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_GE(receivedAt[i] - TransmitUnixSeconds(replies[i]), c.wayBack[i]) << c.options[0] << " " << i;
        }
        EXPECT_LT(receivedAt[0] - TransmitUnixSeconds(replies[0]), c.firstWayBackBelow) << c.options[0];
    }
}

TEST(SntpResponder, EndsByItselfWhenItsLifetimeIsOver)
{
    Responder responder({"--lifetime", "0.2"});
    int status = -1;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (waitpid(responder.pid(), &status, WNOHANG) == 0 && std::chrono::steady_clock::now() < give_up) {
        usleep(20000);
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
}

}  // namespace

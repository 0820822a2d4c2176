// A loopback SNTP server for tests: answers with the real time shifted, or with a crafted reply.
//
// It binds 127.0.0.1 only, prints its port on the first line of standard output, reports each
// request on a further line (with the milliseconds since its start), and ends by itself when its lifetime is over. Delays are scheduled,
// never slept in the receive loop: a reply held on its way back holds up no later request.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <thread>

namespace {

constexpr size_t kMessageSize = 48;
constexpr uint64_t kSecondsFrom1900To1970 = 2208988800;

struct Options {
    int port = 0;                    // 0: the system chooses; printed at start either way
    double offsetSeconds = 0;        // added to the real time
    bool fixedTransmit = false;      // send exactly this transmit timestamp instead
    uint32_t transmitSeconds = 0;
    uint32_t transmitFraction = 0;
    int leap = 0;
    int stratum = 1;
    size_t length = kMessageSize;    // bytes sent: short datagrams, or longer than a client reads
    bool fromOtherPort = false;      // answer from a second socket, as a spoofer would
    int delayMs = 0;                 // wait before answering
    int pathDelayMs = 0;             // a symmetric path: the request arrives this late, the reply takes as long
    // A random path: each direction of each packet takes the base plus an exponential delay of
    // this mean, drawn on its own; the same series number gives the same delays in every run.
    double pathBaseMs = 0;
    double pathMeanMs = 0;
    uint64_t series = 1;
    int slowReplies = 0;             // the first this many replies take slowByMs longer on their way back
    int slowByMs = 0;
    bool silent = false;             // never answer
    int answerFrom = 1;              // the first request answered: earlier ones go unanswered
    int mode = 4;                    // of the crafted reply
    int version = -1;                // of the crafted reply; -1 echoes the request's
    bool otherOrigin = false;        // the crafted reply echoes another originate timestamp
    int goodAfterMs = -1;            // after the reply above, also send a proper one this much later
    int floodMs = 0;                 // after the first request, junk from another port this long, and no answer
    std::string kissCode = "INIT";   // the reference identifier of a crafted stratum-0 reply
    bool ipv6 = false;               // bind ::1 instead of 127.0.0.1
    double lifetimeSeconds = 60;
};

[[noreturn]] void Usage(const char* problem)
{
    std::fprintf(stderr,
                 "sntp_responder: %s\n"
                 "usage: sntp_responder [--port N] [--offset SECONDS] [--transmit SECONDS[.FRACTION]]\n"
                 "         [--leap 0-3] [--stratum 0-255] [--length BYTES] [--from-other-port]\n"
                 "         [--delay MS] [--path-delay MS] [--silent] [--answer-from N] [--mode 0-7]\n"
                 "         [--version 0-7] [--other-origin] [--good-after MS] [--flood MS] [--kiss CODE]\n"
                 "         [--path-base MS] [--path-mean MS] [--series N] [--slow-replies N] [--slow-by MS]\n"
                 "         [--ipv6] [--lifetime SECONDS]\n"
                 "  --transmit takes the raw NTP fields, for example 3913056000.2147483648\n",
                 problem);
    std::exit(2);
}

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                Usage(("missing value after " + name).c_str());
            }
            return argv[++i];
        };
        if (name == "--help") {
            Usage("a loopback SNTP server for tests");
        } else if (name == "--port") {
            options.port = std::atoi(value());
        } else if (name == "--offset") {
            options.offsetSeconds = std::atof(value());
        } else if (name == "--transmit") {
            const char* text = value();
            char* end = nullptr;
            options.fixedTransmit = true;
            options.transmitSeconds = static_cast<uint32_t>(std::strtoul(text, &end, 10));
            options.transmitFraction = *end == '.' ? static_cast<uint32_t>(std::strtoul(end + 1, nullptr, 10)) : 0;
        } else if (name == "--leap") {
            options.leap = std::atoi(value()) & 3;
        } else if (name == "--stratum") {
            options.stratum = std::atoi(value()) & 0xFF;
        } else if (name == "--length") {
            options.length = static_cast<size_t>(std::atoi(value()));
            if (options.length > 512) {
                Usage("--length is at most 512");
            }
        } else if (name == "--from-other-port") {
            options.fromOtherPort = true;
        } else if (name == "--delay") {
            options.delayMs = std::atoi(value());
        } else if (name == "--path-delay") {
            options.pathDelayMs = std::atoi(value());
        } else if (name == "--path-base") {
            options.pathBaseMs = std::atof(value());
        } else if (name == "--path-mean") {
            options.pathMeanMs = std::atof(value());
        } else if (name == "--series") {
            options.series = std::strtoull(value(), nullptr, 10);
        } else if (name == "--slow-replies") {
            options.slowReplies = std::atoi(value());
        } else if (name == "--slow-by") {
            options.slowByMs = std::atoi(value());
        } else if (name == "--silent") {
            options.silent = true;
        } else if (name == "--answer-from") {
            options.answerFrom = std::atoi(value());
        } else if (name == "--mode") {
            options.mode = std::atoi(value()) & 7;
        } else if (name == "--version") {
            options.version = std::atoi(value()) & 7;
        } else if (name == "--other-origin") {
            options.otherOrigin = true;
        } else if (name == "--good-after") {
            options.goodAfterMs = std::atoi(value());
        } else if (name == "--flood") {
            options.floodMs = std::atoi(value());
            options.silent = true;
        } else if (name == "--kiss") {
            options.kissCode = std::string(value()).substr(0, 4);
            options.kissCode.resize(4, ' ');
            options.stratum = 0;
        } else if (name == "--ipv6") {
            options.ipv6 = true;
        } else if (name == "--lifetime") {
            options.lifetimeSeconds = std::atof(value());
        } else {
            Usage(("unknown option " + name).c_str());
        }
    }
    return options;
}

void PutBigEndian32(uint8_t* bytes, uint32_t value)
{
    bytes[0] = static_cast<uint8_t>(value >> 24);
    bytes[1] = static_cast<uint8_t>(value >> 16);
    bytes[2] = static_cast<uint8_t>(value >> 8);
    bytes[3] = static_cast<uint8_t>(value);
}

// The real time plus an offset as an NTP timestamp; the seconds wrap into the right era by themselves.
void PutTimestamp(uint8_t* bytes, double offsetSeconds)
{
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch() + duration_cast<nanoseconds>(duration<double>(offsetSeconds));
    const int64_t nanos = duration_cast<nanoseconds>(now).count();
    const int64_t seconds = nanos / 1000000000;
    const int64_t rest = nanos % 1000000000;
    PutBigEndian32(bytes, static_cast<uint32_t>(static_cast<uint64_t>(seconds) + kSecondsFrom1900To1970));
    PutBigEndian32(bytes + 4, static_cast<uint32_t>((static_cast<uint64_t>(rest) << 32) / 1000000000));
}

// A server reply to the request: mode 4, the client's version, its transmit timestamp echoed as
// the originate timestamp (RFC 4330 section 5), receive and transmit timestamps now.
void BuildReply(const Options& options, const uint8_t* request, bool crafted, uint8_t* reply)
{
    std::memset(reply, 0, 512);
    const int version = crafted && options.version >= 0 ? options.version : (request[0] >> 3) & 7;
    const int leap = crafted ? options.leap : 0;
    const int stratum = crafted ? options.stratum : 1;
    const int mode = crafted ? options.mode : 4;
    reply[0] = static_cast<uint8_t>(leap << 6 | version << 3 | mode);
    reply[1] = static_cast<uint8_t>(stratum);
    reply[2] = 6;                                   // poll 64 s
    reply[3] = static_cast<uint8_t>(-20);           // precision about 1 us
    PutBigEndian32(reply + 4, 0x00000010);          // root delay, 16/65536 s
    PutBigEndian32(reply + 8, 0x00000010);          // root dispersion
    std::memcpy(reply + 12, stratum == 0 ? options.kissCode.c_str() : "LOCL", 4);
    PutTimestamp(reply + 16, options.offsetSeconds - 16);  // reference: last set a little earlier
    std::memcpy(reply + 24, request + 40, 8);
    if (crafted && options.otherOrigin) {
        reply[31] ^= 1;  // an answer to some other request
    }
    PutTimestamp(reply + 32, options.offsetSeconds);
    if (crafted && options.fixedTransmit) {
        PutBigEndian32(reply + 40, options.transmitSeconds);
        PutBigEndian32(reply + 44, options.transmitFraction);
    } else {
        PutTimestamp(reply + 40, options.offsetSeconds);
    }
}

int BoundLoopbackSocket(int port, bool ipv6)
{
    const int fd = socket(ipv6 ? AF_INET6 : AF_INET, SOCK_DGRAM, 0);
    sockaddr_storage storage{};
    socklen_t length = 0;
    if (ipv6) {
        auto* address = reinterpret_cast<sockaddr_in6*>(&storage);
        address->sin6_family = AF_INET6;
        address->sin6_port = htons(static_cast<uint16_t>(port));
        address->sin6_addr = in6addr_loopback;
        length = sizeof *address;
    } else {
        auto* address = reinterpret_cast<sockaddr_in*>(&storage);
        address->sin_family = AF_INET;
        address->sin_port = htons(static_cast<uint16_t>(port));
        address->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        length = sizeof *address;
    }
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&storage), length) != 0) {
        std::perror("sntp_responder: bind");
        std::exit(1);
    }
    return fd;
}

// 48-byte datagrams of junk to the client from a port of their own, about ten thousand a second: far
// more than a window's message queue is ever empty between.
void Flood(sockaddr_storage client, socklen_t clientLength, bool ipv6, int milliseconds)
{
    const int fd = BoundLoopbackSocket(0, ipv6);
    uint8_t junk[kMessageSize];
    std::memset(junk, 0x5A, sizeof junk);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        sendto(fd, junk, sizeof junk, 0, reinterpret_cast<sockaddr*>(&client), clientLength);
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    close(fd);
}

int PortOf(int fd)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return address.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port)
                                         : ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

// "127.0.0.1:PORT" or "[::1]:PORT" of a sender.
std::string SenderText(const sockaddr_storage& sender)
{
    char text[INET6_ADDRSTRLEN] = "";
    if (sender.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(sender);
        inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        return "[" + std::string(text) + "]:" + std::to_string(ntohs(v6.sin6_port));
    }
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(sender);
    inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(v4.sin_port));
}

// A reply on its way: first the request still travelling to the server (the reply is made when
// it arrives), then the reply travelling back.
struct InFlight {
    bool arrived = false;
    bool crafted = true;
    int fd = -1;
    size_t length = kMessageSize;
    uint8_t request[kMessageSize] = {};
    uint8_t reply[512] = {};
    sockaddr_storage client{};
    socklen_t clientLength = 0;
    std::chrono::nanoseconds back{0};  // the way back, once made
    bool goodAfter = false;            // a proper reply follows the crafted one
};

using Clock = std::chrono::steady_clock;

std::chrono::nanoseconds Milliseconds(double ms)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::duration<double, std::milli>(ms));
}

// One direction of one packet on the random path.
double RandomWayMs(const Options& options, std::mt19937_64& random)
{
    if (options.pathMeanMs <= 0) {
        return options.pathBaseMs;
    }
    std::exponential_distribution<double> queueing(1.0 / options.pathMeanMs);
    return options.pathBaseMs + queueing(random);
}

// Makes the replies whose request has arrived and sends those whose way back is over, in time order.
void RunDue(const Options& options, int server, std::multimap<Clock::time_point, InFlight>& flights)
{
    while (!flights.empty() && flights.begin()->first <= Clock::now()) {
        InFlight flight = flights.begin()->second;
        flights.erase(flights.begin());
        if (!flight.arrived) {
            BuildReply(options, flight.request, flight.crafted, flight.reply);
            flight.arrived = true;
            flights.emplace(Clock::now() + flight.back, flight);
            continue;
        }
        sendto(flight.fd, flight.reply, flight.length, 0, reinterpret_cast<sockaddr*>(&flight.client),
               flight.clientLength);
        if (flight.goodAfter) {
            InFlight good = flight;
            good.arrived = false;
            good.crafted = false;
            good.fd = server;
            good.length = kMessageSize;
            good.back = std::chrono::nanoseconds(0);
            good.goodAfter = false;
            flights.emplace(Clock::now() + Milliseconds(options.goodAfterMs), good);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);
    const int server = BoundLoopbackSocket(options.port, options.ipv6);
    const int other = options.fromOtherPort ? BoundLoopbackSocket(0, options.ipv6) : -1;
    std::printf("%d\n", PortOf(server));
    std::fflush(stdout);

    const auto started = Clock::now();
    std::mt19937_64 random(options.series);
    std::multimap<Clock::time_point, InFlight> flights;
    int requests = 0;
    int replies = 0;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(options.lifetimeSeconds));
    for (;;) {
        RunDue(options, server, flights);
        const auto now = Clock::now();
        if (now >= deadline) {
            return 0;
        }
        const auto until = flights.empty() || flights.begin()->first > deadline ? deadline : flights.begin()->first;
        const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(until - now);
        const timespec timeout{static_cast<time_t>(wait.count() / 1000000000), static_cast<long>(wait.count() % 1000000000)};
        pollfd waiting{server, POLLIN, 0};
        if (ppoll(&waiting, 1, &timeout, nullptr) <= 0) {
            continue;
        }
        InFlight flight;
        flight.clientLength = sizeof flight.client;
        uint8_t request[512];
        const ssize_t received = recvfrom(server, request, sizeof request, 0,
                                          reinterpret_cast<sockaddr*>(&flight.client), &flight.clientLength);
        if (received < 0) {
            continue;
        }
        ++requests;
        std::printf("request %zd bytes from %s byte0 0x%02x", received, SenderText(flight.client).c_str(),
                    received > 0 ? request[0] : 0);
        if (received >= static_cast<ssize_t>(kMessageSize)) {
            std::printf(" transmit ");
            for (int i = 40; i < 48; ++i) {
                std::printf("%02x", request[i]);
            }
        }
        std::printf(" at %.1f ms\n", std::chrono::duration<double, std::milli>(Clock::now() - started).count());
        std::fflush(stdout);
        if (options.floodMs > 0 && requests == 1) {
            std::thread(Flood, flight.client, flight.clientLength, options.ipv6, options.floodMs).detach();
        }
        if (received < static_cast<ssize_t>(kMessageSize) || options.silent || requests < options.answerFrom) {
            continue;
        }
        ++replies;
        std::memcpy(flight.request, request, kMessageSize);
        flight.fd = other >= 0 ? other : server;
        flight.length = options.length;
        flight.goodAfter = options.goodAfterMs >= 0;
        const double there = options.delayMs + options.pathDelayMs + RandomWayMs(options, random);
        const double back = options.pathDelayMs + RandomWayMs(options, random) +
                            (replies <= options.slowReplies ? options.slowByMs : 0);
        flight.back = Milliseconds(back);
        flights.emplace(Clock::now() + Milliseconds(there), flight);
    }
}

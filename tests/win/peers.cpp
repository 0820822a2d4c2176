// Ports of the loopback peers, from the file the ctest fixture writes (Win32).
#include "peers.h"

#include <fstream>

std::string UnixPathAsWindows(const char* unixPath)
{
    std::string path = "Z:" + std::string(unixPath);  // Wine shows the Linux root as drive Z:
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

int PeerPort(const std::string& name)
{
    std::ifstream peers(UnixPathAsWindows(PEERS_FILE_UNIX_PATH));
    std::string peer;
    int port = 0;
    while (peers >> peer >> port) {
        if (peer == name) {
            return port;
        }
    }
    return 0;
}

std::string PeerAddress(const std::string& name)
{
    return "127.0.0.1:" + std::to_string(PeerPort(name));
}

std::string PeerAddress6(const std::string& name)
{
    return "[::1]:" + std::to_string(PeerPort(name));
}

std::vector<std::string> PeerRequestTransmits(const std::string& name)
{
    // Each peer's output is kept beside the peers file, one line per request.
    std::ifstream log(UnixPathAsWindows(PEERS_FILE_UNIX_PATH) + ".d\\" + name + ".log");
    std::vector<std::string> transmits;
    std::string line;
    while (std::getline(log, line)) {
        const size_t at = line.find(" transmit ");
        if (line.rfind("request ", 0) == 0 && at != std::string::npos) {
            transmits.push_back(line.substr(at + 10, 16));
        }
    }
    return transmits;
}

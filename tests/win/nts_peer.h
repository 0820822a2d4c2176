// The loopback NTS servers that tests/peer/nts_server.sh started, and their throw-away certificates
// made trusted for a test's run (Win32).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What nts_server.sh wrote: the certificate's name, the ports, the server's certificate and the
// root it chains to (the same for a self-signed one), DER.
struct NtsServer {
    std::string name;
    uint16_t ntskePort = 0;
    uint16_t ntpPort = 0;
    std::vector<uint8_t> certificate;
    std::vector<uint8_t> root;
};

// The server of a state file, given as a Linux path; an empty certificate when there is none.
NtsServer ReadNtsServer(const char* stateFileUnixPath);

// Puts the certificate in the ROOT store, where the program looks for its roots; and takes it out.
bool TrustCertificate(const std::vector<uint8_t>& certificate);
void DistrustCertificate(const std::vector<uint8_t>& certificate);

// The same for any system store of the current user ("Disallowed", ...).
bool AddToSystemStore(const char* store, const std::vector<uint8_t>& certificate);
void RemoveFromSystemStore(const char* store, const std::vector<uint8_t>& certificate);

// Writes the certificate's entry in the ROOT store anew with its enhanced key usage property set to
// the one purpose given (an object identifier), or with no such property for null.
bool SetRootPurpose(const std::vector<uint8_t>& certificate, const char* purpose);

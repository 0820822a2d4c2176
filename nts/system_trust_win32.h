// The system's trust under the NTS key exchange: the ROOT store's certificates for mbed TLS, and
// Windows' own chain engine, SSL policy and Disallowed store on the chain a server sent (Win32).
#pragma once

#include "nts_ke_session.h"

class SystemTrust : public NtsTrust {
public:
    std::vector<std::vector<uint8_t>> TrustedRoots() override;
    bool AcceptsChain(const std::vector<std::vector<uint8_t>>& chain, const std::string& serverName) override;
};

// What the TLS exporter is asked for the two NTS keys (RFC 8915 section 5.1): the label, and the
// context naming the next protocol, the AEAD algorithm and the direction.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "aes_siv.h"

constexpr char kNtsExporterLabel[] = "EXPORTER-network-time-security";
constexpr size_t kNtsExporterLabelSize = sizeof kNtsExporterLabel - 1;

enum class NtsKeyDirection : uint8_t {
    ClientToServer = 0,  // C2S: seals the requests
    ServerToClient = 1,  // S2C: opens the replies
};

using NtsExporterContext = std::array<uint8_t, 5>;

// The protocol id, then the AEAD id (both big-endian), then the direction byte.
NtsExporterContext BuildNtsExporterContext(uint16_t nextProtocol, uint16_t aeadAlgorithm, NtsKeyDirection direction);

struct NtsKeys {
    AesSivKey clientToServer;
    AesSivKey serverToClient;
};

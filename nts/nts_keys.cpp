// The exporter's context for NTS keys.
#include "nts_keys.h"

NtsExporterContext BuildNtsExporterContext(uint16_t nextProtocol, uint16_t aeadAlgorithm, NtsKeyDirection direction)
{
    return {static_cast<uint8_t>(nextProtocol >> 8), static_cast<uint8_t>(nextProtocol),
            static_cast<uint8_t>(aeadAlgorithm >> 8), static_cast<uint8_t>(aeadAlgorithm),
            static_cast<uint8_t>(direction)};
}

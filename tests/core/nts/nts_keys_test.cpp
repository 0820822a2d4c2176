// The exporter's label and contexts for the two keys of NTPv4 with AES-SIV-CMAC-256.
#include "nts/nts_keys.h"

#include <gtest/gtest.h>

#include <string>

#include "nts/nts_ke_records.h"

namespace {

TEST(NtsExporter, NamesProtocolAlgorithmAndDirection)
{
    EXPECT_EQ("EXPORTER-network-time-security", std::string(kNtsExporterLabel, kNtsExporterLabelSize));
    const struct {
        NtsKeyDirection direction;
        NtsExporterContext context;
    } cases[] = {
        {NtsKeyDirection::ClientToServer, {0x00, 0x00, 0x00, 0x0F, 0x00}},
        {NtsKeyDirection::ServerToClient, {0x00, 0x00, 0x00, 0x0F, 0x01}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.context, BuildNtsExporterContext(kNtsNextProtocolNtpV4, kNtsAeadAesSivCmac256, c.direction));
    }
    const NtsExporterContext other = {0x12, 0x34, 0xAB, 0xCD, 0x01};
    EXPECT_EQ(other, BuildNtsExporterContext(0x1234, 0xABCD, NtsKeyDirection::ServerToClient)) << "big-endian ids";
}

}  // namespace

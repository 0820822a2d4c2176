// The time service's pipe messages, its access lists and its SID.
#include "service/service_protocol.h"

#include <gtest/gtest.h>

#include "service/service_access.h"

#include <cstdlib>
#include "service/service_sid.h"

namespace {

TEST(ServiceProtocol, OnlyTheTwoRequestsWhole)
{
    const struct {
        std::string message;
        bool whole;
        ServiceRequest request;
    } cases[] = {
        {"SYNC", true, ServiceRequest::Sync},
        {"STATUS", true, ServiceRequest::Status},
        {"SYNC", false, ServiceRequest::Invalid},  // the start of a longer message
        {"sync", true, ServiceRequest::Invalid},
        {"SYNC\r\n", true, ServiceRequest::Invalid},
        {"SYNC 127.0.0.1", true, ServiceRequest::Invalid},  // no request names a server
        {"", true, ServiceRequest::Invalid},
        {std::string(65, 'S'), true, ServiceRequest::Invalid},
        {std::string("SYNC\0", 5), true, ServiceRequest::Invalid},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.request, ParseServiceRequest(c.message, c.whole)) << c.message;
    }
}

TEST(ServiceProtocol, AnswersGoThereAndBack)
{
    const std::vector<LogRow> rows = {{"NICT", "応答なし", "", "エラー"},
                                      {"Good\tname", "2026/12/08 14:35:02.0007", "2026/12/08 14:35:01.9990", "同期成功",
                                       "+0.002 秒"}};
    ServiceAnswer answer;
    ASSERT_TRUE(ParseServiceAnswer(RoundAnswer(0, rows), &answer));
    EXPECT_EQ(ServiceAnswer::Kind::Done, answer.kind);
    EXPECT_EQ(0, answer.exitCode);
    ASSERT_EQ(2u, answer.rows.size());
    EXPECT_EQ("", answer.rows[0].localTime);
    EXPECT_EQ("Good name", answer.rows[1].server) << "a tab cannot split a field";
    EXPECT_EQ("+0.002 秒", answer.rows[1].correction);
    ASSERT_TRUE(ParseServiceAnswer("DONE 0\nNICT\ta\tb\t同期成功", &answer)) << "an older service's four fields";
    EXPECT_EQ("同期成功", answer.rows[0].status);
    ASSERT_TRUE(ParseServiceAnswer(StatusAnswer(3540, 0, 60, rows), &answer));
    EXPECT_EQ(ServiceAnswer::Kind::Status, answer.kind);
    EXPECT_EQ(3540, answer.secondsToNextRound);
    EXPECT_EQ(0, answer.exitCode);
    EXPECT_EQ(60, answer.secondsSinceLastRound);
    EXPECT_EQ(2u, answer.rows.size());
    ASSERT_TRUE(ParseServiceAnswer("STATUS 3540 -1", &answer)) << "an older service's status";
    EXPECT_EQ(-1, answer.secondsSinceLastRound);
    ASSERT_TRUE(ParseServiceAnswer("BUSY", &answer)) << "an older service's refusal";
    EXPECT_EQ(ServiceAnswer::Kind::Busy, answer.kind);
    for (const char* junk : {"DONE", "DONE x", "STATUS 1", "STATUS 1 2 x", "STATUS 1 2 3 4", "OK",
                             "DONE 0\nthree\tfields\tonly", ""}) {
        EXPECT_FALSE(ParseServiceAnswer(junk, &answer)) << junk;
    }
}

TEST(ServiceAccess, TheServiceAloneAndNoUserMakesThePipeOrWritesTheFolder)
{
    const std::string sid = ServiceSidText("Tempivo");
    const std::string folder = ServiceFolderAccessList();
    EXPECT_EQ(0u, folder.find("D:P(")) << "protected: nothing inherited";
    EXPECT_NE(std::string::npos, folder.find("(A;OICI;0x1301bf;;;" + sid + ")"));
    EXPECT_NE(std::string::npos, folder.find("(A;OICI;0x1200a9;;;BU)")) << "users read and list, nothing more";
    const std::string pipe = ServicePipeAccessList();
    EXPECT_EQ(0u, pipe.find("D:(D;;GA;;;NU)")) << "the network refused before any allowance";
    const size_t users = pipe.find(";;;IU)");
    ASSERT_NE(std::string::npos, users);
    const unsigned long mask = std::strtoul(pipe.c_str() + pipe.rfind("(A;;", users) + 4, nullptr, 16);
    EXPECT_EQ(0u, mask & 0x4) << "no FILE_CREATE_PIPE_INSTANCE for users";
    EXPECT_EQ(0x2u, mask & 0x2) << "they write a request";
}

TEST(ServiceSid, AsWindowsDerivesIt)
{
    EXPECT_EQ("S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", ServiceSidText("TrustedInstaller"));
    EXPECT_EQ(ServiceSidText("TEMPIVO"), ServiceSidText("Tempivo"));
    const std::array<uint8_t, 20> abc = Sha1("abc");  // FIPS 180 example
    EXPECT_EQ(0xA9, abc[0]);
    EXPECT_EQ(0x9D, abc[19]);
}

}  // namespace

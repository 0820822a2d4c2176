// The synchronisation engine without any dialog: a whole round on its message-only window against
// the loopback time servers.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../peers.h"
#include "round/sync_host_win32.h"

namespace {

class RecordingLog : public RoundLog {
public:
    void OnAsking(const RoundServer& server) override { asked.push_back(server.name); }
    void AddRow(const LogRow& row) override { statuses.push_back(row.serverTime + " " + row.status); }
    void OnRoundEnded(const RoundResult& result) override { exitCodes.push_back(result.ExitCode()); }

    std::vector<std::string> asked;
    std::vector<std::string> statuses;
    std::vector<int> exitCodes;
};

TEST(SyncHost, RunsAWholeRoundOnAMessageOnlyWindow)
{
    RecordingLog log;
    SyncHost host(log);
    host.StartRound({{0, "Nobody", ""}, {1, "Good", PeerAddress("good")}}, RoundRules());
    ASSERT_NE(nullptr, host.Window());
    EXPECT_EQ(host.Window(), FindWindowExA(HWND_MESSAGE, nullptr, "TempivoSyncHost", nullptr))
        << "a message-only window: no desktop, nothing to see";

    const DWORD start = GetTickCount();
    MSG message;
    while (host.Running() && GetTickCount() - start < 5000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }
    EXPECT_EQ((std::vector<std::string>{"Nobody", "Good"}), log.asked);
    ASSERT_EQ(2u, log.statuses.size());
    EXPECT_EQ("接続先不明 エラー", log.statuses[0]);
    EXPECT_NE(std::string::npos, log.statuses[1].find(" 同期成功")) << log.statuses[1];
    EXPECT_EQ((std::vector<int>{0}), log.exitCodes);
}

}  // namespace

// The schedule and the query inside the real main window: rotation, skipped rounds, overlapping
// queries and stale lookups, against the loopback time servers.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "../dialog_driver.h"
#include "../main_window_fixture.h"
#include "../peers.h"
#include "res/resource.h"
#include "../win_test_support.h"

namespace {

std::string LogText(HWND list, int row, int column)
{
    char text[256] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

class SyncTest : public MainWindowTest {
protected:
    int LogRows() const { return static_cast<int>(SendMessageA(LogList(), LVM_GETITEMCOUNT, 0, 0)); }

    // Pumps messages until the log has this many rows or the limit has passed.
    bool WaitForLogRows(int count, DWORD limitMs = 15000)
    {
        const DWORD start = GetTickCount();
        while (LogRows() < count && GetTickCount() - start < limitMs) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            PumpMessages();
        }
        return LogRows() >= count;
    }

    // One timer tick with the interval due.
    void IntervalTick()
    {
        dialog_->Schedule().lastSyncTick = GetTickCount() - 61000;
        dialog_->TimerTick();
    }

    void Ask(const char* name, const std::string& address) { dialog_->AskServer(name, address); }
};

TEST_F(SyncTest, TimerSynchronisationsGoRoundTheTickedRows)
{
    GivenServerList("1\tA\t" + PeerAddress("good") + "\r\n0\tB\t" + PeerAddress("good") + "\r\n1\tC\t" +
                    PeerAddress("good2") + "\r\n");
    GivenSettings("[SETTING]\r\nINTERVAL=1\r\n");
    Open();
    for (int n = 1; n <= 4; ++n) {
        IntervalTick();
        ASSERT_TRUE(WaitForLogRows(n)) << n;
    }
    const char* expected[] = {"A", "C", "A", "C"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(expected[row], LogText(LogList(), row, 0));
        EXPECT_EQ("同期成功", LogText(LogList(), row, 3));
    }
}

TEST_F(SyncTest, TheIntervalWaitsAndAZeroIntervalNeverStarts)
{
    GivenServerList("1\tA\t" + PeerAddress("good") + "\r\n");
    GivenSettings("[SETTING]\r\nINTERVAL=1\r\n");
    Open();
    dialog_->Schedule().lastSyncTick = GetTickCount() - 59000;
    dialog_->TimerTick();
    EXPECT_EQ(INVALID_SOCKET, dialog_->Query().Socket()) << "a minute has not passed";

    SendMessageA(Control(IDC_INTERVAL_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0"));
    dialog_->Schedule().lastSyncTick = GetTickCount() - 3600000;
    dialog_->TimerTick();
    EXPECT_EQ(INVALID_SOCKET, dialog_->Query().Socket()) << "interval 0 turns the timer off";
}

TEST_F(SyncTest, WithoutATickedRowTheDueSynchronisationIsSkipped)
{
    GivenServerList("0\tA\t" + PeerAddress("good") + "\r\n");
    GivenSettings("[STARTUP]\r\nAJAST=1\r\n");
    Open();
    ASSERT_TRUE(dialog_->Schedule().syncPending);
    const DWORD before = GetTickCount();
    dialog_->TimerTick();
    EXPECT_FALSE(dialog_->Schedule().syncPending) << "counted as done";
    EXPECT_GE(dialog_->Schedule().lastSyncTick, before);
    EXPECT_EQ(INVALID_SOCKET, dialog_->Query().Socket());
    EXPECT_FALSE(WaitForLogRows(1, 300));
}

TEST_F(SyncTest, TheButtonWithoutASelectedRowDoesNothing)
{
    GivenServerList("1\tA\t" + PeerAddress("good") + "\r\n");
    Open();
    ListView_SetItemState(ServerList(), 0, 0, LVIS_SELECTED);
    SendMessageA(dialog_->m_hWnd, WM_COMMAND, IDC_SYNC, 0);
    EXPECT_EQ(INVALID_SOCKET, dialog_->Query().Socket());
    EXPECT_FALSE(WaitForLogRows(1, 300));
}

TEST_F(SyncTest, ANewQueryEndsTheOneUnderWay)
{
    Open();
    Ask("Silent", PeerAddress("silent"));
    const SOCKET first = dialog_->Query().Socket();
    ASSERT_NE(INVALID_SOCKET, first);
    Ask("Good", PeerAddress("good"));
    EXPECT_NE(INVALID_SOCKET, dialog_->Query().Socket());
    // The first socket was closed: using it fails.
    EXPECT_EQ(SOCKET_ERROR, send(first, "x", 1, 0));
    ASSERT_TRUE(WaitForLogRows(1));
    EXPECT_EQ("Good", LogText(LogList(), 0, 0));
    EXPECT_FALSE(WaitForLogRows(2, 500)) << "the replaced query writes no row";
}

TEST_F(SyncTest, AStaleLookupCannotEndTheQueryOrWriteARow)
{
    Open();
    Ask("Lookup", "localhost:" + std::to_string(PeerPort("silent")));
    ASSERT_NE(nullptr, dialog_->Query().Lookup());
    Ask("Good", PeerAddress("slow"));  // a dotted address: the lookup of the first is cancelled
    EXPECT_EQ(nullptr, dialog_->Query().Lookup());
    // A completion of some earlier lookup, failed or not, arrives late.
    SendMessageA(dialog_->Sync().Window(), 3124, 0x1234, MAKELPARAM(0, WSAHOST_NOT_FOUND));
    SendMessageA(dialog_->Sync().Window(), 3124, 0x1234, 0);
    EXPECT_NE(INVALID_SOCKET, dialog_->Query().Socket()) << "the current query goes on";
    ASSERT_TRUE(WaitForLogRows(1, 5000));
    EXPECT_EQ("Good", LogText(LogList(), 0, 0));
    EXPECT_EQ("同期成功", LogText(LogList(), 0, 3));
    EXPECT_EQ(1, LogRows());
}

TEST_F(SyncTest, TheExitCommandEndsAQueryUnderWay)
{
    Open();
    Ask("Lookup", "localhost:" + std::to_string(PeerPort("silent")));
    ASSERT_NE(nullptr, dialog_->Query().Lookup());
    const SOCKET socket = dialog_->Query().Socket();
    CloseWithExitCommand();
    EXPECT_EQ(nullptr, dialog_->Query().Lookup()) << "no lookup left to write into the object";
    EXPECT_EQ(INVALID_SOCKET, dialog_->Query().Socket());
    EXPECT_EQ(SOCKET_ERROR, send(socket, "x", 1, 0)) << "the socket was closed";
}

TEST_F(SyncTest, AnEmptyAddressIsReportedAtOnce)
{
    Open();
    Ask("Empty", "");
    ASSERT_EQ(1, LogRows());
    EXPECT_EQ("接続先不明", LogText(LogList(), 0, 1));
    EXPECT_EQ("", LogText(LogList(), 0, 2));
    EXPECT_EQ("エラー", LogText(LogList(), 0, 3));
    EXPECT_EQ(INVALID_SOCKET, dialog_->Query().Socket());
    EXPECT_EQ(-1, dialog_->Query().Port());
}

int LogImage(HWND list, int row)
{
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

TEST_F(SyncTest, TheSyncButtonSaysItIsAskingAndAFailedRowLooksUnlikeASetOne)
{
    GivenServerList("1\tGood\t" + PeerAddress("good") + "\r\n");
    Open();
    HWND button = Control(IDC_SYNC);
    const std::string words = WindowText(button);
    SendMessageA(dialog_->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SYNC, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ("問い合わせ中...", WindowText(button));
    EXPECT_FALSE(IsWindowEnabled(button));
    ASSERT_TRUE(WaitForLogRows(1));
    EXPECT_EQ(words, WindowText(button)) << "its own words back";
    EXPECT_TRUE(IsWindowEnabled(button));

    Ask("Empty", "");  // fails at once
    ASSERT_EQ(2, LogRows());
    EXPECT_EQ("同期成功", LogText(LogList(), 0, 3));
    EXPECT_EQ(kLogImageSet, LogImage(LogList(), 0));
    EXPECT_EQ(kLogImageTrouble, LogImage(LogList(), 1));
    EXPECT_EQ(words, WindowText(button));
    EXPECT_TRUE(IsWindowEnabled(button));
}

TEST_F(SyncTest, TheWindowRestartedAsAdministratorRunsTheUsersRoundAtOnce)
{
    GivenServerList("0\tA\t" + PeerAddress("good") + "\r\n1\tB\t" + PeerAddress("good2") + "\r\n");
    const struct {
        int row;  // as the refused window passed it on
        const char* asked;
    } cases[] = {{0, "A"}, {-1, "B"}, {7, "B"}};  // a row, the ticked servers, a row gone since
    for (const auto& c : cases) {
        Open();
        dialog_->RetryRound(c.row);
        ASSERT_TRUE(WaitForLogRows(1)) << c.row;
        EXPECT_EQ(c.asked, LogText(LogList(), 0, 0)) << c.row;
        EXPECT_EQ("同期成功", LogText(LogList(), 0, 3)) << c.row;
        // Wine gives every process an elevated token, as the restart does on Windows.
        EXPECT_EQ("Tempivo (管理者)", WindowText(dialog_->m_hWnd)) << c.row;
        CloseWithExitCommand();
    }
}

TEST_F(SyncTest, ASocketEventWithAnErrorIsIgnored)
{
    Open();
    Ask("Silent", PeerAddress("silent"));
    SendMessageA(dialog_->Sync().Window(), 3224, dialog_->Query().Socket(), WSAMAKESELECTREPLY(FD_READ, WSAECONNRESET));
    EXPECT_NE(INVALID_SOCKET, dialog_->Query().Socket());
    EXPECT_EQ(0, LogRows());
}

TEST_F(SyncTest, TheNewestRowIsSelectedAndVisible)
{
    Open();
    for (int n = 1; n <= 12; ++n) {
        dialog_->AddLogRow({"S", "a", "b", "c", ""});
    }
    EXPECT_EQ(11, ListView_GetNextItem(LogList(), -1, LVNI_SELECTED));
    EXPECT_EQ(LVIS_FOCUSED, ListView_GetItemState(LogList(), 11, LVIS_FOCUSED));
    EXPECT_LE(11, ListView_GetTopIndex(LogList()) + ListView_GetCountPerPage(LogList()));
}

TEST_F(SyncTest, TheLogListKeepsTheNewestThousandRows)
{
    Open();
    for (int n = 0; n <= 1000; ++n) {
        dialog_->AddLogRow({"S" + std::to_string(n), "a", "b", "c", ""});
    }
    ASSERT_EQ(1000, LogRows());
    EXPECT_EQ("S1", LogText(LogList(), 0, 0)) << "the oldest went first";
    EXPECT_EQ("S1000", LogText(LogList(), 999, 0));
    EXPECT_EQ(999, ListView_GetNextItem(LogList(), -1, LVNI_SELECTED));
    EXPECT_LE(999, ListView_GetTopIndex(LogList()) + ListView_GetCountPerPage(LogList()));
}

// The texts of a window's children, one per line.
std::string ChildTexts(HWND window)
{
    std::string texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[256] = "";
        GetWindowTextA(child, text, sizeof text);
        texts += std::string(text) + "\n";
        // A command link's note, which its text need not hold.
        wchar_t note[256] = L"";
        DWORD length = 256;
        if (SendMessageW(child, BCM_GETNOTE, reinterpret_cast<WPARAM>(&length), reinterpret_cast<LPARAM>(note)) &&
            note[0] != L'\0') {
            char narrow[512] = "";
            WideCharToMultiByte(CP_ACP, 0, note, -1, narrow, sizeof narrow, nullptr, nullptr);
            texts += std::string(narrow) + "\n";
        }
    }
    return texts;
}

TEST_F(SyncTest, TheFirstRefusalOfARunTheUserStartedExplainsItselfOnce)
{
    // A minute off: within the step limit, so the clock is asked, and Wine refuses it for want of the right.
    const struct {
        const char* what;
        const char* settings;
        int notices;  // over two rounds of the 同期 button
        int balloons;  // the notice says more than a balloon would: none comes with it
    } cases[] = {
        {"once a run", "", 1, 0},
        {"never after 今後表示しない", "[SETTING]\r\nRIGHTSNOTICE=0\r\n", 0, 1},
    };
    for (const auto& c : cases) {
        GivenServerList("1\tNear\t" + PeerAddress("near") + "\r\n");
        GivenSettings(c.settings);
        Open();
        int notices = 0;
        std::string texts;
        for (int round = 1; round <= 2; ++round) {
            WhenWindowOpens("Tempivo", [&](HWND notice) {
                ++notices;
                texts = ChildTexts(notice);
                SendMessageA(notice, TDM_CLICK_VERIFICATION, TRUE, FALSE);
                SendMessageA(notice, TDM_CLICK_BUTTON, 104, 0);  // 閉じる
            });
            SendMessageA(dialog_->m_hWnd, WM_COMMAND, IDC_SYNC, 0);
            ASSERT_TRUE(WaitForLogRows(round, 6000)) << c.what;
            EXPECT_EQ("権限エラー", LogText(LogList(), round - 1, 3)) << c.what;
        }
        EXPECT_EQ(c.notices, notices) << c.what;
        int balloons = 0;
        for (const ShellNotifyCall& call : ShellNotifyCalls()) {
            balloons += call.message == NIM_MODIFY && (call.data.uFlags & NIF_INFO) != 0 ? 1 : 0;
        }
        EXPECT_EQ(c.balloons, balloons) << c.what;
        if (c.notices > 0) {
            for (const char* choice : {"時刻設定サービスをインストールする", "管理者として再起動する", "ヘルプを見る", "閉じる"}) {
                EXPECT_NE(std::string::npos, texts.find(choice)) << choice << " in\n" << texts;
            }
            // Both remedies that elevate say beforehand that an administrator will be asked for.
            const std::string note = "管理者のパスワードか、確認を求められます。";
            const size_t first = texts.find(note);
            ASSERT_NE(std::string::npos, first) << texts;
            EXPECT_NE(std::string::npos, texts.find(note, first + 1)) << "twice in\n" << texts;
        }
        CloseWithExitCommand();
        EXPECT_EQ("0", Setting("SETTING", "RIGHTSNOTICE")) << c.what << ": ticked, or kept as read";
    }

    // A scheduled round never shows it.
    GivenServerList("1\tNear\t" + PeerAddress("near") + "\r\n");
    GivenSettings("[SETTING]\r\nINTERVAL=1\r\n");
    Open();
    bool shown = false;
    WhenWindowOpens("Tempivo", [&](HWND notice) {
        shown = true;
        SendMessageA(notice, TDM_CLICK_BUTTON, 104, 0);
    });
    IntervalTick();
    ASSERT_TRUE(WaitForLogRows(1, 6000));
    EXPECT_FALSE(shown);
    CloseWithExitCommand();
    EXPECT_EQ("<none>", Setting("SETTING", "RIGHTSNOTICE")) << "nothing written for a default";
    WhenWindowOpens("<no such window>", [](HWND) {});  // no later window of this title is acted on
}

}  // namespace

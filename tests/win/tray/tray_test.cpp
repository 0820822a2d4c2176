// The tray icon and the window's visibility: what the shell is asked, minimise, double-click, the
// keyboard's events of version 4, and the taskbar coming back.
#include <windows.h>

#include <string>
#include <vector>

#include "../main_window_fixture.h"
#include "../peers.h"
#include "tray/tray_icon_win32.h"
#include "ui/server_list_view_win32.h"
#include "../win_test_support.h"

namespace {

// The popup menu the right-click opened, seen from inside its own loop, then closed.
struct ShownMenu {
    std::vector<std::string> items;
    UINT defaultItem = static_cast<UINT>(-1);
    bool seen = false;
    RECT place{};
};
ShownMenu g_shownMenu;

void CALLBACK InspectOpenMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup == nullptr || !IsWindowVisible(popup)) {
        return;
    }
    KillTimer(nullptr, timer);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        g_shownMenu.items.push_back(text);
    }
    g_shownMenu.defaultItem = GetMenuDefaultItem(menu, FALSE, 0);
    GetWindowRect(popup, &g_shownMenu.place);
    g_shownMenu.seen = true;
    EndMenu();
}

// The menu that whatever is done meanwhile opens, if any; a menu is closed as soon as it is seen,
// so a wrong one ends the step instead of holding it.
template <typename Step>
ShownMenu MenuDuring(Step step)
{
    g_shownMenu = ShownMenu();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, InspectOpenMenu);
    step();
    KillTimer(nullptr, timer);
    return g_shownMenu;
}

class TrayTest : public MainWindowTest {
protected:
    const std::vector<ShellNotifyCall>& Calls() const { return ShellNotifyCalls(); }

    void Minimise()
    {
        ShowWindow(dialog_->m_hWnd, SW_SHOWNORMAL);
        ShowWindow(dialog_->m_hWnd, SW_MINIMIZE);
    }

    void TrayMouse(UINT mouseMessage) { SendMessageA(dialog_->m_hWnd, WM_TRAYICON, 0, mouseMessage); }

    // An event as the shell posts it for an icon of version 4: the event below the icon's id (0) in
    // lParam, the point in wParam; handled once this thread's messages are pumped.
    void ShellPosts(UINT event, int x = 0, int y = 0)
    {
        PostMessageA(dialog_->m_hWnd, WM_TRAYICON, MAKEWPARAM(x, y), MAKELPARAM(event, 0));
        PumpMessages();
    }
};

TEST_F(TrayTest, TheIconIsAddedWithItsTipAndCallback)
{
    Open();
    ASSERT_EQ(2u, Calls().size());
    const ShellNotifyCall& add = Calls()[0];
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), add.message);
    // The record up to dwInfoFlags: its pointers make it longer in a 64-bit program.
    EXPECT_EQ(sizeof(void*) == 8 ? 504u : 488u, add.data.cbSize);
    EXPECT_EQ(dialog_->m_hWnd, add.data.hWnd);
    EXPECT_EQ(0u, add.data.uID);
    // With version 4 the shell shows the standard tip only when asked to.
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP), add.data.uFlags);
    EXPECT_EQ(3112u, add.data.uCallbackMessage);
    EXPECT_NE(nullptr, add.data.hIcon);
    EXPECT_STREQ("Tempivo", add.data.szTip);
    EXPECT_EQ(RegisterWindowMessageA("TaskbarCreated"), dialog_->TaskbarCreatedMessage());
    // Then the version of the callbacks, for the same icon.
    const ShellNotifyCall& version = Calls()[1];
    EXPECT_EQ(static_cast<DWORD>(NIM_SETVERSION), version.message);
    EXPECT_EQ(static_cast<UINT>(NOTIFYICON_VERSION_4), version.data.uVersion);
    EXPECT_EQ(add.data.cbSize, version.data.cbSize);
    EXPECT_EQ(dialog_->m_hWnd, version.data.hWnd);
    EXPECT_EQ(0u, version.data.uID);
}

TEST_F(TrayTest, TheExitCommandRemovesTheIconAndReleasesItsHandle)
{
    Open();
    const HICON icon = Calls()[0].data.hIcon;
    CloseWithExitCommand();
    ASSERT_EQ(3u, Calls().size());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), Calls()[2].message);
    EXPECT_EQ(Calls()[0].data.hWnd, Calls()[2].data.hWnd);
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(icon, &info)) << "the icon handle was destroyed";
}

TEST_F(TrayTest, ANewTaskbarGetsTheIconAgain)
{
    Open();
    const HICON first = Calls()[0].data.hIcon;
    SendMessageA(dialog_->m_hWnd, dialog_->TaskbarCreatedMessage(), 0, 0);
    ASSERT_EQ(4u, Calls().size());
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), Calls()[2].message);
    EXPECT_STREQ("Tempivo", Calls()[2].data.szTip);
    EXPECT_EQ(static_cast<DWORD>(NIM_SETVERSION), Calls()[3].message) << "the new taskbar is told the version too";
    EXPECT_EQ(static_cast<UINT>(NOTIFYICON_VERSION_4), Calls()[3].data.uVersion);
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(first, &info)) << "the replaced icon handle was destroyed";
}

TEST_F(TrayTest, AutomaticModeHasNoIconAndRegistersNothing)
{
    Open(true);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(0u, dialog_->TaskbarCreatedMessage());
    SendMessageA(dialog_->m_hWnd, 0, 0, 0);  // message 0 is never taken for "TaskbarCreated"
    EXPECT_TRUE(Calls().empty());
    CloseWithExitCommand();
    EXPECT_TRUE(Calls().empty()) << "nothing to remove";
}

TEST_F(TrayTest, MinimisingHidesTheWindow)
{
    Open();
    Minimise();
    EXPECT_FALSE(IsWindowVisible(dialog_->m_hWnd));
}

TEST_F(TrayTest, ADoubleClickBringsTheWindowBack)
{
    Open();
    RECT before;
    ShowWindow(dialog_->m_hWnd, SW_SHOWNORMAL);
    GetWindowRect(dialog_->m_hWnd, &before);
    Minimise();
    TrayMouse(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(dialog_->m_hWnd));
    EXPECT_FALSE(IsIconic(dialog_->m_hWnd));
    RECT after;
    GetWindowRect(dialog_->m_hWnd, &after);
    EXPECT_EQ(before.left, after.left) << "at its former place";
    EXPECT_EQ(before.top, after.top);
}

TEST_F(TrayTest, OtherClicksOnTheIconDoNothing)
{
    Open();
    Minimise();
    // With version 4 a single click ends in NIN_SELECT, and a right-click's button-up is followed
    // by the WM_CONTEXTMENU that opens the menu; neither does anything itself, nor a balloon's click.
    for (UINT mouse : std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_MOUSEMOVE,
                                        NIN_SELECT, WM_RBUTTONUP, NIN_BALLOONUSERCLICK}) {
        EXPECT_FALSE(MenuDuring([&] { TrayMouse(mouse); }).seen) << mouse;
        EXPECT_FALSE(IsWindowVisible(dialog_->m_hWnd)) << mouse;
    }
}

TEST_F(TrayTest, ARightClickShowsTheMenuWithShowAsItsDefault)
{
    ShellRefusesVersion4();  // a shell before Vista: the button-up alone is the right-click
    Open();
    Minimise();
    g_shownMenu = ShownMenu();
    SetTimer(nullptr, 0, 20, InspectOpenMenu);
    TrayMouse(WM_RBUTTONUP);  // returns once the menu has closed
    ASSERT_TRUE(g_shownMenu.seen) << "a popup menu opened";
    EXPECT_EQ((std::vector<std::string>{"今すぐ同期(&S)", "表示(&O)", "ヘルプ(&H)", "バージョン情報(&V)", "", "終了(&X)"}),
              g_shownMenu.items)
        << "a separator before 終了";
    EXPECT_EQ(static_cast<UINT>(IDM_TRAY_SHOW), g_shownMenu.defaultItem);
    EXPECT_FALSE(IsWindowVisible(dialog_->m_hWnd)) << "closing the menu chose nothing";
}

TEST_F(TrayTest, WithVersion4TheKeyboardRestoresAndTheMenuOpensAtTheShellsPoint)
{
    Open();
    Minimise();
    // Space or Enter on the icon, which Win+B and the arrow keys reached.
    ShellPosts(NIN_KEYSELECT, 900, 740);
    EXPECT_TRUE(IsWindowVisible(dialog_->m_hWnd)) << "restored";
    EXPECT_FALSE(IsIconic(dialog_->m_hWnd));

    // The menu key, or a right-click's WM_CONTEXTMENU after its button-up: the menu at the point
    // the shell gives, wherever the cursor is. The point is taken far from the cursor, which stays
    // where it is: other suites' windows share this desktop.
    Minimise();
    POINT cursor{};
    GetCursorPos(&cursor);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int x = cursor.x < screenWidth / 2 ? screenWidth * 3 / 4 : screenWidth / 4;
    const int y = cursor.y < screenHeight / 2 ? screenHeight * 3 / 4 : screenHeight / 2;
    ASSERT_FALSE(MenuDuring([&] { ShellPosts(WM_RBUTTONUP, x, y); }).seen) << "not before WM_CONTEXTMENU";
    const ShownMenu menu = MenuDuring([&] { ShellPosts(WM_CONTEXTMENU, x, y); });
    ASSERT_TRUE(menu.seen) << "a popup menu opened";
    EXPECT_EQ(6u, menu.items.size());
    EXPECT_EQ(static_cast<UINT>(IDM_TRAY_SHOW), menu.defaultItem);
    EXPECT_EQ(x, menu.place.left) << "beside the icon; the cursor is at " << cursor.x << "," << cursor.y;
    EXPECT_EQ(y, menu.place.bottom) << "above the icon";
    EXPECT_FALSE(IsWindowVisible(dialog_->m_hWnd)) << "closing the menu chose nothing";
}

// Pumps this thread's messages until the log list has a row, or the limit has passed.
bool WaitForLogRow(HWND list, DWORD limitMs)
{
    const DWORD start = GetTickCount();
    while (ListView_GetItemCount(list) == 0 && GetTickCount() - start < limitMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpMessages();
    }
    return ListView_GetItemCount(list) > 0;
}

TEST_F(TrayTest, TheMenuItemsSynchroniseRestoreAndExit)
{
    GivenServerList("0\tA\t" + PeerAddress("silent") + "\r\n1\tGood\t" + PeerAddress("good") + "\r\n");
    Open();
    Minimise();
    const DWORD before = GetTickCount();
    SendMessageA(dialog_->m_hWnd, WM_COMMAND, IDM_TRAY_SYNC, 0);
    EXPECT_GE(dialog_->Schedule().lastSyncTick, before) << "counted as a due synchronisation";
    ASSERT_TRUE(WaitForLogRow(LogList(), 5000));
    EXPECT_EQ("Good", dialog_->CurrentServer().name) << "the next ticked server";
    EXPECT_EQ(2, dialog_->Schedule().nextServer) << "the round moved on";

    SendMessageA(dialog_->m_hWnd, WM_COMMAND, IDM_TRAY_SHOW, 0);
    EXPECT_TRUE(IsWindowVisible(dialog_->m_hWnd));
    EXPECT_FALSE(IsIconic(dialog_->m_hWnd));

    SendMessageA(dialog_->m_hWnd, WM_COMMAND, IDM_TRAY_EXIT, 0);
    EXPECT_EQ(IDCANCEL, TakeQuitMessage()) << "the exit command's code";
    EXPECT_EQ("0\tA\t" + PeerAddress("silent") + "\r\n1\tGood\t" + PeerAddress("good") + "\r\n",
              ReadFileBytes(ServerListPath()));
    EXPECT_EQ("60", Setting("SETTING", "INTERVAL"));
}

TEST_F(TrayTest, TheTipNamesTheLastSynchronisation)
{
    GivenServerList("1\tGood\t" + PeerAddress("good") + "\r\n");
    Open();
    SendMessageA(dialog_->m_hWnd, WM_COMMAND, IDC_SYNC, 0);
    ASSERT_TRUE(WaitForLogRow(LogList(), 5000));
    ASSERT_EQ(3u, Calls().size()) << "the add, the version and the new tip";
    EXPECT_STREQ("Tempivo", Calls()[0].data.szTip) << "until the first synchronisation";
    EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), Calls()[2].message);
    EXPECT_EQ(static_cast<UINT>(NIF_TIP | NIF_SHOWTIP), Calls()[2].data.uFlags);
    const std::string tip = Calls()[2].data.szTip;
    // "Tempivo", then "前回の同期: 2026/12/08 14:35:02 同期成功".
    ASSERT_EQ(std::string("Tempivo\n前回の同期: ").size() + 19 + std::string(" 同期成功").size(), tip.size()) << tip;
    EXPECT_EQ(0u, tip.find("Tempivo\n前回の同期: 20"));
    EXPECT_EQ(tip.size() - std::string(" 同期成功").size(), tip.find(" 同期成功"));
}

// Synchronises with the 同期 button and waits for the round's rows.
void SyncAndWait(HWND window, HWND logList, int rowsBefore)
{
    SendMessageA(window, WM_COMMAND, IDC_SYNC, 0);
    const DWORD start = GetTickCount();
    while (ListView_GetItemCount(logList) <= rowsBefore && GetTickCount() - start < 6000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpMessages();
    }
}

TEST_F(TrayTest, TheIconWarnsAfterAFailedRoundAndABalloonComesOncePerKind)
{
    // An address that fails at once, and the good server: the 同期 button asks the selected row.
    GivenServerList("1\tBad\tlocalhost:12345678\r\n1\tGood\t" + PeerAddress("good") + "\r\n");
    Open();
    const HICON normal = Calls()[0].data.hIcon;
    const auto iconChanges = [&] {
        std::vector<HICON> icons;
        for (const ShellNotifyCall& call : Calls()) {
            if (call.message == NIM_MODIFY && (call.data.uFlags & NIF_ICON)) icons.push_back(call.data.hIcon);
        }
        return icons;
    };
    const auto balloons = [&] {
        std::vector<std::string> texts;
        for (const ShellNotifyCall& call : Calls()) {
            if (call.message == NIM_MODIFY && (call.data.uFlags & NIF_INFO)) texts.push_back(call.data.szInfo);
        }
        return texts;
    };
    SelectServerRow(ServerList(), 0);
    SyncAndWait(dialog_->m_hWnd, LogList(), 0);
    SyncAndWait(dialog_->m_hWnd, LogList(), 1);
    ASSERT_EQ(1u, iconChanges().size()) << "the warning icon once, for two failed rounds";
    EXPECT_NE(normal, iconChanges()[0]);
    ASSERT_EQ(1u, balloons().size()) << "one balloon for the same failure twice";
    // The tip's line about the row first, which names the reason; then what the kind of failure means.
    const std::string reason = " 接続先不明\n時刻サーバから使える応答がありませんでした。ログをご覧ください。";
    EXPECT_EQ(0u, balloons()[0].find("前回の同期: ")) << balloons()[0];
    ASSERT_GT(balloons()[0].size(), reason.size());
    EXPECT_EQ(reason, balloons()[0].substr(balloons()[0].size() - reason.size()));

    SelectServerRow(ServerList(), 1);
    SyncAndWait(dialog_->m_hWnd, LogList(), 2);
    ASSERT_EQ(2u, iconChanges().size()) << "the normal icon after a good round";
    SelectServerRow(ServerList(), 0);
    SyncAndWait(dialog_->m_hWnd, LogList(), 3);
    EXPECT_EQ(2u, balloons().size()) << "a failure after a good round is told again";
}

TEST_F(TrayTest, AResumeSynchronisesOnceTenSecondsLater)
{
    GivenServerList("1\tGood\t" + PeerAddress("good") + "\r\n");
    Open();
    const DWORD resumed = GetTickCount();
    SendMessageA(dialog_->m_hWnd, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    SendMessageA(dialog_->m_hWnd, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    ASSERT_TRUE(WaitForLogRow(LogList(), 12000));
    EXPECT_GE(GetTickCount() - resumed, 9500u) << "the network needs a moment";
    const DWORD settled = GetTickCount();
    while (GetTickCount() - settled < 1500) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpMessages();
    }
    EXPECT_EQ(1, ListView_GetItemCount(LogList())) << "two notices, one synchronisation";
}

TEST_F(TrayTest, WithoutAutomaticSynchronisationsAResumeStartsNone)
{
    GivenServerList("1\tGood\t" + PeerAddress("good") + "\r\n");
    GivenSettings("[SETTING]\r\nINTERVAL=0\r\n");
    Open();
    SendMessageA(dialog_->m_hWnd, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    SendMessageA(dialog_->m_hWnd, WM_TIMER, RESUME_TIMER_ID, 0);  // even a tick that came anyway
    EXPECT_EQ(INVALID_SOCKET, dialog_->Query().Socket());
    EXPECT_FALSE(WaitForLogRow(LogList(), 300));
}

}  // namespace

// The main window as it comes up: its controls, size, font, list columns, icons and loop hooks.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <cstring>
#include <string>
#include <vector>

#include "../dialog_driver.h"
#include "../main_window_fixture.h"
#include "res/resource.h"
#include "shell/app_module_win32.h"
#include "../win_test_support.h"

namespace {

struct ExpectedControl {
    int id;
    const char* className;
    const char* text;
};

// Template order, which is also the tab order.
const ExpectedControl kControls[] = {
    {-1, "Static", "NTP Server(&L)"},
    {IDC_SERVER_LIST, "SysListView32", ""},
    {IDC_ADD, "Button", "追加(&A)"},
    {IDC_DELETE, "Button", "削除(&D)"},
    {IDC_MOVE_UP, "Button", "上移動(&U)"},
    {IDC_MOVE_DOWN, "Button", "下移動(&N)"},
    {IDC_SYNC, "Button", "同期(&S)"},
    {-1, "Button", "システム設定"},
    {-1, "Static", "自動同期インターバル(&I)"},
    {IDC_INTERVAL_EDIT, "Edit", "60"},
    {IDC_INTERVAL_SPIN, "msctls_updown32", ""},
    {-1, "Static", "[min]"},
    {-1, "Static", "オフセット秒数(&O)"},
    {IDC_OFFSET_EDIT, "Edit", "0"},
    {IDC_OFFSET_SPIN, "msctls_updown32", ""},
    {-1, "Static", "[sec]"},
    {IDC_MINIMIZE_CHECK, "Button", "起動時にウィンドウを最小化する(&M)"},
    {IDC_SYNC_AT_START_CHECK, "Button", "起動時に時刻を同期する(&T)"},
    {IDC_CONSENSUS_CHECK, "Button", "複数のサーバで確認する(&C)"},
    {-1, "Static", "ログ情報(&G)"},
    {IDC_LOG_LIST, "SysListView32", ""},
    {IDC_ABOUT_BUTTON, "Button", "バージョン情報(&V)"},
    {IDC_SERVICE_LINE, "Static", ""},  // the time service's line, hidden while none is installed
    {IDC_HELP_BUTTON, "Button", "ヘルプ(&H)"},
    {IDCANCEL, "Button", "終了(&X)"},
};

struct Column {
    std::string title;
    int width;
};

std::vector<Column> Columns(HWND list)
{
    std::vector<Column> columns;
    for (int i = 0;; ++i) {
        char title[64] = "";
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = title;
        column.cchTextMax = sizeof title;
        if (!SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column))) {
            return columns;
        }
        columns.push_back({title, column.cx});
    }
}

int OuterWidth(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return r.right - r.left;
}

TEST_F(MainWindowTest, HasEveryControlInTemplateOrder)
{
    Open();
    HWND child = GetWindow(dialog_->m_hWnd, GW_CHILD);
    for (const ExpectedControl& expected : kControls) {
        ASSERT_NE(nullptr, child) << expected.text;
        EXPECT_EQ(expected.id, GetDlgCtrlID(child) == 0xFFFF ? -1 : GetDlgCtrlID(child)) << expected.text;
        EXPECT_EQ(expected.className, ClassName(child)) << expected.text;
        EXPECT_EQ(expected.text, WindowText(child));
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, child) << "no further controls";
}

TEST_F(MainWindowTest, IsTheSizeAndFontOfItsTemplate)
{
    Open();
    EXPECT_EQ("Tempivo", WindowText(dialog_->m_hWnd));
    RECT expected{0, 0, 490, 222};
    MapDialogRect(dialog_->m_hWnd, &expected);
    RECT client;
    GetClientRect(dialog_->m_hWnd, &client);
    EXPECT_EQ(expected.right, client.right);
    EXPECT_EQ(expected.bottom, client.bottom);

    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog_->m_hWnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ("MS UI Gothic", font.lfFaceName);

    const LONG style = GetWindowLongA(dialog_->m_hWnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_THICKFRAME) << "can be resized";
    EXPECT_FALSE(IsWindowVisible(dialog_->m_hWnd)) << "created hidden; the start-up shows it";
}

TEST_F(MainWindowTest, IsCentredOnTheWorkArea)
{
    Open();
    RECT window;
    RECT work;
    GetWindowRect(dialog_->m_hWnd, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ((work.left + work.right) / 2 - (window.right - window.left) / 2, window.left);
    EXPECT_EQ((work.top + work.bottom) / 2 - (window.bottom - window.top) / 2, window.top);
}

TEST_F(MainWindowTest, ListsHaveTheirColumnsAndStyles)
{
    Open();
    const int scrollAndEdges = GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE);

    const std::vector<Column> servers = Columns(ServerList());
    ASSERT_EQ(2u, servers.size());
    EXPECT_EQ("サーバ", servers[0].title);
    EXPECT_EQ(OuterWidth(ServerList()) - scrollAndEdges, servers[0].width);
    EXPECT_EQ("アドレス", servers[1].title);
    EXPECT_EQ(0, servers[1].width) << "the address column exists but is not visible";
    EXPECT_EQ(0x424, SendMessageA(ServerList(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));

    const std::vector<Column> log = Columns(LogList());
    ASSERT_EQ(5u, log.size());
    const char* const titles[] = {"接続先", "サーバ時刻情報", "ローカル時刻情報", "ステータス", "補正"};
    int total = 0;
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(titles[i], log[i].title);
        total += log[i].width;
    }
    EXPECT_EQ(OuterWidth(LogList()) - scrollAndEdges, total) << "the columns fill the list";
    // The longest texts each column shows, measured under the list's font, fit with the cell's margins.
    const char* const widest[] = {"接続先", "2026/12/31 23:59:59.9999", "2026/12/31 23:59:59.9999",
                                  "権限エラー", "-3600.120 秒"};
    for (size_t i = 0; i < log.size(); ++i) {
        const int text = static_cast<int>(
            SendMessageA(LogList(), LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(widest[i])));
        EXPECT_LE(text + 12, log[i].width) << widest[i];
    }
    EXPECT_EQ(0x420, SendMessageA(LogList(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));

    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(LogList(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(nullptr, images);
    EXPECT_EQ(2, ImageList_GetImageCount(images)) << "a set clock's and a failure's";
}

TEST_F(MainWindowTest, SpinsCoverTheRangesOfTheirEdits)
{
    Open();
    int low = 0;
    int high = 0;
    SendMessageA(Control(IDC_INTERVAL_SPIN), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(0, low);
    EXPECT_EQ(360, high);
    SendMessageA(Control(IDC_OFFSET_SPIN), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(-360, low);
    EXPECT_EQ(360, high);
    EXPECT_EQ(Control(IDC_INTERVAL_EDIT), reinterpret_cast<HWND>(SendMessageA(Control(IDC_INTERVAL_SPIN), UDM_GETBUDDY, 0, 0)));
    EXPECT_EQ(Control(IDC_OFFSET_EDIT), reinterpret_cast<HWND>(SendMessageA(Control(IDC_OFFSET_SPIN), UDM_GETBUDDY, 0, 0)));
}

TEST_F(MainWindowTest, CarriesTheProgramIcon)
{
    Open();
    EXPECT_NE(0, SendMessageA(dialog_->m_hWnd, WM_GETICON, ICON_BIG, 0));
    EXPECT_NE(0, SendMessageA(dialog_->m_hWnd, WM_GETICON, ICON_SMALL, 0));
}

TEST_F(MainWindowTest, JoinsTheThreadsLoopForDialogKeysAndAsksForNoIdleWork)
{
    Open();
    ASSERT_EQ(1u, loop_.m_preFilters.size());
    EXPECT_EQ(static_cast<CMessagePreFilter*>(dialog_.get()), loop_.m_preFilters[0]);
    EXPECT_TRUE(loop_.m_idleTasks.empty()) << "an idle task that does nothing only costs the loop a call";

    // Esc reaches the dialog through the pre-filter as the exit command.
    MSG escape{ServerList(), WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {0, 0}};
    EXPECT_TRUE(loop_.FilterMessage(&escape));
    EXPECT_EQ(IDCANCEL, TakeQuitMessage());
}

TEST_F(MainWindowTest, NumberEditsTakeKeysWithoutTheInputMethod)
{
    Open();
    ShowWindow(dialog_->m_hWnd, SW_SHOW);
    HIMC context = ImmCreateContext();
    for (HWND edit : {Control(IDC_INTERVAL_EDIT), Control(IDC_OFFSET_EDIT)}) {
        ImmAssociateContext(edit, context);
        ASSERT_EQ(context, ImmAssociateContext(edit, context)) << "the platform keeps the association";
        SetFocus(edit);
        EXPECT_EQ(nullptr, ImmAssociateContext(edit, nullptr)) << "focus detached the edit";
    }
    ImmDestroyContext(context);
}

TEST_F(MainWindowTest, UninstallingFromTheSystemMenuAsksFirst)
{
    Open();
    std::string question;
    WhenWindowOpens("Tempivo", [&](HWND box) {
        question = WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, IDNO, 0);
    });
    SendMessageA(dialog_->m_hWnd, WM_SYSCOMMAND, IDM_UNINSTALL_SERVICE, 0);
    EXPECT_TRUE(DialogActionRan()) << "a question came";
    EXPECT_NE(std::string::npos, question.find("アンインストールしますか")) << question;
    // The elevated command saves the files before it starts; after No nothing was saved or started.
    EXPECT_FALSE(FileExists(ServerListPath())) << "nothing started";
    WhenWindowOpens("<no such window>", [](HWND) {});
}

TEST_F(MainWindowTest, TheSystemMenuBringsTheRightsNoticeBack)
{
    // Each click turns it over; what the box shows is what the INI gets.
    const struct {
        const char* settings;
        bool checkedAtStart;
        int clicks;
        const char* written;
    } cases[] = {
        {"[SETTING]\r\nRIGHTSNOTICE=0\r\n", false, 1, "1"},
        {"[SETTING]\r\nRIGHTSNOTICE=0\r\n", false, 2, "0"},
        {"", true, 1, "0"},
        {"", true, 0, "<none>"},
    };
    for (const auto& c : cases) {
        GivenSettings(c.settings);
        Open();
        HMENU menu = GetSystemMenu(dialog_->m_hWnd, FALSE);
        const auto checked = [&] { return (GetMenuState(menu, IDM_RIGHTS_NOTICE, MF_BYCOMMAND) & MF_CHECKED) != 0; };
        EXPECT_EQ(c.checkedAtStart, checked()) << c.settings;
        for (int i = 0; i < c.clicks; ++i) {
            SendMessageA(dialog_->m_hWnd, WM_SYSCOMMAND, IDM_RIGHTS_NOTICE, 0);
        }
        EXPECT_EQ(c.checkedAtStart != (c.clicks % 2 == 1), checked()) << c.settings;
        CloseWithExitCommand();
        EXPECT_EQ(c.written, Setting("SETTING", "RIGHTSNOTICE")) << c.settings << " after " << c.clicks;
        DeleteFileA(SettingsPath().c_str());
    }
}

TEST_F(MainWindowTest, F1AnywhereInTheWindowOpensTheHelp)
{
    // The stand-in engine records the call instead of opening a viewer; nothing in this program has
    // loaded the process's engine before.
    const char key[] = "Software\\Classes\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
    char registered[MAX_PATH] = "";
    LONG size = sizeof registered;
    RegQueryValueA(HKEY_LOCAL_MACHINE, key, registered, &size);
    // A copy of its own: the engine stays loaded for the rest of the process, apart from the
    // engine tests' stand-in.
    const std::string fake = ProgramFolder() + "f1_hhctrl.dll";
    CopyFileA((ProgramFolder() + "fake_hhctrl.dll").c_str(), fake.c_str(), FALSE);
    RegSetValueA(HKEY_LOCAL_MACHINE, key, REG_SZ, fake.c_str(), static_cast<DWORD>(fake.size()));

    Open();
    // Started from another folder, as after an elevated restart or from the Task Scheduler.
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    SetCurrentDirectoryA("C:\\");
    MSG key1{ServerList(), WM_KEYDOWN, VK_F1, 0, 0, {0, 0}};
    EXPECT_TRUE(loop_.FilterMessage(&key1)) << "the window's loop takes F1";
    HMODULE engine = GetModuleHandleA(fake.c_str());
    RegSetValueA(HKEY_LOCAL_MACHINE, key, REG_SZ, registered, static_cast<DWORD>(std::strlen(registered)));
    ASSERT_NE(nullptr, engine) << "the help engine was asked";
    const auto calls = reinterpret_cast<int(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(engine, "FakeHelpCalls")));
    const auto lastCall = reinterpret_cast<void(WINAPI*)(char*, UINT*, DWORD_PTR*)>(
        reinterpret_cast<void*>(GetProcAddress(engine, "FakeHelpLastCall")));
    EXPECT_EQ(1, calls());
    char file[MAX_PATH] = "";
    UINT command = 0xFFFF;
    DWORD_PTR data = 0;
    lastCall(file, &command, &data);
    SetCurrentDirectoryA(current);
    EXPECT_EQ(ProgramFolder() + "horavo.chm", file) << "the help beside the program, whatever the current folder";
    MSG other{ServerList(), WM_KEYDOWN, VK_F2, 0, 0, {0, 0}};
    loop_.FilterMessage(&other);
    EXPECT_EQ(1, calls()) << "only F1";
}

}  // namespace

// The window from the keyboard: access keys and tab order of every dialog as the resources make
// them, the menus' keys, and what Enter and F2 do where they mean something of their own.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "../dialog_driver.h"
#include "../main_window_fixture.h"
#include "res/resource.h"
#include "../win_test_support.h"

namespace {

// The access key of a text: the character after a single '&' ("&&" is an ampersand), upper case.
char AccessKey(const std::string& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] != '&') {
                return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
            }
            ++i;
        }
    }
    return '\0';
}

// Keys shared by two controls or items, and the buttons and check boxes without one.
struct KeyFaults {
    std::string shared;
    std::string missing;
};

void Count(std::map<char, std::string>* seen, KeyFaults* faults, const std::string& text, bool needsKey)
{
    const char key = AccessKey(text);
    if (key == '\0') {
        if (needsKey) {
            faults->missing += text + "\n";
        }
        return;
    }
    if (seen->count(key) != 0) {
        faults->shared += std::string(1, key) + ": " + (*seen)[key] + " / " + text + "\n";
    }
    (*seen)[key] = text;
}

KeyFaults DialogKeys(HWND dialog)
{
    std::map<char, std::string> seen;
    KeyFaults faults;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        const std::string kind = ClassName(child);
        const bool button = kind == "Button" && (style & BS_TYPEMASK) != BS_GROUPBOX;
        const bool label = kind == "Static" && (style & SS_NOPREFIX) == 0;
        if (button || label) {
            Count(&seen, &faults, WindowText(child), button);
        }
    }
    return faults;
}

KeyFaults MenuKeys(HMENU menu, int firstItem)
{
    std::map<char, std::string> seen;
    KeyFaults faults;
    for (int i = firstItem; i < GetMenuItemCount(menu); ++i) {
        char text[256] = "";
        if (GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION) > 0) {
            Count(&seen, &faults, text, true);
        }
    }
    return faults;
}

INT_PTR CALLBACK InertDialog(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

std::vector<int> TabOrder(HWND dialog)
{
    std::vector<int> order;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND item = first; item != nullptr;) {
        order.push_back(GetDlgCtrlID(item));
        item = GetNextDlgTabItem(dialog, item, FALSE);
        if (item == first) {
            break;
        }
    }
    return order;
}

// Each dialog's stops as the eye reads it: the server list's column, the buttons beside it, the
// settings group top to bottom, the log, then the bottom row from the left.
const struct {
    int dialog;
    const char* name;
    std::vector<int> tabOrder;
} kDialogs[] = {
    {IDD_MAIN, "main window",
     {IDC_SERVER_LIST, IDC_ADD, IDC_DELETE, IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_SYNC, IDC_INTERVAL_EDIT, IDC_OFFSET_EDIT,
      IDC_MINIMIZE_CHECK, IDC_SYNC_AT_START_CHECK, IDC_CONSENSUS_CHECK, IDC_LOG_LIST, IDC_ABOUT_BUTTON,
      IDC_HELP_BUTTON, IDCANCEL}},
    {IDD_SERVER_ENTRY, "entry dialog", {IDC_ENTRY_NAME, IDC_ENTRY_ADDRESS, IDC_ENTRY_NTS, IDOK, IDCANCEL}},
    {IDD_ABOUT, "about box", {IDOK}},
};

TEST_F(MainWindowTest, EveryDialogHasDistinctAccessKeysAndTabsInVisualOrder)
{
    for (const auto& d : kDialogs) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(d.dialog), nullptr,
                                         InertDialog, 0);
        ASSERT_NE(nullptr, dialog) << d.name;
        const KeyFaults faults = DialogKeys(dialog);
        EXPECT_EQ("", faults.shared) << d.name << ": keys used twice";
        EXPECT_EQ("", faults.missing) << d.name << ": buttons and check boxes without a key";
        EXPECT_EQ(d.tabOrder, TabOrder(dialog)) << d.name;
        DestroyWindow(dialog);
    }
}

TEST_F(MainWindowTest, TheTrayMenuAndTheSystemMenusItemsHaveDistinctKeys)
{
    HMENU tray = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    ASSERT_NE(nullptr, tray);
    const KeyFaults trayFaults = MenuKeys(GetSubMenu(tray, 0), 0);
    EXPECT_EQ("", trayFaults.shared);
    EXPECT_EQ("", trayFaults.missing);
    DestroyMenu(tray);

    Open();
    HMENU system = GetSystemMenu(dialog_->m_hWnd, FALSE);
    std::map<char, std::string> seen;
    KeyFaults faults;
    std::vector<UINT> windowsOwn;
    const std::vector<UINT> expected = {IDM_INSTALL_SERVICE, IDM_UPDATE_SERVICE, IDM_UNINSTALL_SERVICE,
                                        IDM_RIGHTS_NOTICE};
    for (int i = 0; i < GetMenuItemCount(system); ++i) {
        char text[256] = "";
        GetMenuStringA(system, i, text, sizeof text, MF_BYPOSITION);
        const UINT id = GetMenuItemID(system, i);
        // The platform's own items may go without; the window's must not.
        const bool own = std::find(expected.begin(), expected.end(), id) != expected.end();
        if (own) {
            windowsOwn.push_back(id);
        }
        if (text[0] != '\0') {
            Count(&seen, &faults, text, own);
        }
    }
    EXPECT_EQ(expected, windowsOwn) << "the window's items, in this order";
    EXPECT_EQ("", faults.shared);
    EXPECT_EQ("", faults.missing);
}

enum class AfterKey { Ends, EditsRow, MovesOn };

TEST_F(MainWindowTest, EnterAndF2DoWhatTheControlWithTheFocusMeans)
{
    const struct {
        int control;
        const char* typed;  // into the control first, when it is a box
        WPARAM key;
        AfterKey after;
        const char* textAfter;
        int value;          // the interval or offset afterwards
        int nextFocus;
    } cases[] = {
        {IDC_INTERVAL_EDIT, "15", VK_RETURN, AfterKey::MovesOn, "15", 15, IDC_OFFSET_EDIT},
        {IDC_OFFSET_EDIT, "-", VK_RETURN, AfterKey::MovesOn, "0", 0, IDC_MINIMIZE_CHECK},
        {IDC_OFFSET_EDIT, "-7", VK_RETURN, AfterKey::MovesOn, "-7", -7, IDC_MINIMIZE_CHECK},
        {IDC_SERVER_LIST, nullptr, VK_RETURN, AfterKey::EditsRow, nullptr, 0, 0},
        {IDC_SERVER_LIST, nullptr, VK_F2, AfterKey::EditsRow, nullptr, 0, 0},
        {IDC_LOG_LIST, nullptr, VK_RETURN, AfterKey::Ends, nullptr, 0, 0},
        {IDC_INTERVAL_EDIT, "15", VK_ESCAPE, AfterKey::Ends, nullptr, 0, 0},
    };
    for (const auto& c : cases) {
        const std::string what = std::to_string(c.control) + " key " + std::to_string(c.key);
        GivenServerList("1\tA\ta\r\n");
        Open();
        ShowWindow(dialog_->m_hWnd, SW_SHOW);
        // Focus moves only within the active window: a busy desktop may not have made it so yet.
        SetForegroundWindow(dialog_->m_hWnd);
        SetActiveWindow(dialog_->m_hWnd);
        HWND control = Control(c.control);
        SetFocus(control);
        ASSERT_EQ(control, GetFocus()) << what;
        if (c.typed != nullptr) {
            SetWindowTextA(control, c.typed);
        }
        bool entryOpened = false;
        WhenWindowOpens("接続先設定", [&](HWND entry) {
            entryOpened = true;
            PostMessageA(entry, WM_COMMAND, IDCANCEL, 0);
        });
        MSG key{control, WM_KEYDOWN, c.key, 0x00010001, 0, {0, 0}};
        EXPECT_TRUE(loop_.FilterMessage(&key)) << what;
        PumpMessages();
        EXPECT_EQ(c.after == AfterKey::EditsRow, entryOpened) << what;
        EXPECT_EQ(c.after == AfterKey::Ends ? IDCANCEL : -1, TakeQuitMessage()) << what;
        if (c.after == AfterKey::MovesOn) {
            EXPECT_EQ(c.textAfter, WindowText(control)) << what;
            EXPECT_EQ(c.value, c.control == IDC_INTERVAL_EDIT ? dialog_->Interval() : dialog_->Offset()) << what;
            EXPECT_EQ(Control(c.nextFocus), GetFocus()) << what;
        }
        WhenWindowOpens("<no such window>", [](HWND) {});
        if (IsWindow(dialog_->m_hWnd)) {
            DestroyWindow(dialog_->m_hWnd);
        }
    }
}

}  // namespace

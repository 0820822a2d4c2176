// The tray icon and the window's visibility: what the shell is asked, minimise, double-click, and
// the taskbar coming back.
#include <windows.h>

#include <string>

#include "main_window_fixture.h"
#include "shell/tray_icon.h"
#include "win_test_support.h"

namespace {

class TrayTest : public MainWindowTest {
protected:
    const std::vector<ShellNotifyCall>& Calls() const { return ShellNotifyCalls(); }

    void Minimise()
    {
        ShowWindow(dialog_->m_hWnd, SW_SHOWNORMAL);
        ShowWindow(dialog_->m_hWnd, SW_MINIMIZE);
    }

    void TrayMouse(UINT mouseMessage) { SendMessageA(dialog_->m_hWnd, WM_TRAYICON, 0, mouseMessage); }
};

TEST_F(TrayTest, TheIconIsAddedWithItsTipAndCallback)
{
    Open();
    ASSERT_EQ(1u, Calls().size());
    const ShellNotifyCall& add = Calls()[0];
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), add.message);
    // The record up to dwInfoFlags: its pointers make it longer in a 64-bit program.
    EXPECT_EQ(sizeof(void*) == 8 ? 504u : 488u, add.data.cbSize);
    EXPECT_EQ(dialog_->m_hWnd, add.data.hWnd);
    EXPECT_EQ(0u, add.data.uID);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), add.data.uFlags);
    EXPECT_EQ(3112u, add.data.uCallbackMessage);
    EXPECT_NE(nullptr, add.data.hIcon);
    EXPECT_STREQ("Tempivo", add.data.szTip);
    EXPECT_EQ(RegisterWindowMessageA("TaskbarCreated"), dialog_->TaskbarCreatedMessage());
}

TEST_F(TrayTest, TheExitCommandRemovesTheIconAndReleasesItsHandle)
{
    Open();
    const HICON icon = Calls()[0].data.hIcon;
    CloseWithExitCommand();
    ASSERT_EQ(2u, Calls().size());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), Calls()[1].message);
    EXPECT_EQ(Calls()[0].data.hWnd, Calls()[1].data.hWnd);
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(icon, &info)) << "the icon handle was destroyed";
}

TEST_F(TrayTest, ANewTaskbarGetsTheIconAgain)
{
    Open();
    const HICON first = Calls()[0].data.hIcon;
    SendMessageA(dialog_->m_hWnd, dialog_->TaskbarCreatedMessage(), 0, 0);
    ASSERT_EQ(2u, Calls().size());
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), Calls()[1].message);
    EXPECT_STREQ("Tempivo", Calls()[1].data.szTip);
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
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MOUSEMOVE}) {
        TrayMouse(mouse);
        EXPECT_FALSE(IsWindowVisible(dialog_->m_hWnd)) << mouse;
    }
}

}  // namespace

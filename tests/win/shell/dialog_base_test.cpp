// How a dialog window finds its object, and which results go back directly or through DWLP_MSGRESULT.
#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "shell/app_module_win32.h"
#include "shell/dialog_base_win32.h"
#include "ui/run_main_dialog.h"

namespace {

constexpr UINT kAskResult = WM_APP + 7;

class ProbeDialog : public CDialogBase {
public:
    bool HandleMessage(HWND window, UINT message, WPARAM, LPARAM, LRESULT* result, DWORD) override
    {
        if (message == WM_INITDIALOG) {
            windowAtInit = window;
            boundAtInit = m_hWnd;
            *result = FALSE;  // returned directly: no default focus
            return true;
        }
        if (message == kAskResult || message == WM_CTLCOLORDLG) {
            *result = 1234;
            return true;
        }
        return false;
    }

    void AfterLastMessage(HWND window) override { lastWindow = window; }

    HWND windowAtInit = nullptr;
    HWND boundAtInit = nullptr;
    HWND lastWindow = nullptr;
};

class DialogBaseTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { g_module.InitModule(GetModuleHandleA(nullptr)); }
};

TEST_F(DialogBaseTest, BindsTheWindowBeforeWmInitDialog)
{
    ProbeDialog dialog;
    HWND window = CreateDialogFor(&dialog, IDD_MAIN, nullptr);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(window, dialog.windowAtInit);
    EXPECT_EQ(window, dialog.boundAtInit);
    EXPECT_EQ(nullptr, g_module.m_pCreationList) << "the record was taken";
    DestroyWindow(window);
    EXPECT_EQ(nullptr, dialog.m_hWnd) << "the object lets go of its window at WM_NCDESTROY";
    EXPECT_EQ(window, dialog.lastWindow);
}

TEST_F(DialogBaseTest, ResultsGoThroughMsgResultOrDirectly)
{
    ProbeDialog dialog;
    HWND window = CreateDialogFor(&dialog, IDD_MAIN, nullptr);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(1234, SendMessageA(window, kAskResult, 0, 0));
    EXPECT_EQ(1234, GetWindowLongPtrA(window, DWLP_MSGRESULT));
    SetWindowLongPtrA(window, DWLP_MSGRESULT, 0);
    EXPECT_EQ(1234, SendMessageA(window, WM_CTLCOLORDLG, 0, 0)) << "a colour message returns its brush directly";
    EXPECT_EQ(0, GetWindowLongPtrA(window, DWLP_MSGRESULT));
    DestroyWindow(window);
}

TEST_F(DialogBaseTest, AFailedCreationLeavesNoRecordBehind)
{
    ProbeDialog dialog;
    EXPECT_EQ(nullptr, CreateDialogFor(&dialog, 4242, nullptr));
    EXPECT_EQ(nullptr, g_module.m_pCreationList);
}

TEST_F(DialogBaseTest, NoMainWindowMeansExitCodeZero)
{
    // A module without dialog 129 stands in for resources that cannot make the window.
    const HINSTANCE resources = g_module.m_hInstResource;
    g_module.m_hInstResource = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(0, RunMainDialog("", SW_SHOWNORMAL));
    g_module.m_hInstResource = resources;
    EXPECT_EQ(nullptr, g_module.GetMessageLoop(GetCurrentThreadId())) << "the loop was unregistered";
}

}  // namespace

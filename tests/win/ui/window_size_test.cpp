// The main window resized: the lists grow, the buttons keep to their edges, it goes no smaller than its
// template, and it opens again at the size it was left at (SETTING/WIDTH and HEIGHT).
#include <windows.h>

#include <string>

#include "../main_window_fixture.h"
#include "res/resource.h"
#include "shell/window_dpi_win32.h"
#include "../win_test_support.h"

namespace {

RECT InClient(HWND dialog, HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE OuterSize(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

class WindowSizeTest : public MainWindowTest {
protected:
    void Resize(int width, int height)
    {
        SetWindowPos(dialog_->m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    }
};

TEST_F(WindowSizeTest, ListsGrowAndButtonsKeepToTheirEdges)
{
    Open();
    HWND dialog = dialog_->m_hWnd;
    RECT client;
    GetClientRect(dialog, &client);
    const int ids[] = {IDC_SERVER_LIST, IDC_LOG_LIST, IDC_ADD, IDC_SYNC, IDC_INTERVAL_EDIT, IDC_CONSENSUS_CHECK,
                       IDC_ABOUT_BUTTON, IDC_HELP_BUTTON, IDCANCEL};
    RECT before[sizeof ids / sizeof ids[0]];
    for (size_t i = 0; i < sizeof ids / sizeof ids[0]; ++i) {
        before[i] = InClient(dialog, Control(ids[i]));
    }
    const SIZE size = OuterSize(dialog);
    Resize(size.cx + 100, size.cy + 80);  // within the test display's 1024 pixels at 144 DPI too
    RECT grown;
    GetClientRect(dialog, &grown);
    ASSERT_EQ(client.right + 100, grown.right);
    ASSERT_EQ(client.bottom + 80, grown.bottom);
    // What each control's edges did: left, top, right, bottom moved by this much.
    const struct {
        int dLeft, dTop, dRight, dBottom;
    } moved[] = {
        {0, 0, 100, 40},     // the server list: the width and half the height
        {0, 40, 100, 80},    // the log list: the width and the other half
        {100, 0, 100, 0},    // 追加 beside the server list, at its top
        {100, 0, 100, 0},    // 同期
        {100, 0, 100, 0},    // the interval box in the settings group
        {100, 0, 100, 0},    // the last check box
        {0, 80, 0, 80},      // バージョン情報 at the bottom left
        {100, 80, 100, 80},  // ヘルプ at the bottom right
        {100, 80, 100, 80},  // 終了
    };
    for (size_t i = 0; i < sizeof ids / sizeof ids[0]; ++i) {
        const RECT after = InClient(dialog, Control(ids[i]));
        EXPECT_EQ(before[i].left + moved[i].dLeft, after.left) << ids[i];
        EXPECT_EQ(before[i].top + moved[i].dTop, after.top) << ids[i];
        EXPECT_EQ(before[i].right + moved[i].dRight, after.right) << ids[i];
        EXPECT_EQ(before[i].bottom + moved[i].dBottom, after.bottom) << ids[i];
    }
    // No smaller than the template, however it is dragged.
    Resize(size.cx / 2, size.cy / 2);
    EXPECT_EQ(size.cx, OuterSize(dialog).cx);
    EXPECT_EQ(size.cy, OuterSize(dialog).cy);
}

TEST_F(WindowSizeTest, TheSizeLeftIsKeptAndOnlyAChangedOneIsWritten)
{
    Open();
    const SIZE minimum = OuterSize(dialog_->m_hWnd);
    const int dpi = WindowDpi(dialog_->m_hWnd);
    CloseWithExitCommand();
    EXPECT_EQ("<none>", Setting("SETTING", "WIDTH")) << "left alone: nothing written";

    Open();
    Resize(minimum.cx + 90, minimum.cy + 60);
    CloseWithExitCommand();
    EXPECT_EQ(std::to_string(MulDiv(minimum.cx + 90, 96, dpi)), Setting("SETTING", "WIDTH")) << "at 96 DPI";
    EXPECT_EQ(std::to_string(MulDiv(minimum.cy + 60, 96, dpi)), Setting("SETTING", "HEIGHT"));

    Open();
    EXPECT_NEAR(minimum.cx + 90, OuterSize(dialog_->m_hWnd).cx, 1) << "opens as it was left";
    EXPECT_NEAR(minimum.cy + 60, OuterSize(dialog_->m_hWnd).cy, 1);
    CloseWithExitCommand();

    // A stored size below the template's, or half a size, is not taken, and stays as it was.
    for (const char* stored : {"[SETTING]\r\nWIDTH=100\r\nHEIGHT=100\r\n", "[SETTING]\r\nWIDTH=2000\r\n"}) {
        GivenSettings(stored);
        Open();
        EXPECT_EQ(minimum.cx, OuterSize(dialog_->m_hWnd).cx) << stored;
        EXPECT_EQ(minimum.cy, OuterSize(dialog_->m_hWnd).cy) << stored;
        const std::string width = Setting("SETTING", "WIDTH");
        CloseWithExitCommand();
        EXPECT_EQ(width, Setting("SETTING", "WIDTH")) << stored;
    }
}

TEST_F(WindowSizeTest, AfterAMoveToAScreenOfOtherDpiTheMinimumScalesAndTheControlsStillFollow)
{
    // Wine never sends it; the message as Windows sends it, whose scaling of the controls Wine's
    // dialog manager leaves out: the places are taken again as they stand.
    Open();
    HWND dialog = dialog_->m_hWnd;
    const SIZE size = OuterSize(dialog);
    const int dpi = WindowDpi(dialog);
    RECT suggested;
    GetWindowRect(dialog, &suggested);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(dpi * 3 / 2, dpi * 3 / 2), reinterpret_cast<LPARAM>(&suggested));
    PumpMessages();
    MINMAXINFO limits{};
    SendMessageA(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(MulDiv(size.cx, 3, 2), limits.ptMinTrackSize.x);
    EXPECT_EQ(MulDiv(size.cy, 3, 2), limits.ptMinTrackSize.y);

    const RECT before = InClient(dialog, Control(IDCANCEL));
    const SIZE now = OuterSize(dialog);
    Resize(now.cx + 40, now.cy + 30);
    const RECT after = InClient(dialog, Control(IDCANCEL));
    EXPECT_EQ(before.left + (OuterSize(dialog).cx - now.cx), after.left) << "終了 keeps to the right edge";
    EXPECT_EQ(before.top + (OuterSize(dialog).cy - now.cy), after.top) << "and to the bottom";
}

}  // namespace

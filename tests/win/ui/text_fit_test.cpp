// No label, button or check box text is wider than its control, at whatever DPI the prefix runs
// (the suite runs once at 96 and once at 144 DPI).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "../dialog_driver.h"
#include "../main_window_fixture.h"
#include "res/resource.h"
#include "shell/window_dpi_win32.h"
#include "../win_test_support.h"

namespace {

// The room a control leaves its text: a push button's frame, a check box's box and gap.
int RoomForText(HWND control)
{
    RECT client;
    GetClientRect(control, &client);
    const int width = client.right - client.left;
    if (ClassName(control) != "Button") {
        return width;
    }
    const LONG style = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    if (style == BS_AUTOCHECKBOX || style == BS_CHECKBOX) {
        return width - GetSystemMetrics(SM_CXMENUCHECK) - ScaleForWindow(control, 4);
    }
    if (style == BS_GROUPBOX) {
        return width - ScaleForWindow(control, 16);
    }
    return width - 2 * GetSystemMetrics(SM_CXEDGE) - ScaleForWindow(control, 4);
}

// Every static and button child whose text, drawn in its own font, is wider than its room.
std::string CutTexts(HWND dialog)
{
    std::string cut;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string kind = ClassName(child);
        char text[256] = "";
        GetWindowTextA(child, text, sizeof text);
        if ((kind != "Static" && kind != "Button") || text[0] == '\0') {
            continue;
        }
        HDC dc = GetDC(child);
        const auto oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)));
        RECT needed{0, 0, 0, 0};
        DrawTextA(dc, text, -1, &needed, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, oldFont);
        ReleaseDC(child, dc);
        if (needed.right > RoomForText(child)) {
            cut += std::string(text) + " (" + std::to_string(needed.right) + " > " +
                   std::to_string(RoomForText(child)) + ")\n";
        }
    }
    return cut;
}

class TextFitTest : public MainWindowTest {};

TEST_F(TextFitTest, EveryDialogsTextsFitTheirControls)
{
    Open();
    const int dpi = WindowDpi(dialog_->m_hWnd);
    EXPECT_EQ("", CutTexts(dialog_->m_hWnd)) << "main window at " << dpi << " DPI";
    // The 同期 button's words while a server is asked.
    SetWindowTextA(GetDlgItem(dialog_->m_hWnd, IDC_SYNC), "問い合わせ中...");
    EXPECT_EQ("", CutTexts(dialog_->m_hWnd)) << "asking, at " << dpi << " DPI";

    const struct {
        const char* title;
        int command;
    } boxes[] = {{"バージョン情報", IDC_ABOUT_BUTTON}, {"接続先設定", IDC_ADD}};
    for (const auto& box : boxes) {
        std::string cut = "<not opened>";
        WhenWindowOpens(box.title, [&](HWND window) {
            cut = CutTexts(window);
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        });
        SendMessageA(dialog_->m_hWnd, WM_COMMAND, MAKEWPARAM(box.command, BN_CLICKED), 0);
        EXPECT_EQ("", cut) << box.title << " at " << dpi << " DPI";
    }
}

}  // namespace

// The about box: centred over the main window inside the work area, and every way of closing it.
#include <windows.h>

#include <functional>

#include "../dialog_driver.h"
#include "../main_window_fixture.h"
#include "res/resource.h"
#include "shell/centring.h"
#include "../win_test_support.h"

namespace {

const char kAboutTitle[] = "バージョン情報";

Rect AsRect(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

class AboutTest : public MainWindowTest {
protected:
    void OpenAbout() { SendMessageA(dialog_->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_BUTTON, BN_CLICKED), 0); }
};

TEST_F(AboutTest, OpensCentredOverTheMainWindowInsideTheWorkArea)
{
    Open();
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (int left : {200, -300, static_cast<int>(work.right) - 100}) {
        SetWindowPos(dialog_->m_hWnd, nullptr, left, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ShowWindow(dialog_->m_hWnd, SW_SHOWNORMAL);
        SetActiveWindow(dialog_->m_hWnd);
        RECT main;
        GetWindowRect(dialog_->m_hWnd, &main);
        RECT about{};
        HWND owner = nullptr;
        WhenWindowOpens(kAboutTitle, [&](HWND box) {
            GetWindowRect(box, &about);
            owner = GetWindow(box, GW_OWNER);
            ClickButton(box, IDOK);
        });
        OpenAbout();
        ASSERT_TRUE(DialogActionRan()) << left;
        EXPECT_EQ(dialog_->m_hWnd, owner);
        const Point expected = CentredPosition(AsRect(about), &static_cast<const Rect&>(AsRect(main)), AsRect(work));
        EXPECT_EQ(expected.x, about.left) << left;
        EXPECT_EQ(expected.y, about.top) << left;
        EXPECT_GE(about.left, work.left) << left;
        EXPECT_LE(about.right, work.right) << left;
    }
}

TEST_F(AboutTest, OkEnterEscAndTheCloseBoxEachCloseIt)
{
    Open();
    const struct {
        const char* how;
        std::function<void(HWND)> close;
    } ways[] = {
        {"OK", [](HWND box) { ClickButton(box, IDOK); }},
        {"Enter", [](HWND box) { PostMessageA(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_RETURN, 0x001C0001); }},
        {"Esc", [](HWND box) { PostMessageA(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }},
        {"close box", [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        WhenWindowOpens(kAboutTitle, way.close);
        OpenAbout();  // returns only once the box has closed
        EXPECT_TRUE(DialogActionRan()) << way.how;
    }
    EXPECT_TRUE(IsWindow(dialog_->m_hWnd)) << "nothing else changed";
}

TEST_F(AboutTest, ShowsTheProgramsIconNameAndVersion)
{
    Open();
    bool hasIcon = false;
    std::string texts;
    WhenWindowOpens(kAboutTitle, [&](HWND box) {
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            hasIcon = hasIcon || SendMessageA(child, STM_GETICON, 0, 0) != 0;
            texts += WindowText(child) + "|";
        }
        ClickButton(box, IDOK);
    });
    OpenAbout();
    EXPECT_TRUE(hasIcon);
    EXPECT_NE(std::string::npos, texts.find("Tempivo")) << texts;
    EXPECT_NE(std::string::npos, texts.find("1.0.0")) << texts;
}

}  // namespace

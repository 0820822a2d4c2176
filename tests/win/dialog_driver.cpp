// A thread timer looks for the awaited window: modal loops dispatch thread timers too (Win32).
#include "dialog_driver.h"

namespace {

std::string g_title;
std::function<void(HWND)> g_action;
DWORD g_notBefore = 0;
UINT_PTR g_timer = 0;
bool g_ran = false;

struct Search {
    const std::string* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && *search->title == title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK LookForWindow(HWND, UINT, UINT_PTR, DWORD)
{
    if (GetTickCount() - g_notBefore > 0x80000000u) {
        return;  // not yet
    }
    Search search{&g_title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        return;
    }
    KillTimer(nullptr, g_timer);
    g_timer = 0;
    g_ran = true;
    g_action(search.found);
}

}  // namespace

void WhenWindowOpens(const std::string& title, std::function<void(HWND window)> action, DWORD delayMs)
{
    g_title = title;
    g_action = std::move(action);
    g_notBefore = GetTickCount() + delayMs;
    g_ran = false;
    if (g_timer != 0) {
        KillTimer(nullptr, g_timer);
    }
    g_timer = SetTimer(nullptr, 0, 10, LookForWindow);
}

bool DialogActionRan()
{
    return g_ran;
}

void SetControlText(HWND window, int id, const std::string& text)
{
    SetDlgItemTextA(window, id, text.c_str());
}

void ClickButton(HWND window, int id)
{
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// Adding and removing the tray icon; each icon handle is released once it is no longer shown (Win32).
#include "tray_icon_win32.h"

#include "res/resource.h"
#include "tray_event.h"

CTrayIcon::NotifyFunction CTrayIcon::s_notify = Shell_NotifyIconA;

namespace {

// The record up to dwInfoFlags, without the trailing GUID: what every shell since 2000 takes.
// Its size follows the pointers in it: 488 bytes in a 32-bit program, 504 in a 64-bit one.
constexpr DWORD kNotifyIconDataSize = NOTIFYICONDATAA_V2_SIZE;
static_assert(sizeof(void*) != 4 || kNotifyIconDataSize == 488, "the 32-bit record is 488 bytes");

// With version 4 the shell hides the standard tip unless each add and change asks for it.
constexpr UINT kAddFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;

// The platform-free table names the shell's numbers itself; they must be the headers'.
static_assert(tray_code::kContextMenu == WM_CONTEXTMENU, "WM_CONTEXTMENU");
static_assert(tray_code::kLeftButtonUp == WM_LBUTTONUP, "WM_LBUTTONUP");
static_assert(tray_code::kLeftDoubleClick == WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK");
static_assert(tray_code::kRightButtonUp == WM_RBUTTONUP, "WM_RBUTTONUP");
static_assert(tray_code::kSelect == NIN_SELECT, "NIN_SELECT");
static_assert(tray_code::kKeySelect == NIN_KEYSELECT, "NIN_KEYSELECT");
static_assert(tray_code::kBalloonUserClick == NIN_BALLOONUSERCLICK, "NIN_BALLOONUSERCLICK");
static_assert(tray_code::kVersion4 == NOTIFYICON_VERSION_4, "NOTIFYICON_VERSION_4");

// The small icon at the size the system asks for at its DPI, in 32-bit colour where the file has it.
HICON LoadTrayImage(HINSTANCE instance, bool trouble)
{
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(trouble ? IDI_TRAY_TROUBLE : IDI_PROGRAM),
                                         IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                         LR_DEFAULTCOLOR));
}

}  // namespace

void AllowTrayMessages(HWND window, UINT taskbarCreated)
{
    using FilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW; the call is Windows 7's, so it is looked up
    const auto filter = reinterpret_cast<FilterFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx")));
    if (filter == nullptr) {
        return;
    }
    filter(window, taskbarCreated, kAllow, nullptr);
    filter(window, WM_TRAYICON, kAllow, nullptr);
}

void CTrayIcon::Add(HWND window, HINSTANCE instance, UINT callbackMessage)
{
    m_instance = instance;
    HICON previous = m_data.hIcon;
    m_data.cbSize = kNotifyIconDataSize;
    m_data.hWnd = window;
    m_data.uID = 0;
    m_data.uFlags = kAddFlags;
    m_data.uCallbackMessage = callbackMessage;
    m_data.hIcon = LoadTrayImage(instance, m_trouble);
    lstrcpyA(m_data.szTip, m_tip);
    s_notify(NIM_ADD, &m_data);
    // Asked at every add, since a new taskbar knows nothing of the last; the version is kept out of
    // the record, whose same word is a balloon's time-out.
    NOTIFYICONDATAA version = m_data;
    version.uVersion = tray_code::kVersion4;
    m_version4 = s_notify(NIM_SETVERSION, &version) != FALSE;
    // A re-add (the taskbar came back) replaces the icon the shell had; the old handle is done with.
    if (previous != nullptr) {
        DestroyIcon(previous);
    }
}

void CTrayIcon::SetTip(const char* tip)
{
    lstrcpynA(m_tip, tip, sizeof m_tip);
    if (m_data.hWnd == nullptr) {
        return;
    }
    lstrcpyA(m_data.szTip, m_tip);
    m_data.uFlags = NIF_TIP | NIF_SHOWTIP;
    s_notify(NIM_MODIFY, &m_data);
    m_data.uFlags = kAddFlags;
}

void CTrayIcon::ShowTrouble(bool trouble)
{
    if (trouble == m_trouble) {
        return;
    }
    m_trouble = trouble;
    if (m_data.hWnd == nullptr) {
        return;  // the next add shows it
    }
    HICON previous = m_data.hIcon;
    m_data.hIcon = LoadTrayImage(m_instance, m_trouble);
    m_data.uFlags = NIF_ICON | NIF_SHOWTIP;
    s_notify(NIM_MODIFY, &m_data);
    m_data.uFlags = kAddFlags;
    if (previous != nullptr) {
        DestroyIcon(previous);
    }
}

void CTrayIcon::ShowBalloon(const char* title, const char* text)
{
    if (m_data.hWnd == nullptr) {
        return;
    }
    lstrcpynA(m_data.szInfoTitle, title, sizeof m_data.szInfoTitle);
    lstrcpynA(m_data.szInfo, text, sizeof m_data.szInfo);
    m_data.dwInfoFlags = NIIF_WARNING;
    m_data.uFlags = NIF_INFO | NIF_SHOWTIP;  // without it the tip would stay hidden after the balloon
    s_notify(NIM_MODIFY, &m_data);
    m_data.uFlags = kAddFlags;
    m_data.szInfo[0] = '\0';  // a later modify must not show it again
}

void CTrayIcon::Remove()
{
    if (m_data.hWnd == nullptr) {
        return;
    }
    s_notify(NIM_DELETE, &m_data);
    m_version4 = false;
    if (m_data.hIcon != nullptr) {
        DestroyIcon(m_data.hIcon);
        m_data.hIcon = nullptr;
    }
}

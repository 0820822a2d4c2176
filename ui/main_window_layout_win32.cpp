// The main window's size: its controls' places, the minimum and the stored size (Win32).
#include "main_window_layout_win32.h"

#include "res/message_ids.h"
#include "res/resource.h"
#include "shell/window_dpi_win32.h"

namespace {

Box PlaceInClient(HWND dialog, HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

WindowSize OuterSize(const RECT& r)
{
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

void MainWindowLayout::Attach(HWND window, HWND serverList, HWND logList, const std::string& settingsPath)
{
    m_window = window;
    m_serverList = serverList;
    m_logList = logList;
    m_settingsPath = settingsPath;
    RECT outer;
    GetWindowRect(m_window, &outer);
    m_minimumSize = OuterSize(outer);
    m_dpi = WindowDpi(m_window);
    Capture();
}

void MainWindowLayout::Capture()
{
    // Every control's place as it is now, and the rule it follows; the extra room counts from here.
    RECT client;
    GetClientRect(m_window, &client);
    m_templateClient = {client.right, client.bottom};
    m_places.clear();
    const Box serverList = PlaceInClient(m_window, m_serverList);
    const Box logList = PlaceInClient(m_window, m_logList);
    for (HWND child = GetWindow(m_window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const Box place = PlaceInClient(m_window, child);
        m_places.push_back({child, place, MainWindowAnchor(place, serverList, logList)});
    }
    m_placesReady = true;
}

void MainWindowLayout::OpenAtStoredSize()
{
    const WindowSize stored{static_cast<int>(GetPrivateProfileIntA("SETTING", "WIDTH", 0, m_settingsPath.c_str())),
                            static_cast<int>(GetPrivateProfileIntA("SETTING", "HEIGHT", 0, m_settingsPath.c_str()))};
    const WindowSize size = OpeningSize(stored, m_minimumSize, WindowDpi(m_window));
    if (size.width != m_minimumSize.width || size.height != m_minimumSize.height) {
        SetWindowPos(m_window, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_openedSize = size;
}

bool MainWindowLayout::FollowSize()
{
    if (!m_placesReady) {
        return false;  // WM_SIZE comes during creation too, before the places are known
    }
    RECT client;
    GetClientRect(m_window, &client);
    // Less room than captured only after a move to a screen of fewer dots per inch.
    const int extraWidth = client.right - m_templateClient.width;
    const int extraHeight = client.bottom - m_templateClient.height;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(m_places.size()));
    for (const PlacedControl& control : m_places) {
        const Box box = Anchored(control.place, control.anchor, extraWidth, extraHeight);
        if (moves != nullptr) {
            moves = DeferWindowPos(moves, control.window, nullptr, box.left, box.top, box.right - box.left,
                                   box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (moves != nullptr) {
        EndDeferWindowPos(moves);
    }
    // A group box's old frame would stay drawn where it was.
    InvalidateRect(m_window, nullptr, TRUE);
    return true;
}

void MainWindowLayout::OnDpiChanged(int dpi)
{
    // Windows scales a dialog's controls to the new DPI itself: the places are taken again once it
    // has, and meanwhile no size change moves a control to a place of the old DPI.
    m_placesReady = false;
    m_minimumSize = {MulDiv(m_minimumSize.width, dpi, m_dpi), MulDiv(m_minimumSize.height, dpi, m_dpi)};
    m_openedSize = {MulDiv(m_openedSize.width, dpi, m_dpi), MulDiv(m_openedSize.height, dpi, m_dpi)};
    m_dpi = dpi;
    PostMessageA(m_window, WM_DPISCALED, 0, 0);
}

void MainWindowLayout::OnDpiScaled()
{
    Capture();
}

void MainWindowLayout::LimitTracking(MINMAXINFO* limits) const
{
    if (m_minimumSize.width > 0) {
        limits->ptMinTrackSize.x = m_minimumSize.width;
        limits->ptMinTrackSize.y = m_minimumSize.height;
    }
}

WindowSize MainWindowLayout::NormalSize() const
{
    // The size it has when shown, also while it sits minimised in the tray.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(m_window, &placement);
    return OuterSize(placement.rcNormalPosition);
}

void MainWindowLayout::SaveSize() const
{
    const WindowSize now = NormalSize();
    if (now.width == m_openedSize.width && now.height == m_openedSize.height) {
        return;
    }
    const WindowSize stored = SizeToStore(now, WindowDpi(m_window));
    WritePrivateProfileStringA("SETTING", "WIDTH", std::to_string(stored.width).c_str(), m_settingsPath.c_str());
    WritePrivateProfileStringA("SETTING", "HEIGHT", std::to_string(stored.height).c_str(), m_settingsPath.c_str());
}

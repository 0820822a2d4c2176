// The main window's size: its controls follow it as window_layout.h decides, it cannot become smaller
// than its template, and it opens at the size it was left at (Win32).
#include "main_dialog_win32.h"

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

void MainDialog::SetUpLayout()
{
    // Every control's place in the template, and the rule it follows; the template is the minimum.
    RECT client;
    GetClientRect(m_hWnd, &client);
    m_templateClient = {client.right, client.bottom};
    RECT outer;
    GetWindowRect(m_hWnd, &outer);
    m_minimumSize = OuterSize(outer);
    const Box serverList = PlaceInClient(m_hWnd, m_serverList);
    const Box logList = PlaceInClient(m_hWnd, m_logList);
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const Box place = PlaceInClient(m_hWnd, child);
        m_layout.push_back({child, place, MainWindowAnchor(place, serverList, logList)});
    }
    m_layoutReady = true;
}

void MainDialog::OpenAtStoredSize()
{
    const WindowSize size = OpeningSize(m_storedSize, m_minimumSize, WindowDpi(m_hWnd));
    if (size.width != m_minimumSize.width || size.height != m_minimumSize.height) {
        SetWindowPos(m_hWnd, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_openedSize = size;
}

void MainDialog::FollowSize()
{
    if (!m_layoutReady) {
        return;  // WM_SIZE comes during creation too, before the places are known
    }
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int extraWidth = client.right > m_templateClient.width ? client.right - m_templateClient.width : 0;
    const int extraHeight = client.bottom > m_templateClient.height ? client.bottom - m_templateClient.height : 0;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(m_layout.size()));
    for (const PlacedControl& control : m_layout) {
        const Box box = Anchored(control.place, control.anchor, extraWidth, extraHeight);
        if (moves != nullptr) {
            moves = DeferWindowPos(moves, control.window, nullptr, box.left, box.top, box.right - box.left,
                                   box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (moves != nullptr) {
        EndDeferWindowPos(moves);
    }
    FitColumns();
    // A group box's old frame would stay drawn where it was.
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void MainDialog::OnGetMinMaxInfo(MINMAXINFO* limits) const
{
    if (m_minimumSize.width > 0) {
        limits->ptMinTrackSize.x = m_minimumSize.width;
        limits->ptMinTrackSize.y = m_minimumSize.height;
    }
}

WindowSize MainDialog::NormalSize() const
{
    // The size it has when shown, also while it sits minimised in the tray.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(m_hWnd, &placement);
    return OuterSize(placement.rcNormalPosition);
}

void MainDialog::SaveWindowSize() const
{
    // Written only when the user changed it: a window left alone leaves the file as it was.
    const WindowSize now = NormalSize();
    if (now.width == m_openedSize.width && now.height == m_openedSize.height) {
        return;
    }
    const WindowSize stored = SizeToStore(now, WindowDpi(m_hWnd));
    WritePrivateProfileStringA("SETTING", "WIDTH", std::to_string(stored.width).c_str(), m_settingsPath.c_str());
    WritePrivateProfileStringA("SETTING", "HEIGHT", std::to_string(stored.height).c_str(), m_settingsPath.c_str());
}

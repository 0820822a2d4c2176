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
    // The template is the minimum.
    RECT outer;
    GetWindowRect(m_hWnd, &outer);
    m_minimumSize = OuterSize(outer);
    m_layoutDpi = WindowDpi(m_hWnd);
    CaptureLayout();
}

void MainDialog::CaptureLayout()
{
    // Every control's place as it is now, and the rule it follows; the extra room counts from here.
    RECT client;
    GetClientRect(m_hWnd, &client);
    m_templateClient = {client.right, client.bottom};
    m_layout.clear();
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
    // Less room than captured only after a move to a screen of fewer dots per inch.
    const int extraWidth = client.right - m_templateClient.width;
    const int extraHeight = client.bottom - m_templateClient.height;
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

void MainDialog::OnDpiChanged(int dpi)
{
    // Windows scales a dialog's controls to the new DPI itself: the places are taken again once it
    // has, and meanwhile no size change moves a control to a place of the old DPI.
    m_layoutReady = false;
    m_minimumSize = {MulDiv(m_minimumSize.width, dpi, m_layoutDpi), MulDiv(m_minimumSize.height, dpi, m_layoutDpi)};
    m_openedSize = {MulDiv(m_openedSize.width, dpi, m_layoutDpi), MulDiv(m_openedSize.height, dpi, m_layoutDpi)};
    m_layoutDpi = dpi;
    PostMessageA(m_hWnd, WM_DPISCALED, 0, 0);
}

void MainDialog::OnDpiScaled()
{
    CaptureLayout();
    FitColumns();
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

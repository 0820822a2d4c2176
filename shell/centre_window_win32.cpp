// Centring of dialogs on the screen's work area (Win32).
#include "centre_window_win32.h"

#include "centring.h"

namespace {

Rect FromRect(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

void CentreWindow(HWND dialog, HWND reference)
{
    if (reference != nullptr) {
        const LONG style = GetWindowLongA(reference, GWL_STYLE);
        if ((style & WS_VISIBLE) == 0 || (style & WS_MINIMIZE) != 0) {
            reference = nullptr;
        }
    }
    RECT dialogRect;
    RECT workArea;
    GetWindowRect(dialog, &dialogRect);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    Rect referenceRect{};
    if (reference != nullptr) {
        RECT r;
        GetWindowRect(reference, &r);
        referenceRect = FromRect(r);
    }
    const Point at = CentredPosition(FromRect(dialogRect), reference != nullptr ? &referenceRect : nullptr,
                                     FromRect(workArea));
    SetWindowPos(dialog, nullptr, static_cast<int>(at.x), static_cast<int>(at.y), -1, -1,
                 SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
}

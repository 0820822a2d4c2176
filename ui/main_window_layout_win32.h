// The main window's size: its controls follow it as window_layout.h decides, it cannot become
// smaller than its template, and it opens at the size it was left at, which "horavo.ini" keeps (Win32).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "window_layout.h"

class MainWindowLayout {
public:
    // Takes the places of the window's controls as the template has them: the template is the
    // minimum, and the two lists take the extra room.
    void Attach(HWND window, HWND serverList, HWND logList, const std::string& settingsPath);
    // SETTING/WIDTH and HEIGHT, as far as the window's minimum allows.
    void OpenAtStoredSize();
    // The controls follow a new size; false while their places are not known yet.
    bool FollowSize();
    // Before Windows scales the window to a new DPI, and after: the places are taken again then.
    void OnDpiChanged(int dpi);
    void OnDpiScaled();
    void LimitTracking(MINMAXINFO* limits) const;
    // Written only when the user changed it: a window left alone leaves the file as it was.
    void SaveSize() const;

private:
    void Capture();
    WindowSize NormalSize() const;

    struct PlacedControl {
        HWND window;
        Box place;  // in the template's client area
        Anchor anchor;
    };
    HWND m_window = nullptr;
    HWND m_serverList = nullptr;
    HWND m_logList = nullptr;
    std::string m_settingsPath;
    std::vector<PlacedControl> m_places;
    bool m_placesReady = false;
    WindowSize m_templateClient{0, 0};
    WindowSize m_minimumSize{0, 0};  // the template's outer size, at the window's DPI
    WindowSize m_openedSize{0, 0};   // what the window opened at: a size unchanged is not written
    int m_dpi = 96;                  // the DPI the sizes above are at
};

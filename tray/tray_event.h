// What a message from the notification-area icon asks of the window: restore it, open the icon's
// menu, or nothing; platform-free, so the whole table is tested natively.
#pragma once

#include <cstdint>

// The shell's numbers for what it reports, as the platform's headers define them (this side
// includes none; the Win32 side checks each against its header).
namespace tray_code {
constexpr unsigned kContextMenu = 0x007B;     // WM_CONTEXTMENU: a right-click, Shift+F10 or the menu key
constexpr unsigned kLeftButtonUp = 0x0202;    // WM_LBUTTONUP
constexpr unsigned kLeftDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK
constexpr unsigned kRightButtonUp = 0x0205;   // WM_RBUTTONUP
constexpr unsigned kSelect = 0x0400;          // NIN_SELECT: a click, after its button-up
constexpr unsigned kKeySelect = 0x0401;       // NIN_KEYSELECT: Space or Enter on the icon
constexpr unsigned kBalloonUserClick = 0x0405;  // NIN_BALLOONUSERCLICK
constexpr unsigned kVersion4 = 4;             // NOTIFYICON_VERSION_4
}  // namespace tray_code

enum class TrayAction { Nothing, Restore, Menu };

// One callback from the shell, read.
struct TrayEvent {
    unsigned code = 0;      // the mouse message or the notification
    unsigned iconId = 0;
    bool anchored = false;  // whether the shell gave a point: otherwise the menu goes to the cursor
    int x = 0;              // the point in screen coordinates, negative left of or above the
    int y = 0;              // primary monitor
};

// Reads the callback's two parameters as the icon's version lays them out. With version 4 the low
// word of lParam is the event, its high word the icon's id, and wParam the point (two signed
// words); before it lParam was the mouse message alone and wParam the id.
TrayEvent ReadTrayEvent(std::uint64_t wParam, std::uint64_t lParam, bool version4);

// What the event asks for. A double-click restores the window and a right-click opens the menu,
// as they always have; a single click does nothing. With version 4 the keyboard reaches the icon
// too: Space or Enter restores, the menu key opens the menu at the icon.
TrayAction TrayActionFor(const TrayEvent& event, bool version4);

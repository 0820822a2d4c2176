// The icon's events read from the shell's callback and turned into what the window does.
#include "tray_event.h"

TrayEvent ReadTrayEvent(std::uint64_t wParam, std::uint64_t lParam, bool version4)
{
    TrayEvent event;
    event.code = static_cast<unsigned>(lParam & 0xFFFF);
    if (!version4) {
        event.iconId = static_cast<unsigned>(wParam & 0xFFFFFFFF);
        return event;
    }
    event.iconId = static_cast<unsigned>((lParam >> 16) & 0xFFFF);
    event.anchored = true;
    // Each word is signed: a monitor left of or above the primary one has negative coordinates.
    event.x = static_cast<std::int16_t>(static_cast<std::uint16_t>(wParam & 0xFFFF));
    event.y = static_cast<std::int16_t>(static_cast<std::uint16_t>((wParam >> 16) & 0xFFFF));
    return event;
}

TrayAction TrayActionFor(const TrayEvent& event, bool version4)
{
    if (event.code == tray_code::kLeftDoubleClick) {
        return TrayAction::Restore;
    }
    if (!version4) {
        return event.code == tray_code::kRightButtonUp ? TrayAction::Menu : TrayAction::Nothing;
    }
    switch (event.code) {
    case tray_code::kKeySelect:
        return TrayAction::Restore;
    case tray_code::kContextMenu:
        // A right-click's button-up comes first and does nothing, or the menu would open twice.
        return TrayAction::Menu;
    default:
        // NIN_SELECT as well: it follows every single click, and that has never done anything.
        return TrayAction::Nothing;
    }
}

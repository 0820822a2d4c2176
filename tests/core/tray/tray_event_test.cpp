// The icon's callbacks read from their two parameters, and what each event asks of the window,
// with version 4 and without it.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tray/tray_event.h"

namespace {

TEST(TrayEvent, TheParametersAreReadAsTheVersionLaysThemOut)
{
    struct Case {
        std::uint64_t wParam;
        std::uint64_t lParam;
        bool version4;
        TrayEvent expected;
    };
    const std::vector<Case> cases = {
        // Version 4: the event below the icon's id, the point in wParam.
        {0x01F40320, 0x0000007B, true, {tray_code::kContextMenu, 0, true, 800, 500}},
        {0x01F40320, 0x00070401, true, {tray_code::kKeySelect, 7, true, 800, 500}},
        // A monitor left of and above the primary one: both words are negative.
        {0xFFF6FFEC, 0x0000007B, true, {tray_code::kContextMenu, 0, true, -20, -10}},
        {0x8000FFFF, 0x0000007B, true, {tray_code::kContextMenu, 0, true, -1, -32768}},
        // A 64-bit lParam whose upper half is set, as a sign-extended LPARAM is.
        {0x00000000, 0xFFFFFFFF00030203ULL, true, {tray_code::kLeftDoubleClick, 3, true, 0, 0}},
        // Before version 4: lParam the mouse message alone, wParam the id, and no point.
        {0x00000000, 0x00000205, false, {tray_code::kRightButtonUp, 0, false, 0, 0}},
        {0x00000002, 0x00000203, false, {tray_code::kLeftDoubleClick, 2, false, 0, 0}},
    };
    for (const Case& c : cases) {
        const TrayEvent read = ReadTrayEvent(c.wParam, c.lParam, c.version4);
        EXPECT_EQ(c.expected.code, read.code) << std::hex << c.wParam << " " << c.lParam;
        EXPECT_EQ(c.expected.iconId, read.iconId) << std::hex << c.lParam;
        EXPECT_EQ(c.expected.anchored, read.anchored) << std::hex << c.lParam;
        EXPECT_EQ(c.expected.x, read.x) << std::hex << c.wParam;
        EXPECT_EQ(c.expected.y, read.y) << std::hex << c.wParam;
    }
}

TEST(TrayEvent, EachEventRestoresOpensTheMenuOrDoesNothing)
{
    constexpr unsigned kMouseMove = 0x0200;
    constexpr unsigned kLeftButtonDown = 0x0201;
    constexpr unsigned kRightButtonDown = 0x0204;
    constexpr unsigned kRightDoubleClick = 0x0206;
    struct Case {
        unsigned code;
        TrayAction withVersion4;
        TrayAction before;
    };
    const std::vector<Case> cases = {
        {tray_code::kLeftDoubleClick, TrayAction::Restore, TrayAction::Restore},
        {tray_code::kKeySelect, TrayAction::Restore, TrayAction::Nothing},  // Space or Enter
        {tray_code::kContextMenu, TrayAction::Menu, TrayAction::Nothing},   // also the menu key
        // With version 4 the context menu follows the button-up: one menu for one click.
        {tray_code::kRightButtonUp, TrayAction::Nothing, TrayAction::Menu},
        // A single click has never done anything; its NIN_SELECT neither.
        {tray_code::kSelect, TrayAction::Nothing, TrayAction::Nothing},
        {tray_code::kLeftButtonUp, TrayAction::Nothing, TrayAction::Nothing},
        {kLeftButtonDown, TrayAction::Nothing, TrayAction::Nothing},
        {kRightButtonDown, TrayAction::Nothing, TrayAction::Nothing},
        {kRightDoubleClick, TrayAction::Nothing, TrayAction::Nothing},
        {kMouseMove, TrayAction::Nothing, TrayAction::Nothing},
        {tray_code::kBalloonUserClick, TrayAction::Nothing, TrayAction::Nothing},
    };
    for (const Case& c : cases) {
        TrayEvent event;
        event.code = c.code;
        EXPECT_EQ(c.withVersion4, TrayActionFor(event, true)) << std::hex << c.code;
        EXPECT_EQ(c.before, TrayActionFor(event, false)) << std::hex << c.code;
    }
}

}  // namespace

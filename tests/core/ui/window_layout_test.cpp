// The main window's controls as it grows, and the size it opens at.
#include "ui/window_layout.h"

#include <gtest/gtest.h>

namespace {

// The main window's template places (dialog units stand in for pixels: the rules only compare).
const Box kServerList{7, 16, 210, 102};
const Box kLogList{7, 120, 483, 194};

TEST(WindowLayout, ListsGrowAndEverythingElseKeepsToItsEdge)
{
    const int dx = 100;
    const int dy = 60;
    const struct {
        const char* what;
        Box place;
        Box grown;
    } cases[] = {
        {"server list", kServerList, {7, 16, 310, 132}},
        {"log list", kLogList, {7, 150, 583, 254}},
        {"NTP Server label", {9, 6, 98, 15}, {9, 6, 98, 15}},
        {"追加 beside the server list", {215, 16, 275, 31}, {315, 16, 375, 31}},
        {"同期 beside the server list", {215, 87, 275, 102}, {315, 87, 375, 102}},
        {"settings group, taller than the list", {280, 11, 483, 103}, {380, 11, 583, 103}},
        {"interval box in the group", {384, 25, 418, 38}, {484, 25, 518, 38}},
        {"ログ情報 label between the lists", {9, 109, 98, 118}, {9, 139, 98, 148}},
        {"バージョン情報 at the bottom left", {7, 200, 67, 215}, {7, 260, 67, 275}},
        {"service line across the middle", {72, 203, 374, 212}, {72, 263, 474, 272}},
        {"ヘルプ at the bottom right", {378, 200, 428, 215}, {478, 260, 528, 275}},
        {"終了 at the bottom right", {433, 200, 483, 215}, {533, 260, 583, 275}},
    };
    for (const auto& c : cases) {
        const Anchor anchor = MainWindowAnchor(c.place, kServerList, kLogList);
        EXPECT_EQ(c.grown, Anchored(c.place, anchor, dx, dy)) << c.what;
        EXPECT_EQ(c.place, Anchored(c.place, anchor, 0, 0)) << c.what << ": the template's own size";
    }
}

TEST(WindowLayout, AStoredSizeBelowTheMinimumOrMissingGivesTheTemplatesSize)
{
    const WindowSize minimum{750, 390};  // at 96 DPI
    const WindowSize minimum144{1125, 585};
    const struct {
        WindowSize stored;
        int dpi;
        WindowSize minimumAtDpi;
        WindowSize opening;
    } cases[] = {
        {{0, 0}, 96, minimum, minimum},                  // never stored
        {{900, 0}, 96, minimum, minimum},                // one half missing
        {{900, 500}, 96, minimum, {900, 500}},
        {{749, 500}, 96, minimum, minimum},              // a pixel too narrow
        {{900, 389}, 96, minimum, minimum},
        {{750, 390}, 96, minimum, {750, 390}},           // the minimum itself
        {{900, 500}, 144, minimum144, {1350, 750}},      // stored at 96 DPI, shown at 144
        {{760, 392}, 144, minimum144, {1140, 588}},
        {{-900, 500}, 96, minimum, minimum},
    };
    for (const auto& c : cases) {
        const WindowSize opening = OpeningSize(c.stored, c.minimumAtDpi, c.dpi);
        EXPECT_EQ(c.opening.width, opening.width) << c.stored.width << "x" << c.stored.height << " at " << c.dpi;
        EXPECT_EQ(c.opening.height, opening.height) << c.stored.width << "x" << c.stored.height << " at " << c.dpi;
    }
    // What is stored opens again at the same size, at either DPI.
    for (const int dpi : {96, 120, 144, 192}) {
        const WindowSize shown{1234, 777};
        const WindowSize again = OpeningSize(SizeToStore(shown, dpi), {100, 100}, dpi);
        EXPECT_NEAR(shown.width, again.width, dpi / 96) << dpi;
        EXPECT_NEAR(shown.height, again.height, dpi / 96) << dpi;
    }
}

}  // namespace

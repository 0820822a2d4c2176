// Dialog placement: centred over a window or the work area, and always inside the work area.
#include "shell/centring.h"

#include <gtest/gtest.h>

namespace {

struct CentringCase {
    const char* what;
    Rect dialog;
    bool hasReference;
    Rect reference;
    Rect workArea;
    Point expected;
};

const Rect kWorkArea{0, 0, 1024, 738};  // a taskbar of 30 pixels at the bottom

const CentringCase kCentringCases[] = {
    {"over its owner", {0, 0, 300, 200}, true, {100, 100, 700, 500}, kWorkArea, {250, 200}},
    {"on the work area without owner", {0, 0, 300, 200}, false, {}, kWorkArea, {362, 269}},
    {"odd sizes truncate", {0, 0, 101, 51}, true, {0, 0, 401, 301}, kWorkArea, {150, 125}},
    {"owner off the left edge", {0, 0, 300, 200}, true, {-500, 100, -100, 400}, kWorkArea, {0, 150}},
    {"owner off the right edge", {0, 0, 300, 200}, true, {900, 100, 1300, 400}, kWorkArea, {724, 150}},
    {"owner below the work area", {0, 0, 300, 200}, true, {100, 700, 500, 900}, kWorkArea, {150, 538}},
    {"owner above the screen", {0, 0, 300, 200}, true, {100, -400, 500, -100}, kWorkArea, {150, 0}},
    {"work area not at the origin", {0, 0, 100, 100}, false, {}, {200, 30, 1224, 798}, {662, 364}},
    {"negative centre truncates toward zero", {0, 0, 100, 100}, true, {-301, -301, 0, 0},
     {-1000, -1000, 1000, 1000}, {-200, -200}},
    {"too big: the left and top edges win", {0, 0, 1200, 900}, false, {}, kWorkArea, {0, 0}},
};

TEST(CentredPosition, StaysInsideTheWorkArea)
{
    for (const CentringCase& c : kCentringCases) {
        const Point at = CentredPosition(c.dialog, c.hasReference ? &c.reference : nullptr, c.workArea);
        EXPECT_EQ(c.expected.x, at.x) << c.what;
        EXPECT_EQ(c.expected.y, at.y) << c.what;
    }
}

}  // namespace

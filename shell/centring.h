// Where a dialog goes when it is centred over a window or the screen, kept inside the work area.
#pragma once

struct Rect {
    long left;
    long top;
    long right;
    long bottom;
};

struct Point {
    long x;
    long y;
};

// The top-left corner for a dialog of the given outer rectangle, centred over the reference
// rectangle (or over the work area when there is none) and then pushed inside the work area.
// Divisions truncate toward zero, as the platform's integer arithmetic does.
Point CentredPosition(const Rect& dialog, const Rect* reference, const Rect& workArea);

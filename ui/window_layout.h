// How the main window's controls follow its size, and which stored size it opens at: the lists grow,
// everything else keeps its place relative to the edge it sits by.
#pragma once

struct Box {
    int left;
    int top;
    int right;
    int bottom;

    bool operator==(const Box& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

// How much of the window's extra width or height an edge moves by.
enum class Share { None, Half, All };

struct Anchor {
    Share left;
    Share top;
    Share right;
    Share bottom;
};

// A control's anchor from where the template puts it beside the two lists (all in the template's
// client coordinates): the server list takes the extra width and half the extra height, the log list
// the extra width and the other half; what lies right of the server list moves with the right edge;
// the log's label moves down by half; the bottom row moves with the bottom edge, its right half with
// the right edge too, and a control that spans the middle (the service line) stretches.
Anchor MainWindowAnchor(const Box& control, const Box& serverList, const Box& logList);

// Where a control goes when the window has this much more room than its template.
Box Anchored(const Box& place, const Anchor& anchor, int extraWidth, int extraHeight);

struct WindowSize {
    int width;
    int height;
};

// The size the window opens at, from the INI's WIDTH and HEIGHT (pixels at 96 DPI, 0 when missing):
// scaled to the window's DPI, and the template's own (minimum) size when either is missing or smaller
// than the minimum, which no setting can make the window smaller than.
WindowSize OpeningSize(WindowSize stored, WindowSize minimum, int dpi);

// The size to store (pixels at 96 DPI) for the window's size at its DPI.
WindowSize SizeToStore(WindowSize shown, int dpi);

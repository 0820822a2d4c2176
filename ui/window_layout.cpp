// The main window's resizing rules and its stored size.
#include "window_layout.h"

namespace {

int Moved(int edge, Share share, int extra)
{
    switch (share) {
    case Share::None:
        return edge;
    case Share::Half:
        return edge + extra / 2;
    case Share::All:
        return edge + extra;
    }
    return edge;
}

int Scaled(int length, int fromDpi, int toDpi)
{
    return static_cast<int>((static_cast<long long>(length) * toDpi + fromDpi / 2) / fromDpi);
}

}  // namespace

Anchor MainWindowAnchor(const Box& control, const Box& serverList, const Box& logList)
{
    if (control == serverList) {
        return {Share::None, Share::None, Share::All, Share::Half};
    }
    if (control == logList) {
        return {Share::None, Share::Half, Share::All, Share::All};
    }
    if (control.top >= logList.bottom) {
        // The bottom row: split at the middle of the log list above it.
        const int middle = (logList.left + logList.right) / 2;
        return {control.left >= middle ? Share::All : Share::None, Share::All,
                control.right > middle ? Share::All : Share::None, Share::All};
    }
    if (control.top >= serverList.bottom) {
        return {Share::None, Share::Half, Share::None, Share::Half};  // between the lists: the log's label
    }
    const Share side = control.left >= serverList.right ? Share::All : Share::None;
    return {side, Share::None, side, Share::None};
}

Box Anchored(const Box& place, const Anchor& anchor, int extraWidth, int extraHeight)
{
    return {Moved(place.left, anchor.left, extraWidth), Moved(place.top, anchor.top, extraHeight),
            Moved(place.right, anchor.right, extraWidth), Moved(place.bottom, anchor.bottom, extraHeight)};
}

WindowSize OpeningSize(WindowSize stored, WindowSize minimum, int dpi)
{
    if (stored.width <= 0 || stored.height <= 0 || dpi <= 0) {
        return minimum;
    }
    const WindowSize scaled{Scaled(stored.width, 96, dpi), Scaled(stored.height, 96, dpi)};
    if (scaled.width < minimum.width || scaled.height < minimum.height) {
        return minimum;
    }
    return scaled;
}

WindowSize SizeToStore(WindowSize shown, int dpi)
{
    return dpi <= 0 ? shown : WindowSize{Scaled(shown.width, dpi, 96), Scaled(shown.height, dpi, 96)};
}

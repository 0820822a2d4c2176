// Centring geometry of the dialogs, free of window handles.
#include "centring.h"

namespace {

// Centre along one axis, then the low edge wins over the high edge when the dialog is too big.
long Place(long centreLow, long centreHigh, long size, long boundLow, long boundHigh)
{
    long position = (centreLow + centreHigh) / 2 - size / 2;
    if (position < boundLow) {
        position = boundLow;
    } else if (position + size > boundHigh) {
        position = boundHigh - size;
    }
    return position;
}

}  // namespace

Point CentredPosition(const Rect& dialog, const Rect* reference, const Rect& workArea)
{
    const Rect& centre = reference != nullptr ? *reference : workArea;
    const long width = dialog.right - dialog.left;
    const long height = dialog.bottom - dialog.top;
    return {Place(centre.left, centre.right, width, workArea.left, workArea.right),
            Place(centre.top, centre.bottom, height, workArea.top, workArea.bottom)};
}

#include "platform/dialog_kit/dialog.h"

// The centring rule, the same on every platform.

namespace platform {
namespace {

int keepInside(int position, int length, int low, int high) {
    if (position < low)
        return low;
    if (position + length > high)
        return high - length;
    return position;
}

} // namespace

Point centredPosition(int width, int height, const Rect& centre, const Rect& area) {
    const int x = (centre.Left + centre.Right) / 2 - width / 2;
    const int y = (centre.Top + centre.Bottom) / 2 - height / 2;
    return {keepInside(x, width, area.Left, area.Right), keepInside(y, height, area.Top, area.Bottom)};
}

} // namespace platform

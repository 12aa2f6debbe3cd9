#include "app/Layout.h"

#include <algorithm>

uint16_t MaxHSize(std::size_t count) {
    const std::size_t rows = (count + 9) / 10;
    if (rows < 2)
        return MAINMINHEIGHT;
    // A list of thousands of rows would wrap the 16-bit height below the smallest one; stop at the
    // greatest 16-bit value instead.
    const std::size_t height = MAINMINHEIGHT + 36 * (rows - 2);
    return static_cast<uint16_t>(std::min<std::size_t>(height, 0xFFFF));
}

TPlacement StartPlacement(const TOptionsRect& saved, uint16_t maxHeight, int screenWidth,
                          int screenHeight) {
    if (saved.Right > 0 && saved.Bottom > 0)
        return {saved.Left, saved.Top, saved.Right, saved.Bottom};
    TPlacement p;
    p.width = MAINMINWIDTH;
    p.height = std::max(MAINMINHEIGHT, std::min<int>(maxHeight, screenHeight));
    p.left = (screenWidth - p.width) / 2;
    p.top = (screenHeight - p.height) / 2;
    return p;
}

TOptionsRect SavedRect(int left, int top, int right, int bottom) {
    return {left, top, right - left, bottom - top};
}

TPanelSize PanelSize(int windowWidth, int windowHeight) {
    TPanelSize s;
    s.panelWidth = std::max(0, windowWidth - 25);
    s.panelHeight = std::max(0, windowHeight - 130);
    s.boxWidth = std::max(0, s.panelWidth - 4);
    s.boxHeight = std::max(0, s.panelHeight - 4);
    return s;
}

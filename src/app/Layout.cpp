#include "app/Layout.h"

#include <algorithm>

uint16_t MaxHSize(std::size_t count, int dpi) {
    const std::size_t rows = (count + 9) / 10;
    const auto smallest = static_cast<std::size_t>(ScaleTo(MAINMINHEIGHT, dpi));
    if (rows < 2)
        return static_cast<uint16_t>(smallest);
    // A list of thousands of rows would wrap the 16-bit height below the smallest one; stop at the
    // greatest 16-bit value instead.
    const std::size_t height = smallest + GridMetrics(dpi).button * (rows - 2);
    return static_cast<uint16_t>(std::min<std::size_t>(height, 0xFFFF));
}

TPlacement StartPlacement(const TOptionsRect& saved, uint16_t maxHeight, int screenWidth,
                          int screenHeight, int dpi) {
    if (saved.Right > 0 && saved.Bottom > 0)
        return {saved.Left, saved.Top, saved.Right, saved.Bottom};
    TPlacement p;
    p.width = ScaleTo(MAINMINWIDTH, dpi);
    p.height = std::max(ScaleTo(MAINMINHEIGHT, dpi), std::min<int>(maxHeight, screenHeight));
    p.left = (screenWidth - p.width) / 2;
    p.top = (screenHeight - p.height) / 2;
    return p;
}

TOptionsRect SavedRect(int left, int top, int right, int bottom) {
    return {left, top, right - left, bottom - top};
}

TPanelSize PanelSize(int windowWidth, int windowHeight, int dpi) {
    TPanelSize s;
    s.panelWidth = std::max(0, windowWidth - ScaleTo(25, dpi));
    s.panelHeight = std::max(0, windowHeight - ScaleTo(130, dpi));
    s.boxWidth = std::max(0, s.panelWidth - ScaleTo(4, dpi));
    s.boxHeight = std::max(0, s.panelHeight - ScaleTo(4, dpi));
    return s;
}

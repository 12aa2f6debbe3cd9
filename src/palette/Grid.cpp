#include "palette/Grid.h"

#include <algorithm>

TGridMetrics GridMetrics(int dpi) {
    const auto scaled = [dpi](int pixels) {
        return static_cast<uint16_t>(std::clamp(ScaleTo(pixels, dpi), 1, 0xFFFF));
    };
    return {scaled(BUTTONSIZE), scaled(FROMLEFT), scaled(SCROLLBARRESERVE)};
}

uint16_t FitButtons(uint16_t length, uint16_t margin, uint16_t& gap, uint16_t button) {
    gap = 0;
    // Done in 32 bits: a length below both margins must not wrap round to a huge usable length.
    const uint32_t margins = 2u * margin;
    if (length <= margins)
        return 0;
    const uint32_t usable = length - margins;
    button = std::max<uint16_t>(button, 1);
    const uint32_t count = usable / button;
    if (count > 1)
        gap = static_cast<uint16_t>((usable % button) / (count - 1));
    return static_cast<uint16_t>(count);
}

uint16_t ScrollerStep(uint16_t height, const TGridMetrics& m) {
    uint16_t gap = 0;
    FitButtons(height, m.margin, gap, m.button);
    return static_cast<uint16_t>(gap + m.button);
}

bool HasScroller(std::size_t count, uint16_t width, uint16_t height, const TGridMetrics& m) {
    uint16_t gap = 0;
    const uint64_t columns = FitButtons(width, m.margin, gap, m.button);
    const uint64_t rows = FitButtons(height, m.margin, gap, m.button);
    return columns * rows < count;
}

uint16_t GridLength(int pixels) {
    return static_cast<uint16_t>(std::clamp(pixels, 0, 0xFFFF));
}

TGridCell GridCell(std::size_t index, uint16_t width, uint16_t height, const TGridMetrics& m) {
    uint16_t gapX = 0, gapY = 0;
    const uint16_t columns = std::max<uint16_t>(1, FitButtons(width, m.margin, gapX, m.button));
    FitButtons(height, m.margin, gapY, m.button);
    const std::size_t row = index / columns;
    const std::size_t column = index % columns;
    TGridCell cell;
    cell.columns = columns;
    cell.left = static_cast<int>((gapX + m.button) * column + m.margin);
    cell.top = static_cast<int>((gapY + m.button) * row + m.margin);
    return cell;
}

std::size_t GridHit(int x, int y, std::size_t count, uint16_t width, uint16_t height,
                    const TGridMetrics& m) {
    uint16_t gapX = 0, gapY = 0;
    const uint16_t columns = std::max<uint16_t>(1, FitButtons(width, m.margin, gapX, m.button));
    FitButtons(height, m.margin, gapY, m.button);
    const int side = std::max<int>(m.button, 1);
    const int pitchX = gapX + side, pitchY = gapY + side;
    x -= m.margin;
    y -= m.margin;
    if (x < 0 || y < 0 || x % pitchX >= side || y % pitchY >= side)
        return count;
    const std::size_t column = static_cast<std::size_t>(x / pitchX);
    const std::size_t index = static_cast<std::size_t>(y / pitchY) * columns + column;
    return column < columns && index < count ? index : count;
}

int GridHeight(std::size_t count, uint16_t width, uint16_t height, const TGridMetrics& m) {
    if (count == 0)
        return 0;
    return GridCell(count - 1, width, height, m).top + m.button + m.margin;
}

TPaletteLayout PaletteLayout(std::size_t count, uint16_t boxWidth, uint16_t boxHeight,
                             const TGridMetrics& m) {
    TPaletteLayout layout;
    layout.scroller = HasScroller(count, boxWidth, boxHeight, m);
    layout.reserve = layout.scroller ? m.reserve : 0;
    layout.width = boxWidth > layout.reserve ? static_cast<uint16_t>(boxWidth - layout.reserve) : 0;
    layout.step = ScrollerStep(boxHeight, m);
    return layout;
}

std::size_t ArrowTarget(std::size_t index, std::size_t count, std::size_t columns, bool up) {
    if (count == 0 || columns == 0 || index >= count)
        return index;
    // Signed arithmetic: the wrap steps go below zero before they are corrected.
    const auto k = static_cast<long long>(columns);
    const auto n = static_cast<long long>(count);
    const long long rows = n / k + (n % k > 0 ? 1 : 0);
    const auto i = static_cast<long long>(index);
    long long t;
    if (up) {
        t = i - k;
        if (t < 0) {
            t += k * rows;
            if (t >= n)
                t -= k;
        }
    } else {
        t = i + k;
        if (t >= n) {
            t -= k * rows;
            if (t < 0)
                t += k;
        }
    }
    return static_cast<std::size_t>(t);
}

#pragma once
// Grid arithmetic of the palette: how many 36-pixel buttons fit along a length, where each button
// goes, whether the box needs a scroll bar, and where the up and down arrows move the focus.
// Pure functions on numbers, shared by the faces and the palette window that draws them. Lengths
// are the screen's pixels: the 96-dpi sizes below are scaled for the screen by TGridMetrics.
#include <cstddef>
#include <cstdint>

constexpr uint16_t BUTTONSIZE = 36;
constexpr uint16_t FROMLEFT = 1; // margin left of the first column and right of the last
constexpr uint16_t FROMTOP = 1;  // margin above the first row and below the last
// Width kept free for the vertical scroll bar when the buttons need more rows than fit.
constexpr uint16_t SCROLLBARRESERVE = 15;

// A length in pixels at 96 dpi scaled to `dpi`, rounded to the nearest pixel as MulDiv does.
constexpr int ScaleTo(int pixels96, int dpi) {
    return pixels96 >= 0 ? (pixels96 * dpi + 48) / 96 : -((-pixels96 * dpi + 48) / 96);
}

// The grid's lengths on a screen of some dpi: the button side, the margin around the grid and the
// width kept for the scroll bar. The defaults are the 96-dpi sizes.
struct TGridMetrics {
    uint16_t button = BUTTONSIZE;
    uint16_t margin = FROMLEFT;
    uint16_t reserve = SCROLLBARRESERVE;
};
TGridMetrics GridMetrics(int dpi);

// How many buttons of side `button` fit along `length` with `margin` at both ends, and the extra
// gap between two neighbours (the left-over space shared out evenly, rounding down). A length
// shorter than both margins fits no button.
uint16_t FitButtons(uint16_t length, uint16_t margin, uint16_t& gap, uint16_t button = BUTTONSIZE);

// The row pitch of a box of that height: the vertical gap plus the button size.
uint16_t ScrollerStep(uint16_t height, const TGridMetrics& m = {});

// True when `count` buttons do not all fit into a box of width x height.
bool HasScroller(std::size_t count, uint16_t width, uint16_t height, const TGridMetrics& m = {});

// A window dimension in pixels as the 16-bit length the grid works with (negative -> 0, larger
// than 65535 -> 65535).
uint16_t GridLength(int pixels);

// The place of one button inside the box's client area at scroll position 0, and the column count
// of that layout. There is always at least one column, so a box too narrow for one button stacks
// its buttons in a single column rather than dividing by zero.
struct TGridCell {
    int left = 0;
    int top = 0;
    uint16_t columns = 1;
};
TGridCell GridCell(std::size_t index, uint16_t width, uint16_t height, const TGridMetrics& m = {});

// The face under a point of the box's client area at scroll position 0, or `count` when the point
// is on no face (in a gap, a margin, or beyond the last face).
std::size_t GridHit(int x, int y, std::size_t count, uint16_t width, uint16_t height,
                    const TGridMetrics& m = {});

// The height that `count` faces take in a box of that width: the last row's bottom plus the
// margin below it; 0 for no faces.
int GridHeight(std::size_t count, uint16_t width, uint16_t height, const TGridMetrics& m = {});

// How the whole palette is laid out in a box: the width kept free for the scroll bar (0 or the
// metrics' reserve), the width the grid uses, and the scroll line step (the row pitch).
struct TPaletteLayout {
    bool scroller = false;
    uint16_t reserve = 0;
    uint16_t width = 0;
    uint16_t step = BUTTONSIZE;
};
TPaletteLayout PaletteLayout(std::size_t count, uint16_t boxWidth, uint16_t boxHeight,
                             const TGridMetrics& m = {});

// Where the up (up = true) or down arrow moves the focus from button `index` in a grid of `count`
// buttons and `columns` columns: the same column in the row above or below, wrapping from the first
// row to the last (or the row above it when the last row has no button in that column) and from
// the bottom back to the first row. Out-of-range input returns `index` unchanged.
std::size_t ArrowTarget(std::size_t index, std::size_t count, std::size_t columns, bool up);

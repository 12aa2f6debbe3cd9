#pragma once
// Grid arithmetic of the palette: how many 36-pixel buttons fit along a length, where each button
// goes, whether the box needs a scroll bar, and where the up and down arrows move the focus.
// Pure functions on numbers, shared by the faces and the palette window that draws them.
#include <cstddef>
#include <cstdint>

constexpr uint16_t BUTTONSIZE = 36;
constexpr uint16_t FROMLEFT = 1; // margin left of the first column and right of the last
constexpr uint16_t FROMTOP = 1;  // margin above the first row and below the last
// Width kept free for the vertical scroll bar when the buttons need more rows than fit.
constexpr uint16_t SCROLLBARRESERVE = 15;

// How many buttons fit along `length` with `margin` at both ends, and the extra gap between two
// neighbours (the left-over space shared out evenly, rounding down). A length shorter than both
// margins fits no button.
uint16_t FitButtons(uint16_t length, uint16_t margin, uint16_t& gap);

// The row pitch of a box of that height: the vertical gap plus the button size.
uint16_t ScrollerStep(uint16_t height);

// True when `count` buttons do not all fit into a box of width x height.
bool HasScroller(std::size_t count, uint16_t width, uint16_t height);

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
TGridCell GridCell(std::size_t index, uint16_t width, uint16_t height);

// The face under a point of the box's client area at scroll position 0, or `count` when the point
// is on no face (in a gap, a margin, or beyond the last face).
std::size_t GridHit(int x, int y, std::size_t count, uint16_t width, uint16_t height);

// The height that `count` faces take in a box of that width: the last row's bottom plus the
// margin below it; 0 for no faces.
int GridHeight(std::size_t count, uint16_t width, uint16_t height);

// How the whole palette is laid out in a box: the width kept free for the scroll bar (0 or
// SCROLLBARRESERVE), the width the grid uses, and the scroll line step (the row pitch).
struct TPaletteLayout {
    bool scroller = false;
    uint16_t reserve = 0;
    uint16_t width = 0;
    uint16_t step = BUTTONSIZE;
};
TPaletteLayout PaletteLayout(std::size_t count, uint16_t boxWidth, uint16_t boxHeight);

// Where the up (up = true) or down arrow moves the focus from button `index` in a grid of `count`
// buttons and `columns` columns: the same column in the row above or below, wrapping from the first
// row to the last (or the row above it when the last row has no button in that column) and from
// the bottom back to the first row. Out-of-range input returns `index` unchanged.
std::size_t ArrowTarget(std::size_t index, std::size_t count, std::size_t columns, bool up);

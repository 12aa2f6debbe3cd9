#include "palette/Grid.h"

#include <gtest/gtest.h>

#include <vector>

TEST(FitButtons, CountsAndGapsAlongALength) {
    struct Case {
        uint16_t length, count, gap;
    };
    const std::vector<Case> cases = {{37, 0, 0},   {38, 1, 0},   {73, 1, 0},      {75, 2, 1},
                                     {109, 2, 35}, {110, 3, 0},  {363, 10, 0},    {378, 10, 1},
                                     {400, 11, 0}, {500, 13, 2}, {65535, 1820, 0}};
    for (const Case& c : cases) {
        uint16_t gap = 99;
        EXPECT_EQ(FitButtons(c.length, 1, gap), c.count) << "length " << c.length;
        EXPECT_EQ(gap, c.gap) << "length " << c.length;
    }
}

TEST(FitButtons, LengthShorterThanMarginsFitsNothing) {
    // 16-bit arithmetic would wrap 1 - 2 round to 65535 and report 1820 buttons.
    for (uint16_t length : {0, 1, 2}) {
        uint16_t gap = 99;
        EXPECT_EQ(FitButtons(length, 1, gap), 0) << length;
        EXPECT_EQ(gap, 0) << length;
    }
    uint16_t gap = 0;
    EXPECT_EQ(FitButtons(100, 40000, gap), 0);
}

TEST(ScrollerStep, IsRowPitchOfTheHeight) {
    EXPECT_EQ(ScrollerStep(75), 37);
    EXPECT_EQ(ScrollerStep(69), 36);
    EXPECT_EQ(ScrollerStep(109), 71);
    EXPECT_EQ(ScrollerStep(0), 36);
}

TEST(PaletteGrid, TwentyButtonsFillTwoRowsWithoutScrollBar) {
    const TPaletteLayout layout = PaletteLayout(20, 378, 75);
    EXPECT_FALSE(layout.scroller);
    EXPECT_EQ(layout.reserve, 0);
    EXPECT_EQ(layout.width, 378);
    EXPECT_EQ(layout.step, 37);
    for (std::size_t i = 0; i < 20; ++i) {
        const TGridCell cell = GridCell(i, layout.width, 75);
        EXPECT_EQ(cell.columns, 10);
        EXPECT_EQ(cell.left, 1 + 37 * static_cast<int>(i % 10)) << i;
        EXPECT_EQ(cell.top, 1 + 37 * static_cast<int>(i / 10)) << i;
    }
}

TEST(PaletteGrid, TwentyFirstButtonReservesScrollBarAndOpensThirdRow) {
    const TPaletteLayout layout = PaletteLayout(21, 378, 75);
    EXPECT_TRUE(layout.scroller);
    EXPECT_EQ(layout.reserve, 15);
    EXPECT_EQ(layout.width, 363);
    const TGridCell ninth = GridCell(9, layout.width, 75);
    EXPECT_EQ(ninth.left, 1 + 36 * 9);
    const TGridCell last = GridCell(20, layout.width, 75);
    EXPECT_EQ(last.left, 1);
    EXPECT_EQ(last.top, 1 + 37 * 2);
}

TEST(PaletteGrid, EmptyPaletteNeedsNoScrollBar) {
    EXPECT_FALSE(PaletteLayout(0, 378, 75).scroller);
    EXPECT_FALSE(PaletteLayout(0, 0, 0).scroller);
}

TEST(PaletteGrid, TinyBoxKeepsOneColumn) {
    // Narrower than one button: a single column, every button on its own row, no division by 0.
    for (uint16_t width : {0, 1, 20, 37}) {
        for (std::size_t i : {0u, 1u, 5u}) {
            const TGridCell cell = GridCell(i, width, 75);
            EXPECT_EQ(cell.columns, 1);
            EXPECT_EQ(cell.left, 1);
            EXPECT_EQ(cell.top, 1 + 37 * static_cast<int>(i));
        }
    }
    EXPECT_TRUE(PaletteLayout(1, 10, 75).scroller);
    EXPECT_EQ(PaletteLayout(1, 10, 75).width, 0);
}

TEST(PaletteGrid, MoreThan255ColumnsStayConsistent) {
    // 9300 pixels give 258 columns: counting them in 8 bits would give 2 columns placed at the
    // pitch of 258, overlapping the buttons and sending the arrows to the wrong rows.
    const uint16_t width = 9300;
    const TGridCell first = GridCell(0, width, 75);
    ASSERT_EQ(first.columns, 258);
    const TGridCell last = GridCell(257, width, 75);
    EXPECT_EQ(last.top, 1);
    EXPECT_LT(last.left + BUTTONSIZE, width);
    const TGridCell next = GridCell(258, width, 75);
    EXPECT_EQ(next.left, 1);
    EXPECT_EQ(next.top, 1 + 37);
    EXPECT_EQ(ArrowTarget(300, 600, first.columns, true), 300u - 258u);
}

TEST(PaletteGrid, GridLengthClampsWindowSizes) {
    EXPECT_EQ(GridLength(-5), 0);
    EXPECT_EQ(GridLength(378), 378);
    EXPECT_EQ(GridLength(70000), 65535);
}

TEST(ArrowTarget, UpAndDownWrapWithinTheColumn) {
    // 23 buttons in 10 columns: rows 0..9, 10..19, 20..22.
    const std::size_t n = 23, k = 10;
    EXPECT_EQ(ArrowTarget(15, n, k, true), 5u);
    EXPECT_EQ(ArrowTarget(5, n, k, false), 15u);
    EXPECT_EQ(ArrowTarget(1, n, k, true), 21u);  // first row -> last row, same column
    EXPECT_EQ(ArrowTarget(5, n, k, true), 15u);  // last row has no column 5 -> the row above
    EXPECT_EQ(ArrowTarget(21, n, k, false), 1u); // last row -> first row
    EXPECT_EQ(ArrowTarget(15, n, k, false), 5u); // nothing below -> first row
    EXPECT_EQ(ArrowTarget(22, n, k, true), 12u);
}

TEST(ArrowTarget, FullLastRowAndSingleRow) {
    EXPECT_EQ(ArrowTarget(3, 20, 10, true), 13u);
    EXPECT_EQ(ArrowTarget(13, 20, 10, false), 3u);
    for (bool up : {true, false}) {
        EXPECT_EQ(ArrowTarget(4, 7, 10, up), 4u); // one short row: focus stays
        EXPECT_EQ(ArrowTarget(6, 10, 10, up), 6u);
        EXPECT_EQ(ArrowTarget(2, 5, 1, up), up ? 1u : 3u); // single column: plain up/down
    }
    EXPECT_EQ(ArrowTarget(0, 5, 1, true), 4u);
    EXPECT_EQ(ArrowTarget(4, 5, 1, false), 0u);
}

TEST(ArrowTarget, DegenerateInputLeavesFocus) {
    EXPECT_EQ(ArrowTarget(0, 0, 10, true), 0u);
    EXPECT_EQ(ArrowTarget(3, 5, 0, false), 3u);
    EXPECT_EQ(ArrowTarget(9, 5, 10, true), 9u);
}

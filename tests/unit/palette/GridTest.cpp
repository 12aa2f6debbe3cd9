#include "palette/Grid.h"

#include <gtest/gtest.h>

TEST(FitButtons, CountsAndGapsAlongALength) {
    struct Case {
        uint16_t length, count, gap;
    };
    // Below the margins nothing fits: 16-bit arithmetic would wrap 1 - 2 to 65535 and report 1820.
    const Case cases[] = {{0, 0, 0},    {2, 0, 0},    {37, 0, 0},      {38, 1, 0},
                          {75, 2, 1},   {109, 2, 35}, {110, 3, 0},     {378, 10, 1},
                          {400, 11, 0}, {500, 13, 2}, {65535, 1820, 0}};
    for (const Case& c : cases) {
        uint16_t gap = 99;
        EXPECT_EQ(FitButtons(c.length, 1, gap), c.count) << c.length;
        EXPECT_EQ(gap, c.gap) << c.length;
    }
    uint16_t gap = 0;
    EXPECT_EQ(FitButtons(100, 40000, gap), 0);
}

TEST(PaletteGrid, TheTwentyFirstButtonReservesTheScrollBarAndOpensARow) {
    const TPaletteLayout twenty = PaletteLayout(20, 378, 75);
    EXPECT_EQ(std::tuple(twenty.scroller, twenty.width, twenty.step), std::tuple(false, 378, 37));
    const TGridCell tenth = GridCell(19, twenty.width, 75);
    EXPECT_EQ(std::tie(tenth.left, tenth.top, tenth.columns), std::tuple(1 + 37 * 9, 1 + 37, 10));

    const TPaletteLayout more = PaletteLayout(21, 378, 75);
    EXPECT_EQ(std::tuple(more.scroller, more.width), std::tuple(true, 378 - SCROLLBARRESERVE));
    EXPECT_EQ(GridCell(9, more.width, 75).left, 1 + 36 * 9);
    EXPECT_EQ(GridCell(20, more.width, 75).top, 1 + 37 * 2);
    EXPECT_FALSE(PaletteLayout(0, 0, 0).scroller);
}

TEST(PaletteGrid, NarrowAndVeryWideBoxesStayConsistent) {
    // Narrower than one button: one column, no division by zero.
    for (uint16_t width : {0, 20, 37}) {
        const TGridCell cell = GridCell(5, width, 75);
        EXPECT_EQ(std::tie(cell.left, cell.top, cell.columns), std::tuple(1, 1 + 37 * 5, 1));
    }
    // 9300 pixels give 258 columns: counted in 8 bits they would be 2, placed at the pitch of 258.
    const TGridCell last = GridCell(257, 9300, 75), next = GridCell(258, 9300, 75);
    ASSERT_EQ(last.columns, 258);
    EXPECT_EQ(last.top, 1);
    EXPECT_LT(last.left + BUTTONSIZE, 9300);
    EXPECT_EQ(std::tie(next.left, next.top), std::tuple(1, 1 + 37));
    EXPECT_EQ(ArrowTarget(300, 600, 258, true), 300u - 258u);
    EXPECT_EQ(GridLength(-5), 0);
    EXPECT_EQ(GridLength(70000), 65535);
}

TEST(ArrowTarget, UpAndDownWrapWithinTheColumn) {
    struct Case {
        std::size_t from, count, columns;
        bool up;
        std::size_t to;
    };
    const Case cases[] = {
        // 23 buttons in 10 columns: rows 0..9, 10..19, 20..22.
        {15, 23, 10, true, 5},
        {5, 23, 10, false, 15},
        {1, 23, 10, true, 21},
        {5, 23, 10, true, 15}, // the last row has no column 5: the row above
        {21, 23, 10, false, 1},
        {15, 23, 10, false, 5},
        {3, 20, 10, true, 13},
        {4, 7, 10, true, 4}, // one short row: the focus stays
        {2, 5, 1, true, 1},
        {0, 5, 1, true, 4},
        {4, 5, 1, false, 0},
        // out of range: the focus stays
        {0, 0, 10, true, 0},
        {3, 5, 0, false, 3},
        {9, 5, 10, true, 9},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ArrowTarget(c.from, c.count, c.columns, c.up), c.to)
            << c.from << (c.up ? " up" : " down") << " in " << c.count << "/" << c.columns;
}

// Scaled grids: every face is hit where it is drawn, up to its last pixel, and the gaps hit none.
TEST(PaletteGrid, ScaledFacesAreHitWhereTheyAreDrawn) {
    const std::pair<int, TGridMetrics> scales[] = {
        {120, {45, 1, 19}}, {144, {54, 2, 23}}, {192, {72, 2, 30}}};
    for (const auto& [dpi, expected] : scales) {
        const TGridMetrics m = GridMetrics(dpi);
        EXPECT_EQ(std::tie(m.button, m.margin, m.reserve),
                  std::tie(expected.button, expected.margin, expected.reserve));
        const uint16_t width = 20 * m.button, height = 3 * m.button + 9;
        for (std::size_t i : {0u, 1u, 18u, 19u, 20u, 39u}) {
            const TGridCell c = GridCell(i, width, height, m);
            const int last = m.button - 1;
            EXPECT_EQ(GridHit(c.left, c.top, 40, width, height, m), i) << dpi;
            EXPECT_EQ(GridHit(c.left + last, c.top + last, 40, width, height, m), i) << dpi;
            EXPECT_EQ(GridHit(c.left + last, c.top + m.button, 40, width, height, m), 40u) << dpi;
        }
        EXPECT_EQ(GridHeight(40, width, height, m),
                  GridCell(39, width, height, m).top + m.button + m.margin);
    }
}

#include "app/Layout.h"

#include <gtest/gtest.h>

TEST(MaxHSize, GrowsOneRowPerTenButtonsBeyondTwoRowsAndSaturates) {
    const std::pair<std::size_t, uint16_t> cases[] = {{0, 209},  {20, 209}, {21, 245},
                                                      {30, 245}, {31, 281}, {100, 497}};
    for (const auto& [count, height] : cases)
        EXPECT_EQ(MaxHSize(count), height) << count << " buttons";
    // 2,000 rows would wrap a 16-bit height to a few thousand pixels.
    EXPECT_EQ(MaxHSize(20000), 0xFFFF);
}

TEST(StartPlacement, UsesTheSavedRectOnlyWithAPositiveSize) {
    // Negative positions are kept: a window may sit on a monitor left of the primary one.
    const TPlacement saved = StartPlacement({-900, -20, 500, 300}, 209, 1024, 768);
    EXPECT_EQ(std::tie(saved.left, saved.top, saved.width, saved.height),
              std::tuple(-900, -20, 500, 300));
    for (const TOptionsRect& r :
         {TOptionsRect{0, 0, 0, 0}, {10, 10, 0, 300}, {10, 10, -5, 300}, {10, 10, 300, -1}}) {
        const TPlacement p = StartPlacement(r, 245, 1024, 768);
        EXPECT_EQ(std::tie(p.left, p.top, p.width, p.height),
                  std::tuple((1024 - 407) / 2, (768 - 245) / 2, 407, 245));
    }
    // A list of a thousand faces would start 3,700 pixels high, far below the screen.
    const TPlacement tall = StartPlacement({}, MaxHSize(1000), 1024, 768);
    EXPECT_EQ(std::tie(tall.top, tall.height), std::tuple(0, 768));
}

// At any scale the tallest window shows every row of faces, and the smallest shows two, whatever
// the rounding of the scaled frame, margins and buttons.
TEST(MaxHSize, AtEveryScaleTheTallestWindowHoldsEveryRow) {
    for (int dpi : {96, 120, 144, 192}) {
        const TGridMetrics m = GridMetrics(dpi);
        for (std::size_t count : {1, 20, 21, 35, 100}) {
            const TPanelSize box = PanelSize(ScaleTo(MAINMINWIDTH, dpi), MaxHSize(count, dpi), dpi);
            uint16_t gap = 0;
            const std::size_t rows = std::max<std::size_t>(2, (count + 9) / 10);
            EXPECT_EQ(FitButtons(GridLength(box.boxHeight), m.margin, gap, m.button), rows)
                << count << " faces at " << dpi << " dpi";
            EXPECT_EQ(GridCell(count - 1, GridLength(box.boxWidth - m.reserve),
                               GridLength(box.boxHeight), m)
                          .columns,
                      10)
                << dpi << " dpi";
        }
    }
}

#include "app/Layout.h"

#include <gtest/gtest.h>

TEST(MaxHSize, GrowsOneButtonPitchPerRowBeyondTwo) {
    const struct {
        std::size_t count;
        uint16_t height;
    } cases[] = {{0, 209},  {1, 209},  {20, 209}, {21, 245}, {30, 245},
                 {31, 281}, {40, 281}, {41, 317}, {95, 497}, {100, 497}};
    for (const auto& c : cases)
        EXPECT_EQ(MaxHSize(c.count), c.height) << c.count << " buttons";
}

TEST(MaxHSize, HugeListsSaturateInsteadOfWrapping) {
    // 2,000 rows would wrap a 16-bit height to a few thousand pixels.
    EXPECT_EQ(MaxHSize(20000), 0xFFFF);
    EXPECT_GE(MaxHSize(1820 * 10), MaxHSize(1819 * 10));
}

TEST(StartPlacement, UsesSavedRectOnlyWithPositiveSize) {
    const TPlacement saved = StartPlacement({100, 50, 420, 260}, 281, 1024, 768);
    EXPECT_EQ(saved.left, 100);
    EXPECT_EQ(saved.top, 50);
    EXPECT_EQ(saved.width, 420);
    EXPECT_EQ(saved.height, 260);

    // Negative positions are kept: a window may sit on a monitor left of the primary one.
    const TPlacement left = StartPlacement({-900, -20, 500, 300}, 209, 1024, 768);
    EXPECT_EQ(left.left, -900);
    EXPECT_EQ(left.top, -20);

    const TOptionsRect unsaved[] = {
        {0, 0, 0, 0}, {10, 10, 0, 300}, {10, 10, 300, 0}, {10, 10, -5, 300}, {10, 10, 300, -1}};
    for (const auto& r : unsaved) {
        const TPlacement p = StartPlacement(r, 245, 1024, 768);
        EXPECT_EQ(p.width, 407);
        EXPECT_EQ(p.height, 245);
        EXPECT_EQ(p.left, (1024 - 407) / 2);
        EXPECT_EQ(p.top, (768 - 245) / 2);
    }
}

TEST(SavedRect, StoresWidthAndHeightInRightAndBottom) {
    const TOptionsRect r = SavedRect(100, 50, 520, 310);
    EXPECT_EQ(r.Left, 100);
    EXPECT_EQ(r.Top, 50);
    EXPECT_EQ(r.Right, 420);
    EXPECT_EQ(r.Bottom, 260);
    // Round trip through the start placement.
    const TPlacement p = StartPlacement(r, 281, 1024, 768);
    EXPECT_EQ(p.left + p.width, 520);
    EXPECT_EQ(p.top + p.height, 310);
}

TEST(PanelSize, FollowsWindowAndNeverGoesNegative) {
    const TPanelSize smallest = PanelSize(407, 209);
    EXPECT_EQ(smallest.panelWidth, 382);
    EXPECT_EQ(smallest.panelHeight, 79);
    EXPECT_EQ(smallest.boxWidth, 378);
    EXPECT_EQ(smallest.boxHeight, 75);

    const TPanelSize tiny = PanelSize(20, 131);
    EXPECT_EQ(tiny.panelWidth, 0);
    EXPECT_EQ(tiny.panelHeight, 1);
    EXPECT_EQ(tiny.boxWidth, 0);
    EXPECT_EQ(tiny.boxHeight, 0);
}

TEST(MainControls, TabOrderAndIdsAreUsable) {
    // Creation order is the tab order: the four toolbar buttons first, then the edits, help and
    // the palette frame.
    const TMainControl order[] = {mcMinimize, mcCustom, mcOrder,    mcAbout,
                                  mcHint,     mcHelp,   mcSequence, mcPanel};
    for (std::size_t i = 0; i < MainControls.size(); ++i) {
        EXPECT_EQ(MainControls[i].control, order[i]);
        // IDOK and IDCANCEL (1, 2) come from dialog navigation; no control may use them.
        EXPECT_GT(MainControls[i].id, 2);
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(MainControls[i].id, MainControls[j].id);
        const bool picture = MainControls[i].kind == TControlKind::ckPictureButton;
        EXPECT_EQ(picture, MainControls[i].hint != nullptr);
        EXPECT_EQ(picture, MainControls[i].label != nullptr);
    }
}

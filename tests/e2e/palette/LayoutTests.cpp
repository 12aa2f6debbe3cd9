// The palette as the user sees it: sequence and hint under the mouse, blank buttons for missing
// pictures, the grid and its reserve for the scroll bar, the window's size limits, and moving
// the focus with the arrow keys.
#include "e2e/palette/PaletteUtil.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace pe2e;

namespace {

void ExpectGrid(Moodpad& pad, size_t count, int pitchX, int pitchY, int columns) {
    HWND box = pad.ScrollBox();
    ASSERT_NE(nullptr, box);
    auto buttons = pad.Buttons();
    ASSERT_EQ(count, buttons.size());
    for (size_t i = 0; i < buttons.size(); ++i) {
        RECT r = RectIn(buttons[i], box);
        const int col = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
        EXPECT_EQ(1 + pitchX * col, r.left) << "button " << i;
        EXPECT_EQ(1 + pitchY * row, r.top) << "button " << i;
        EXPECT_EQ(36, Width(r));
        EXPECT_EQ(36, Height(r));
    }
}

// Tries to size the window and returns the size it took.
SIZE ResizeTo(HWND main, int w, int h) {
    RECT r = WindowRect(main);
    MoveWindow(main, r.left, r.top, w, h, TRUE);
    Settle(main);
    r = WindowRect(main);
    return {Width(r), Height(r)};
}

TEST(PaletteLayout, HoverShowsSequenceAndHintAndMissingPicturesGiveBlankButtons) {
    Settings s;
    s.buttons = {{"gone1", ":-)", "Smile  with   gaps", false},
                 {"gone2", ";-)", "Wink", false},
                 {"gone3", "ABCDEFGHIJKLMNOPQRS", "Nineteen", false}};
    Moodpad pad;
    ASSERT_TRUE(pad.Start(s));
    bool boxFirst = false;
    ASSERT_TRUE(pad.WaitReady(15000, &boxFirst) || boxFirst);
    ASSERT_TRUE(WaitFor([&] { return !pad.BoxTexts().empty(); })) << "no message box";
    auto boxes = MessageBoxes(pad.proc.pid());
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Moodpad", TextOf(boxes[0]));
    EXPECT_EQ(L"One or more pictures could not be loaded", MessageBoxText(boxes[0]));
    CloseBox(boxes[0]);
    ASSERT_TRUE(pad.WaitReady());
    ASSERT_TRUE(Settle(pad.main));
    EXPECT_TRUE(MessageBoxes(pad.proc.pid()).empty()) << "the notice came more than once";

    auto buttons = pad.Buttons();
    ASSERT_EQ(3u, buttons.size()) << "missing pictures must still give buttons";
    HWND seq = pad.SequenceEdit(), hint = pad.HintEdit();
    ASSERT_NE(nullptr, seq);
    ASSERT_NE(nullptr, hint);

    POINT c = Centre(buttons[0]);
    MoveMouse(c.x, c.y);
    EXPECT_TRUE(WaitFor([&] { return TextOf(seq) == L":-)"; })) << Narrow(TextOf(seq));
    EXPECT_TRUE(WaitFor([&] { return TextOf(hint) == L"Smile  with   gaps"; }))
        << Narrow(TextOf(hint));

    MoveMouse(1000, 740);
    EXPECT_TRUE(WaitFor([&] { return TextOf(seq).empty() && TextOf(hint).empty(); }))
        << "leaving kept '" << Narrow(TextOf(seq)) << "' / '" << Narrow(TextOf(hint)) << "'";

    // Straight from one button to another: the second one's texts stay, whatever the order in
    // which the leave of the first and the move over the second are handled.
    c = Centre(buttons[1]);
    MoveMouse(c.x, c.y);
    ASSERT_TRUE(WaitFor([&] { return TextOf(seq) == L";-)"; }));
    c = Centre(buttons[2]);
    MoveMouse(c.x, c.y);
    EXPECT_TRUE(WaitFor([&] { return TextOf(seq) == L"ABCDEFGHIJKLMNOPQRS"; }));
    ASSERT_TRUE(Settle(pad.main));
    EXPECT_EQ(L"ABCDEFGHIJKLMNOPQRS", TextOf(seq));
    EXPECT_EQ(L"Nineteen", TextOf(hint));
    MoveMouse(1000, 740);
}

TEST(PaletteLayout, TwentyButtonsFillTwoRowsAndTheWindowKeepsItsLimits) {
    Settings s;
    s.buttons = NumberedButtons(20);
    Moodpad pad;
    ASSERT_TRUE(pad.Start(s));
    ASSERT_TRUE(pad.WaitReady());
    RECT w = WindowRect(pad.main);
    ASSERT_EQ(407, Width(w));
    ASSERT_EQ(209, Height(w));
    HWND panel = pad.Panel(), box = pad.ScrollBox();
    ASSERT_NE(nullptr, panel);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(382, Width(WindowRect(panel)));
    EXPECT_EQ(79, Height(WindowRect(panel)));
    EXPECT_EQ(378, Width(WindowRect(box)));
    EXPECT_EQ(75, Height(WindowRect(box)));
    ExpectGrid(pad, 20, 37, 37, 10);

    SIZE sz = ResizeTo(pad.main, 300, 150);
    EXPECT_EQ(407, sz.cx);
    EXPECT_EQ(209, sz.cy);
    sz = ResizeTo(pad.main, 407, 400); // 20 buttons: the height is fixed
    EXPECT_EQ(209, sz.cy);
    sz = ResizeTo(pad.main, 600, 209); // as wide as one likes
    EXPECT_EQ(600, sz.cx);
    EXPECT_EQ(575, Width(WindowRect(panel)));
    EXPECT_EQ(79, Height(WindowRect(panel)));
    // 571 wide: 15 columns with 569 mod 36 = 29 pixels shared by 14 gaps: pitch 38.
    ExpectGrid(pad, 20, 38, 37, 15);
}

TEST(PaletteLayout, TwentyOneButtonsReserveTheScrollBarAndAResizeScrollsToTheTop) {
    Settings s;
    s.buttons = NumberedButtons(21);
    Moodpad pad;
    ASSERT_TRUE(pad.Start(s));
    ASSERT_TRUE(pad.WaitReady());
    ExpectGrid(pad, 21, 36, 37, 10);

    // 21 buttons: three rows, so the window may grow to 245 but no higher.
    SIZE sz = ResizeTo(pad.main, 407, 600);
    EXPECT_EQ(245, sz.cy);
    sz = ResizeTo(pad.main, 407, 100);
    EXPECT_EQ(209, sz.cy);
    ExpectGrid(pad, 21, 36, 37, 10);

    HWND box = pad.ScrollBox();
    ASSERT_NE(nullptr, box);
    auto buttons = pad.Buttons();
    SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_TRUE(WaitFor([&] { return RectIn(buttons[0], box).top < 1; }))
        << "the palette did not scroll";

    // 420 wide: still ten columns beside the scroll bar (391 - 15 = 376: pitch 37), and the
    // palette is back at its top.
    ResizeTo(pad.main, 420, 209);
    EXPECT_EQ(1, RectIn(buttons[0], box).top) << "resizing did not return to the top";
    ExpectGrid(pad, 21, 37, 37, 10);

    // 450 x 245: eleven columns and three rows hold all 21, so nothing is reserved (421 wide,
    // gap 419 mod 36 div 10 = 2) and the rows are 36 apart (109 mod 36 div 2 = 0).
    sz = ResizeTo(pad.main, 450, 245);
    ASSERT_EQ(450, sz.cx);
    ASSERT_EQ(245, sz.cy);
    ExpectGrid(pad, 21, 38, 36, 11);
}

TEST(PaletteLayout, ArrowKeysMoveTheFocusThroughTheGrid) {
    Settings s;
    s.autoInsert = false;
    s.buttons = NumberedButtons(25); // ten columns, the last row holds five
    Moodpad pad;
    ASSERT_TRUE(pad.Start(s));
    ASSERT_TRUE(pad.WaitReady());
    ASSERT_TRUE(BringToFront(pad.main));
    auto buttons = pad.Buttons();
    ASSERT_EQ(25u, buttons.size());
    auto focused = [&] {
        auto it = std::find(buttons.begin(), buttons.end(), FocusOf(pad.main));
        return it == buttons.end() ? -1 : static_cast<int>(it - buttons.begin());
    };
    auto clickOn = [&](int i) {
        POINT c = Centre(buttons[i]);
        Click(c.x, c.y);
        return WaitFor([&] { return focused() == i; });
    };

    ASSERT_TRUE(clickOn(0));
    struct Step {
        WORD key;
        int to;
    };
    // From 0: up wraps to the last row of its column, down wraps back, left and right go to the
    // previous and next button in order, wrapping at the ends.
    for (Step st : {Step{VK_UP, 20}, Step{VK_DOWN, 0}, Step{VK_LEFT, 24}, Step{VK_RIGHT, 0},
                    Step{VK_RIGHT, 1}}) {
        KeyChord({}, st.key);
        EXPECT_TRUE(WaitFor([&] { return focused() == st.to; }))
            << "key " << st.key << " expected " << st.to << " got " << focused();
    }
    // Column 7 has no button in the short last row: up lands in the row above it, and down
    // from there wraps to the first row.
    ASSERT_TRUE(WaitFor([&] {
        RECT r = RectIn(buttons[7], pad.ScrollBox());
        return r.top >= 1;
    }));
    ASSERT_TRUE(clickOn(7));
    for (Step st : {Step{VK_UP, 17}, Step{VK_DOWN, 7}, Step{VK_DOWN, 17}}) {
        KeyChord({}, st.key);
        EXPECT_TRUE(WaitFor([&] { return focused() == st.to; }))
            << "key " << st.key << " expected " << st.to << " got " << focused();
    }
    // The focused button is scrolled into view.
    RECT r = RectIn(buttons[17], pad.ScrollBox());
    RECT box{};
    GetClientRect(pad.ScrollBox(), &box);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.bottom, box.bottom);
}

} // namespace

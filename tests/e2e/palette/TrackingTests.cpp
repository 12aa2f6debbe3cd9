// Window tracking: with the always-on-top palette over an active target, hovering the palette
// queries the target once per button visit, the answer makes a click deliver there, and an
// active palette queries nothing.
#include "e2e/palette/PaletteUtil.h"

#include <gtest/gtest.h>

using namespace pe2e;

namespace {

// Moves over the button at an offset from its centre and waits until the move has been handled,
// seen as the sequence box showing the button's sequence again after it was emptied from here.
bool Hover(HWND seqEdit, HWND button, const std::wstring& sequence, int dx = 0, int dy = 0) {
    SendMessageW(seqEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    POINT c = Centre(button);
    MoveMouse(c.x + dx, c.y + dy);
    return WaitFor([&] { return TextOf(seqEdit) == sequence; });
}

// Moves the mouse off the palette and waits until the leave has emptied the sequence box.
bool Leave(HWND seqEdit) {
    MoveMouse(1000, 740);
    return WaitFor([&] { return TextOf(seqEdit).empty(); });
}

TEST(PaletteTracking, OneQueryPerButtonVisitWhileAnotherProgramIsActive) {
    Settings s;
    s.style = 1;
    s.trackWindows = true;
    s.buttons = NumberedButtons(4);
    Target target;
    ASSERT_TRUE(target.Start());
    Moodpad pad;
    ASSERT_TRUE(pad.Start(s));
    ASSERT_TRUE(pad.WaitReady());
    HWND seq = pad.SequenceEdit();
    ASSERT_NE(nullptr, seq);
    auto buttons = pad.Buttons();
    ASSERT_EQ(4u, buttons.size());
    ASSERT_TRUE(Leave(seq));

    ASSERT_TRUE(target.Activate());
    ASSERT_NE(0, GetWindowLongPtrW(pad.main, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Several moves over one button: one query.
    ASSERT_TRUE(Hover(seq, buttons[0], L":-)", -6, -6));
    ASSERT_TRUE(Hover(seq, buttons[0], L":-)", 0, 0));
    ASSERT_TRUE(Hover(seq, buttons[0], L":-)", 5, 3));
    ASSERT_TRUE(WaitFor([&] { return target.Count("SENDTOHOOK") > 0; }))
        << "no query reached the active target";
    ASSERT_TRUE(target.Sync());
    EXPECT_EQ(1u, target.Count("SENDTOHOOK"));

    // Leaving the button forgets the target: the next button queries again.
    ASSERT_TRUE(Leave(seq));
    ASSERT_TRUE(Hover(seq, buttons[1], L"s1"));
    ASSERT_TRUE(Hover(seq, buttons[1], L"s1", 4, 4));
    EXPECT_TRUE(WaitFor([&] { return target.Count("SENDTOHOOK") == 2; }));
    ASSERT_TRUE(target.Sync());
    EXPECT_EQ(2u, target.Count("SENDTOHOOK"));

    // The answer named the target: a click delivers there without any hot key.
    POINT c = Centre(buttons[1]);
    Click(c.x, c.y);
    EXPECT_TRUE(WaitFor([&] { return TextOf(target.edit) == L" s1 "; }))
        << "the tracked target received nothing";

    // With the palette active (and the target forgotten by the switch) hovering queries nothing.
    ASSERT_TRUE(target.Activate());
    ASSERT_TRUE(BringToFront(pad.main));
    ASSERT_TRUE(Leave(seq));
    ASSERT_TRUE(Hover(seq, buttons[2], L"s2"));
    ASSERT_TRUE(Leave(seq));
    ASSERT_TRUE(Hover(seq, buttons[3], L"s3"));
    ASSERT_TRUE(target.Sync());
    EXPECT_EQ(2u, target.Count("SENDTOHOOK"));
}

TEST(PaletteTracking, NoQueryWhenTrackingIsOff) {
    Settings s;
    s.style = 1;
    s.trackWindows = false;
    s.buttons = NumberedButtons(2);
    Target target;
    ASSERT_TRUE(target.Start());
    Moodpad pad;
    ASSERT_TRUE(pad.Start(s));
    ASSERT_TRUE(pad.WaitReady());
    HWND seq = pad.SequenceEdit();
    ASSERT_NE(nullptr, seq);
    auto buttons = pad.Buttons();
    ASSERT_EQ(2u, buttons.size());
    ASSERT_TRUE(target.Activate());
    ASSERT_TRUE(Hover(seq, buttons[0], L":-)"));
    ASSERT_TRUE(Hover(seq, buttons[0], L":-)", 3, 3));
    ASSERT_TRUE(target.Sync());
    EXPECT_EQ(0u, target.Count("SENDTOHOOK"));
    // And a click delivers nothing: no target was learnt.
    ASSERT_TRUE(SetClipboardText("before"));
    POINT c = Centre(buttons[0]);
    Click(c.x, c.y);
    ASSERT_TRUE(WaitFor([] { return ClipboardText() == " :-) "; }));
    ASSERT_TRUE(Settle(pad.main));
    ASSERT_TRUE(target.Sync());
    EXPECT_EQ(0u, target.Count("PASTE"));
}

} // namespace

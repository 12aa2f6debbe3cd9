// The palette as a user and a screen reader see it: its faces, the notice about missing pictures,
// the sequence and hint under the mouse, the keyboard, scrolling and resizing, the tracking query
// that hovering sends to the active program, and a press and move that is no drag.
#include "support/Support.h"

#include <gtest/gtest.h>

using namespace support;

namespace {

const POINT kOffPalette{1000, 740};

// Missing, damaged and foreign pictures: blank faces and one notice, and neither a crash, a stall
// nor the memory that a header claims.
TEST(Palette, MissingAndDamagedPicturesGiveFacesAndOneNoticeThatOpensAboveTheSplash) {
    Settings s;
    s.faces = {{"gone", ":-)", "Smile  with   gaps", false},
               {"b1", ";-)", "Wink"},
               {"gone2", "ABCDEFGHIJKLMNOPQRS", "Nineteen", false}};
    // No bitmap at all, a header that claims 14 GB, and a small picture in a file of 20 MB. (The
    // other damaged headers the decoder refuses are in its unit tests.)
    const std::pair<const char*, std::string> damaged[] = {
        {"text", std::string(300, 'x')},
        {"huge", Bitmap(60000, 60000, 32, 0, std::string(4000, 0))},
        {"oversized", Bitmap(32, 32, 24, 0, std::string(20u << 20, 0))},
    };
    for (const auto& [name, bytes] : damaged)
        s.faces.push_back({name, name, ""});
    Moodpad pad;
    ASSERT_TRUE(pad.Prepare(&s));
    for (const auto& [name, bytes] : damaged)
        ASSERT_TRUE(WriteFile(pad.dir / (L"faces\\" + Widen(name) + L".bmp"), bytes));
    ASSERT_TRUE(pad.Launch());
    const HWND box = pad.WaitBox(15000), splash = pad.Splash();
    ASSERT_TRUE(box) << "no notice";
    // Start-up waits for the notice: beneath the topmost splash no one could see it.
    ASSERT_TRUE(splash) << "the notice came after the splash";
    HWND below = box;
    while (below && below != splash)
        below = GetWindow(below, GW_HWNDNEXT);
    EXPECT_TRUE(below) << "the notice opened beneath the splash";
    EXPECT_EQ(Text(box) + L": " + MessageBoxText(box),
              L"Moodpad: One or more pictures could not be loaded");
    PressOk(box);
    ASSERT_TRUE(pad.WaitReady() && Settle(pad.main));
    EXPECT_TRUE(pad.BoxTexts().empty()) << "the notice came more than once";
    EXPECT_LT(UsageOf(pad.proc).pagefile, 40u << 20);

    Faces faces(pad.Palette());
    ASSERT_EQ(faces.Count(), long(s.faces.size()))
        << "a face without its picture is a face all the same";
    for (long k = 1; k <= 3; ++k) {
        EXPECT_EQ(faces.Name(k), Widen(s.faces[k - 1].sequence));
        EXPECT_EQ(faces.Role(k), ROLE_SYSTEM_PUSHBUTTON);
    }
    EXPECT_EQ(faces.Hint(2), L"Wink");

    const HWND seq = pad.Control(mcSequence), hint = pad.Control(mcHint);
    MoveMouse(Centre(faces.Location(1)));
    EXPECT_TRUE(
        WaitFor([&] { return Text(hint) == L"Smile  with   gaps" && Text(seq) == L":-)"; }));
    EXPECT_TRUE(faces.State(1) & STATE_SYSTEM_HOTTRACKED);
    MoveMouse(kOffPalette);
    EXPECT_TRUE(WaitFor([&] { return Text(seq).empty() && Text(hint).empty(); }))
        << "leaving kept " << Narrow(Text(seq));
    // Straight from one face to the next: the second one's texts stay.
    MoveMouse(Centre(faces.Location(2)));
    ASSERT_TRUE(WaitFor([&] { return Text(seq) == L";-)"; }));
    MoveMouse(Centre(faces.Location(3)));
    EXPECT_TRUE(WaitFor([&] { return Text(seq) == L"ABCDEFGHIJKLMNOPQRS"; }));
    ASSERT_TRUE(Settle(pad.main));
    EXPECT_EQ(Text(hint), L"Nineteen");
    MoveMouse(kOffPalette);
}

// The keyboard moves the focus through the faces and scrolls the focused one into view (Enter
// chooses: LoadTest.cpp).
// Minimising and restoring leaves the window's size as it was, so the palette keeps its scroll
// position; a new width lays the faces out again.
TEST(Palette, KeyboardScrollingAndANewWidthAndScrollPositionKeptOverMinimiseAndRestore) {
    Moodpad pad; // more rows than the window shows
    ASSERT_TRUE(pad.Start({.autoInsert = false, .left = 20, .faces = NumberedFaces(40)}) &&
                pad.WaitReady() && BringToFront(pad.main));
    Faces faces(pad.Palette());
    ASSERT_EQ(faces.Count(), 40);
    const auto focused = [&] { return faces.First(STATE_SYSTEM_FOCUSED); };
    faces.Click(1);
    ASSERT_TRUE(WaitFor([&] { return focused() == 1; }));
    Chord({VK_TAB});
    EXPECT_TRUE(WaitFor([&] { return focused() == 2; })) << "Tab visits the faces one by one";
    Chord({VK_SHIFT, VK_TAB});
    EXPECT_TRUE(WaitFor([&] { return focused() == 1; }));

    // Down goes to the face below in the same column, down to the last row, out of view so far.
    ASSERT_TRUE(faces.State(25) & STATE_SYSTEM_OFFSCREEN);
    long at = 1;
    for (int row = 2; row <= 3; ++row) {
        Chord({VK_DOWN});
        ASSERT_TRUE(WaitFor([&] { return focused() > at; })) << "row " << row;
        at = focused();
        EXPECT_EQ(faces.Location(at).left, faces.Location(1).left);
    }
    EXPECT_FALSE(faces.State(at) & STATE_SYSTEM_OFFSCREEN) << "the focused face is scrolled in";
    EXPECT_TRUE(WaitFor([&] { return Text(pad.Control(mcSequence)) == faces.Name(at); }));

    long secondRow = 2;
    while (secondRow < 40 && faces.Location(secondRow).top == faces.Location(1).top)
        ++secondRow;
    const RECT r = WindowRect(pad.main);
    MoveWindow(pad.main, r.left, r.top, r.right - r.left + 150, r.bottom - r.top, TRUE);
    EXPECT_TRUE(WaitFor([&] { return faces.Location(secondRow).top == faces.Location(1).top; }))
        << "the first row did not take more faces";

    SendMessageW(pad.Palette(), WM_VSCROLL, SB_PAGEDOWN, 0);
    long first = 0;
    ASSERT_TRUE(WaitFor([&] { return (first = faces.First(STATE_SYSTEM_OFFSCREEN, false)) > 1; }))
        << "the palette did not scroll";
    ASSERT_TRUE(pad.Minimise() && pad.Restore());
    EXPECT_EQ(faces.First(STATE_SYSTEM_OFFSCREEN, false), first);
}

// Over a palette that is not active, the first move onto a face asks the active program where it
// was typing; the answer lets a click deliver there. The query goes only with tracking on, once per
// visit of a face, and never while the palette itself is active. With drag-and-drop off (the
// default) a face pressed and moved starts no drag.
TEST(Palette, HoveringQueriesTheActiveProgramOncePerFaceVisitWhenTrackingAndAMoveIsNoDrag) {
    for (bool tracking : {true, false}) {
        SCOPED_TRACE(tracking ? "tracking" : "not tracking");
        const Settings s{.trackWindows = tracking, .style = 1, .faces = NumberedFaces(4)};
        Target target;
        Moodpad pad;
        ASSERT_TRUE(target.Start() && pad.Start(s) && pad.WaitReady());
        Faces faces(pad.Palette());
        ASSERT_EQ(faces.Count(), 4);
        const auto hover = [&](long k, int d = 0) {
            const POINT c = Centre(faces.Location(k));
            MoveMouse({c.x + d, c.y + d});
            return WaitFor([&] { return Text(pad.Control(mcSequence)) == faces.Name(k); });
        };
        MoveMouse(kOffPalette);
        ASSERT_TRUE(target.Activate() && ClearClipboard());
        ASSERT_TRUE(hover(1, -6) && hover(1) && hover(1, 5) && hover(2) && hover(2, 4));
        ASSERT_TRUE(target.Sync());
        EXPECT_EQ(target.Count("SENDTOHOOK"), tracking ? 2u : 0u);

        faces.Click(2);
        EXPECT_TRUE(WaitFor([] { return ClipboardText() == " s1 "; }));
        ASSERT_TRUE(Settle(pad.main) && target.Sync());
        EXPECT_EQ(target.Count("PASTE"), tracking ? 1u : 0u);

        ASSERT_TRUE(target.Activate() && BringToFront(pad.main));
        ASSERT_TRUE(hover(3) && hover(4) && target.Sync());
        EXPECT_EQ(target.Count("SENDTOHOOK"), tracking ? 2u : 0u);

        // With drag-and-drop off a press and move is no drag: the moves go to the palette, which
        // keeps the capture, and the release over the target drops nothing.
        const POINT over = Centre(WindowRect(target.edit));
        MouseButton(Centre(faces.Location(1)), true);
        ASSERT_TRUE(WaitFor([&] { return CaptureOf(pad.main) == pad.Palette(); }));
        MoveMouse(over);
        ASSERT_TRUE(Settle(pad.main));
        EXPECT_EQ(CaptureOf(pad.main), pad.Palette()) << "the press became a drag";
        MouseButton(over, false);
        ASSERT_TRUE(target.Sync());
        EXPECT_EQ(target.Count("DROP"), 0u);
        MoveMouse(kOffPalette);
    }
}

} // namespace

// Dragging a face out of the palette into a drop target in another process, as a user does with
// the mouse: the drop delivers exactly the face's text; Esc and a release where nothing accepts
// change nothing; with drag-and-drop off a press and move is no drag.
#include "support/Support.h"

#include <gtest/gtest.h>

using namespace support;

namespace {

const POINT kNowhere{1000, 740}; // the bare desktop: no drop target

// What the target's drops delivered, one byte a logged line.
std::string Dropped(const Target& t) {
    std::string s;
    for (const LogLine& l : t.Lines("DROPCHAR"))
        s += static_cast<char>(l.a);
    return s;
}

// Presses the left button on a face and moves it a little. True once the program's drag loop has
// taken the mouse (the capture left the palette).
bool BeginDrag(const Moodpad& pad, const Faces& faces, long child) {
    const POINT c = Centre(faces.Location(child));
    MouseButton(c, true);
    MoveMouse({c.x + 3, c.y + 2});
    return WaitFor([&] {
        const HWND capture = CaptureOf(pad.main);
        return capture && capture != pad.Palette();
    });
}

// Moves over p (twice, so that a target sees the mouse over it) and releases there.
void ReleaseOver(POINT p) {
    MoveMouse(p);
    MoveMouse({p.x + 1, p.y + 1});
    MouseButton({p.x + 1, p.y + 1}, false);
}

bool DragEnded(const Moodpad& pad) {
    return WaitFor([&] { return CaptureOf(pad.main) == nullptr; });
}

TEST(Drag, AFaceDroppedOnATargetGivesItsTextWithItsBlanksAndEscOrNoTargetChangesNothing) {
    Target target;
    ASSERT_TRUE(target.Start());
    Settings s;
    s.autoInsert = false;
    s.dragDrop = true;
    s.style = 2; // minimise after a choice, and after a drop
    s.faces = {{"b0", ":-)", "Smile"}, {"b1", "<:o)", "Party"}};
    Moodpad pad;
    ASSERT_TRUE(pad.Start(s) && pad.WaitReady() && BringToFront(pad.main));
    Faces faces(pad.Palette());
    ASSERT_EQ(faces.Count(), 2);
    const POINT over = Centre(WindowRect(target.edit));

    // Esc while over a target that would take the text.
    ASSERT_TRUE(ClearClipboard());
    ASSERT_TRUE(BeginDrag(pad, faces, 2)) << "a press and move did not start a drag";
    MoveMouse(over);
    MoveMouse({over.x + 1, over.y});
    Chord({VK_ESCAPE});
    EXPECT_TRUE(DragEnded(pad)) << "Esc did not end the drag";
    // Back over the face with the button still held: the press is spent, no new drag, and the
    // release there is no click.
    const POINT face = Centre(faces.Location(2));
    MoveMouse(face);
    ASSERT_TRUE(WaitFor([&] { return (faces.State(2) & STATE_SYSTEM_HOTTRACKED) != 0; }));
    EXPECT_EQ(CaptureOf(pad.main), nullptr) << "a held button dragged again after Esc";
    MouseButton(face, false);
    // A release where nothing takes text.
    ASSERT_TRUE(BeginDrag(pad, faces, 2));
    ReleaseOver(kNowhere);
    EXPECT_TRUE(DragEnded(pad));
    ASSERT_TRUE(target.Sync() && Settle(pad.main));
    EXPECT_EQ(target.Count("DROP"), 0u);
    EXPECT_FALSE(IsIconic(pad.main)) << "a drag that delivered nothing minimised the palette";
    EXPECT_EQ(ClipboardText(), "") << "a drag chose the face";

    // Without a move the press is a click, which chooses.
    faces.Click(1);
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == " :-) "; })) << ClipboardText();
    ASSERT_TRUE(WaitFor([&] { return IsIconic(pad.main) != FALSE; }));
    ASSERT_TRUE(pad.Restore() && BringToFront(pad.main));
    ASSERT_TRUE(ClearClipboard());

    ASSERT_TRUE(BeginDrag(pad, faces, 2));
    ReleaseOver(over);
    ASSERT_TRUE(WaitFor([&] { return target.Count("DROP") == 1; })) << "nothing was dropped";
    EXPECT_EQ(Dropped(target), " <:o) ");
    EXPECT_EQ(target.Lines("DROP")[0].a, unsigned(DROPEFFECT_COPY));
    EXPECT_TRUE(WaitFor([&] { return IsIconic(pad.main) != FALSE; })) << "a drop did not minimise";
    EXPECT_EQ(ClipboardText(), "") << "a drop is no choice: the clipboard stays as it was";
}

TEST(Drag, WithDragAndDropOffAPressAndMoveIsNoDragAndAClickChooses) {
    Target target;
    ASSERT_TRUE(target.Start());
    Settings s;
    s.autoInsert = false;
    s.faces = {{"b0", ":-)", "Smile"}};
    Moodpad pad;
    ASSERT_TRUE(pad.Start(s) && pad.WaitReady() && BringToFront(pad.main));
    Faces faces(pad.Palette());
    ASSERT_TRUE(ClearClipboard());

    const POINT c = Centre(faces.Location(1)), over = Centre(WindowRect(target.edit));
    MouseButton(c, true);
    ASSERT_TRUE(WaitFor([&] { return CaptureOf(pad.main) == pad.Palette(); }));
    MoveMouse({c.x + 3, c.y + 2});
    MoveMouse(over);
    // The palette saw the mouse leave the face: the moves were served, by it and not by a drag.
    EXPECT_TRUE(WaitFor([&] { return !(faces.State(1) & STATE_SYSTEM_HOTTRACKED); }));
    EXPECT_EQ(CaptureOf(pad.main), pad.Palette()) << "the press became a drag";
    ReleaseOver(over);
    ASSERT_TRUE(target.Sync() && Settle(pad.main));
    EXPECT_EQ(target.Count("DROP"), 0u);
    EXPECT_EQ(ClipboardText(), "") << "a release off the face chose it";

    faces.Click(1);
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == " :-) "; })) << ClipboardText();
}

} // namespace

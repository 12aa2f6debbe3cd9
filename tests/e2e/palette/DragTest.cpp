// Dragging a face out of the palette into a drop target in another process, as a user does with
// the mouse: the drop delivers exactly the face's text; Esc and a release where nothing accepts
// change nothing. (With drag-and-drop off a press and move is no drag: PaletteTest.cpp.)
#include "support/Support.h"

#include <gtest/gtest.h>

using namespace support;

namespace {

// Presses the left button on a face and moves it a little. True once the program's drag loop has
// the mouse (the capture left the palette).
bool BeginDrag(const Moodpad& pad, POINT face) {
    MouseButton(face, true);
    MoveMouse({face.x + 3, face.y + 2});
    return WaitFor([&] {
        const HWND capture = CaptureOf(pad.main);
        return capture && capture != pad.Palette();
    });
}

TEST(Drag, AFaceDroppedOnATargetGivesItsTextWithItsBlanksAndEscOrNoTargetChangesNothing) {
    Target target;
    ASSERT_TRUE(target.Start());
    // Minimised after a choice, and after a drop.
    const Settings s{.autoInsert = false,
                     .style = 2,
                     .dragDrop = true,
                     .faces = {{"b0", ":-)", "Smile"}, {"b1", "<:o)", "Party"}}};
    Moodpad pad;
    ASSERT_TRUE(pad.Start(s) && pad.WaitReady() && BringToFront(pad.main));
    Faces faces(pad.Palette());
    const POINT face = Centre(faces.Location(2)), over = Centre(WindowRect(target.edit));
    ASSERT_TRUE(ClearClipboard());

    // Esc over a target that would take the text; back over the face with the button still
    // held: the press is spent, so no new drag, and the release there is no click.
    ASSERT_TRUE(BeginDrag(pad, face)) << "a press and move started no drag";
    MoveMouse(over);
    Chord({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return !CaptureOf(pad.main); })) << "Esc did not end the drag";
    MoveMouse(face);
    ASSERT_TRUE(WaitFor([&] { return (faces.State(2) & STATE_SYSTEM_HOTTRACKED) != 0; }));
    EXPECT_EQ(CaptureOf(pad.main), nullptr) << "a held button dragged again after Esc";
    MouseButton(face, false);
    // A release on the bare desktop, where nothing takes text.
    ASSERT_TRUE(BeginDrag(pad, face));
    MouseButton({1000, 740}, false);
    EXPECT_TRUE(WaitFor([&] { return !CaptureOf(pad.main); }));
    ASSERT_TRUE(target.Sync() && Settle(pad.main));
    EXPECT_EQ(target.Count("DROP"), 0u);
    EXPECT_FALSE(IsIconic(pad.main)) << "a drag that delivered nothing minimised the palette";
    EXPECT_EQ(ClipboardText(), "") << "a drag chose the face";

    // Without a move the press is a click, which chooses.
    faces.Click(1);
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == " :-) "; })) << ClipboardText();
    ASSERT_TRUE(WaitFor([&] { return IsIconic(pad.main) != FALSE; }));
    ASSERT_TRUE(pad.Restore() && BringToFront(pad.main) && ClearClipboard());

    ASSERT_TRUE(BeginDrag(pad, face));
    MoveMouse(over);
    MouseButton({over.x + 1, over.y}, false);
    ASSERT_TRUE(WaitFor([&] { return target.Count("DROP") == 1; })) << "nothing was dropped";
    EXPECT_EQ(target.EditText(), L" <:o) ");
    EXPECT_TRUE(WaitFor([&] { return IsIconic(pad.main) != FALSE; })) << "a drop did not minimise";
    EXPECT_EQ(ClipboardText(), "") << "a drop is no choice: the clipboard stays as it was";
}

} // namespace

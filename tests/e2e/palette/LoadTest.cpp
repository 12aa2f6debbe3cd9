// The program under load: 1,000 choices in a row, 500 hot-key presses, 500 resizes. After each
// loop the program's windows, kernel handles and memory must be where they were after its first
// fifth: that catches a leak of a window or handle at once, and one of memory from about 160 bytes
// a choice or 320 bytes a hot key or resize (a leaked GDI bitmap or device context costs more).
#include "support/Support.h"

#include <gtest/gtest.h>

using namespace support;

namespace {

// Runs step(i) `rounds` times and compares the program's usage after the first fifth with the end.
void Flat(const Moodpad& pad, int rounds, const std::function<void(int)>& step) {
    Usage start;
    for (int i = 0; i < rounds && !testing::Test::HasFatalFailure(); ++i) {
        if (i == rounds / 5) {
            ASSERT_TRUE(Settle(pad.main));
            start = UsageOf(pad.proc);
        }
        step(i);
    }
    ASSERT_TRUE(Settle(pad.main));
    const Usage end = UsageOf(pad.proc);
    EXPECT_EQ(end.windows, start.windows);
    EXPECT_LE(end.handles, start.handles + 2);
    EXPECT_LE(end.pagefile, start.pagefile + (128u << 10))
        << "grew by " << (end.pagefile - start.pagefile) / (rounds - rounds / 5)
        << " bytes a round";
}

// Choices as fast as the keys are taken, in character mode so that order shows: the two faces in
// turn (Home and End move between them, Enter chooses), in batches of 10, every text whole and in
// order. Then the hot key pressed in the target again and again, and the palette resized.
TEST(Load, ChoicesHotKeysAndResizesLeaveNothingBehind) {
    const Settings s{.useClipboard = false, .left = 440, .top = 20, .faces = NumberedFaces(2)};
    Target target;
    Moodpad pad;
    ASSERT_TRUE(target.Start() && pad.Start(s) && pad.WaitReady() && target.Activate());
    ASSERT_TRUE(pad.BoxTexts().empty()) << Narrow(pad.BoxTexts()[0]);
    const auto hotKey = [&] {
        ASSERT_TRUE(target.Activate());
        ASSERT_TRUE(pad.HotKey());
    };
    hotKey();
    // A click gives the palette the keyboard focus, and is the first choice.
    Faces(pad.Palette()).Click(1);
    std::string want = " :-) ";
    Flat(pad, 100, [&](int) {
        for (int k = 0; k < 10; ++k) {
            for (WORD vk : {WORD(k % 2 ? VK_END : VK_HOME), WORD(VK_RETURN)})
                SendKey(vk, false), SendKey(vk, true);
            want += k % 2 ? " s1 " : " :-) ";
        }
        ASSERT_TRUE(WaitFor(
            [&] {
                return SendMessageW(target.edit, WM_GETTEXTLENGTH, 0, 0) >= LRESULT(want.size());
            },
            20000))
            << target.Count("CHAR") << " of " << want.size() << " characters";
    });
    std::string got;
    for (const LogLine& l : target.Lines("CHAR"))
        got += char(l.a);
    EXPECT_EQ(got, want);
    EXPECT_EQ(ClipboardText(), " s1 ");
    EXPECT_TRUE(pad.BoxTexts().empty());

    Flat(pad, 500, [&](int) { hotKey(); });
    const RECT r = WindowRect(pad.main);
    Flat(pad, 500, [&](int i) {
        // Ten sizes in turn: the window has the same size where usage is compared.
        MoveWindow(pad.main, r.left, r.top, r.right - r.left + i % 10 * 30,
                   r.bottom - r.top + i % 10 * 20, TRUE);
        ASSERT_TRUE(Settle(pad.main));
    });
}

} // namespace

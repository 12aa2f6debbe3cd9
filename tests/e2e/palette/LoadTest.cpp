// The program under load: 1,000 choices in a row, 500 hot-key presses, 500 resizes. Through each
// loop after its first fifth the program's windows, kernel handles and memory must stay where they
// were: that catches a leak of a window or handle at once, and one of memory from about 160 bytes
// a choice or 320 bytes a hot key or resize (a leaked GDI bitmap or device context costs more).
#include "support/Support.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace support;

namespace {

// Runs step(i) `rounds` times and compares the program's usage after the first fifth, after three
// fifths and at the end. A leak grows both halves alike; the page file may also take one step of
// its own now and then (the heap or Wine's caches growing once), which shows in one half only.
void Flat(const Moodpad& pad, int rounds, const std::function<void(int)>& step) {
    Usage at[3];
    for (int i = 0, k = 0; i <= rounds && !testing::Test::HasFatalFailure(); ++i) {
        if (i == rounds / 5 || i == rounds * 3 / 5 || i == rounds) {
            ASSERT_TRUE(Settle(pad.main));
            at[k++] = UsageOf(pad.proc);
        }
        if (i < rounds)
            step(i);
    }
    EXPECT_EQ(at[1].windows, at[0].windows);
    EXPECT_EQ(at[2].windows, at[0].windows);
    EXPECT_LE(at[2].handles, at[0].handles + 2);
    const SIZE_T first = at[1].pagefile - std::min(at[1].pagefile, at[0].pagefile);
    const SIZE_T second = at[2].pagefile - std::min(at[2].pagefile, at[1].pagefile);
    EXPECT_LE(std::min(first, second), SIZE_T(64) << 10)
        << "grew by " << first << " and " << second << " bytes over " << rounds * 2 / 5
        << " rounds each";
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

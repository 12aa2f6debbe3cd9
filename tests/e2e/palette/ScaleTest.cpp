// The palette on a screen of more dots per inch: buttons, grid, scroll step and the smallest
// window grow by dpi/96. Wine reads the screen's dpi from the registry when a program starts, so
// the test sets it for the programs it starts and puts it back.
#include "support/Support.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace support;

namespace {

// HKCU\Control Panel\Desktop LogPixels for the programs started while this lives.
struct TScreenDpi {
    explicit TScreenDpi(DWORD dpi) {
        // Wine reads the value once per process, on first use: this process reads it before the
        // change, and keeps the dpi the other tests expect.
        const HDC screen = GetDC(nullptr);
        GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        Set(dpi);
    }
    // The test prefix has no value of its own: without one Wine takes 96.
    ~TScreenDpi() { RegDeleteKeyValueW(HKEY_CURRENT_USER, Key, Value); }
    static void Set(DWORD dpi) {
        RegSetKeyValueW(HKEY_CURRENT_USER, Key, Value, REG_DWORD, &dpi, sizeof dpi);
    }
    static constexpr const wchar_t *Key = L"Control Panel\\Desktop", *Value = L"LogPixels";
};

TEST(Scale, ButtonsGridScrollStepAndSmallestWindowGrowWithTheScreensDpi) {
    for (int dpi : {144, 192}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
        Moodpad pad;
        {
            const TScreenDpi screen(static_cast<DWORD>(dpi));
            // Three rows: two in view and a scroll bar.
            ASSERT_TRUE(pad.Start({.left = 20, .top = 20, .faces = NumberedFaces(30)}) &&
                        pad.WaitReady());
        }
        // Asked to be smaller, the window stops at its smallest size.
        MoveWindow(pad.main, 20, 20, 100, 100, TRUE);
        ASSERT_TRUE(Settle(pad.main));
        const RECT w = WindowRect(pad.main);
        EXPECT_EQ(std::tuple(w.right - w.left, w.bottom - w.top),
                  std::tuple(scaled(MAINMINWIDTH), scaled(MAINMINHEIGHT)));

        Faces faces(pad.Palette());
        ASSERT_EQ(faces.Count(), 30);
        const RECT first = faces.Location(1), second = faces.Location(2),
                   tenth = faces.Location(10), below = faces.Location(11);
        EXPECT_EQ(std::tuple(first.right - first.left, first.bottom - first.top),
                  std::tuple(scaled(BUTTONSIZE), scaled(BUTTONSIZE)));
        // Ten columns as at 96 dpi; beside the scroll bar's scaled reserve they sit edge to edge.
        EXPECT_EQ(tenth.top, first.top);
        EXPECT_EQ(below.left, first.left);
        EXPECT_EQ(second.left - first.left, scaled(BUTTONSIZE));
        // The rows keep the design's pitch of 37, scaled, give or take the rounding of the gap.
        const int pitch = below.top - first.top;
        EXPECT_LE(std::abs(pitch * 96 - 37 * dpi), 96) << "row pitch " << pitch;
        // One line of the scroll bar is one row.
        SendMessageW(pad.Palette(), WM_VSCROLL, SB_LINEDOWN, 0);
        EXPECT_TRUE(WaitFor([&] { return faces.Location(11).top == first.top; }))
            << "a line moved the faces by " << first.top - faces.Location(1).top;
    }
}

} // namespace

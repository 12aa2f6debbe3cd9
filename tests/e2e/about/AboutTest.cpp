// The about box and the credits as a user opens them (the key A, the Credits button), filled from
// the "ProductInfo" section of the settings file, which the about box reads anew at every showing.
#include "about/Engabout_win.h"
#include "support/Support.h"

#include <gtest/gtest.h>

using namespace support;

namespace {

// The general error display's boxes.
std::vector<HWND> ErrorBoxes(const Moodpad& pad) {
    return TopWindows(pad.proc.pid, L"#32770", L"Moodpad", true);
}

// Types A into the main window and waits for the about box to be filled: its caption comes
// first, and once the box has answered a message after that, the rest is in or its error box is
// up.
HWND OpenAbout(const Moodpad& pad) {
    if (!BringToFront(pad.main))
        return nullptr;
    Chord({'A'});
    HWND about = nullptr;
    const auto filled = [&] { // the dialog with the product line, captioned with the product
        for (HWND w : TopWindows(pad.proc.pid, L"#32770", nullptr, true))
            if (GetDlgItem(w, ABOUTPRODUCTID) && Text(about = w) != L"About")
                return true;
        return false;
    };
    return WaitFor(filled) && Settle(about) ? about : nullptr;
}

// The caption and the product line.
std::wstring Shown(HWND about) {
    return Text(about) + L": " + Text(GetDlgItem(about, ABOUTPRODUCTID));
}

TEST(About, ShowsTheProductInfoOfTheSettingsFileAtEachShowingAndReportsABadPictureOnce) {
    Settings s;
    Moodpad pad;
    ASSERT_TRUE(pad.Start(s) && pad.WaitReady());
    const struct {
        std::string section;
        std::wstring shown;
    } cases[] = {
        {"", L"About Moodpad: Moodpad(tm) 1.32"},
        // An empty picture names no file (not the program's directory): no error box.
        {"[ProductInfo]\r\nProductName=Smile(TM)\r\nPictureAbout=\r\n",
         L"About Smile: Smile(TM) 1.32"},
        {"[ProductInfo]\r\nProductName=Smile\r\nProductVersion=\r\nPictureAbout=faces\r\n",
         L"About Smile: Smile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        ASSERT_TRUE(WriteFile(pad.Ini(), s.Text() + c.section));
        const HWND about = OpenAbout(pad);
        ASSERT_TRUE(about);
        EXPECT_TRUE(ErrorBoxes(pad).empty()) << Narrow(MessageBoxText(ErrorBoxes(pad)[0]));
        EXPECT_EQ(Shown(about), c.shown);

        // The credits, opened and closed: the about box is activated again and stays as it was.
        Click(Centre(WindowRect(GetDlgItem(about, ABOUTCREDITSID))));
        const HWND credits = WaitBox(pad.proc.pid, L"Moodpad Credits");
        ASSERT_TRUE(credits && WaitFor([&] { return FocusOf(credits) != nullptr; }));
        Chord({VK_RETURN});
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(credits) && FocusOf(about); }) && Settle(about));
        EXPECT_EQ(Shown(about), c.shown);

        Chord({VK_ESCAPE});
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(about); }));
    }

    // A picture that is no bitmap: one error box, then the box goes on with the built-in logo and
    // the version appended once.
    ASSERT_TRUE(WriteFile(pad.dir / L"bad.bmp", "no picture") &&
                WriteFile(pad.Ini(), s.Text() + "[ProductInfo]\r\nPictureAbout=bad.bmp\r\n"));
    const HWND about = OpenAbout(pad);
    ASSERT_TRUE(about);
    const auto boxes = ErrorBoxes(pad);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(MessageBoxText(boxes[0]), L"Bitmap image is not valid.");
    PressOk(boxes[0]);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(boxes[0]); }) && Settle(about));
    EXPECT_TRUE(ErrorBoxes(pad).empty()) << "the failure was reported again";
    EXPECT_EQ(Shown(about), L"About Moodpad: Moodpad(tm) 1.32");
    Chord({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));
}

} // namespace

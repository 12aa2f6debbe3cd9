#include "palette/ClipWork_win.h"
#include "support/Support.h"
#include "ui/Window_win.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>

// The clipboard writer against the clipboard of the platform. (A clipboard that another program
// holds is met end to end: Insertion.AHeldClipboardShowsOneErrorAndDeliversNothing.)
TEST(PutToClipboard, PutsExactlyTheTextAndForUtf8ItsAnsiFormForEightBitReaders) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"clip owner", WS_OVERLAPPED, 0, 0, 10, 10,
                                       nullptr, nullptr, nullptr, nullptr);
    const std::string text = " :-)\xE9 ";
    PutToClipboard(owner, text);
    EXPECT_EQ(support::ClipboardText(), text);
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    // From a UTF-8 settings file, 8-bit readers get the ANSI form, not the UTF-8 bytes.
    ui::SetUtf8Text(true);
    PutToClipboard(owner, "\xC3\xA9");
    ui::SetUtf8Text(false);
    EXPECT_EQ(support::ClipboardText(), "\xE9");
    DestroyWindow(owner);
}

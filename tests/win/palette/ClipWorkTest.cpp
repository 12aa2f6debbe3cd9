#include "palette/ClipWork_win.h"
#include "support/Support.h"
#include "ui/AppError.h"
#include "ui/Window_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <windows.h>

// The clipboard writer against the clipboard of the platform, also while another thread holds it.
TEST(PutToClipboard, PutsExactlyTheTextOrFailsWhileAnotherThreadHoldsTheClipboard) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"clip owner", WS_OVERLAPPED, 0, 0, 10, 10,
                                       nullptr, nullptr, nullptr, nullptr);
    const std::string text = " :-)\xE9 ";
    PutToClipboard(owner, text);
    EXPECT_EQ(support::ClipboardText(), text);
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);

    std::atomic<int> holder = 0; // 1 while it holds the clipboard, 2 once it may let go
    std::thread thread([&] {
        holder = OpenClipboard(nullptr) ? 1 : -1;
        support::WaitFor([&] { return holder == 2; }, 10000);
        CloseClipboard();
    });
    EXPECT_TRUE(support::WaitFor([&] { return holder != 0; }) && holder == 1);
    std::string message;
    try {
        PutToClipboard(owner, ":-(");
    } catch (const ui::TAppError& e) {
        message = e.what();
    }
    holder = 2;
    thread.join();
    EXPECT_EQ(message, "Clipboard processing error");
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    EXPECT_EQ(support::ClipboardText(), text);
    // Nothing of ours was left open: the clipboard can be taken again at once.
    PutToClipboard(owner, ";-)");
    EXPECT_EQ(support::ClipboardText(), ";-)");
    // From a UTF-8 settings file, 8-bit readers get the ANSI form, not the UTF-8 bytes.
    ui::SetUtf8Text(true);
    PutToClipboard(owner, "\xC3\xA9");
    ui::SetUtf8Text(false);
    EXPECT_EQ(support::ClipboardText(), "\xE9");
    DestroyWindow(owner);
}

#include "palette/ClipWork_win.h"
#include "ui/AppError.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <windows.h>

namespace {

std::string ReadClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr))
        return "<not open>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (auto* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

struct OwnerWindow {
    HWND wnd = CreateWindowExW(0, L"STATIC", L"clip owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    ~OwnerWindow() { DestroyWindow(wnd); }
};

} // namespace

TEST(PutToClipboard, PutsExactlyTheTextAsCfText) {
    OwnerWindow owner;
    const std::string text = " :-)\xE9 ";
    PutToClipboard(owner.wnd, text);
    EXPECT_EQ(ReadClipboardText(), text);
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    PutToClipboard(owner.wnd, ";-)");
    EXPECT_EQ(ReadClipboardText(), ";-)");
}

TEST(PutToClipboard, ClipboardHeldByAnotherThreadFailsAndKeepsOldContent) {
    OwnerWindow owner;
    PutToClipboard(owner.wnd, "previous");

    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool holderOpened = false;
    std::thread holder([&] {
        holderOpened = OpenClipboard(nullptr) != FALSE;
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        if (holderOpened)
            CloseClipboard();
    });
    ASSERT_EQ(WaitForSingleObject(opened, 10000), WAIT_OBJECT_0);
    ASSERT_TRUE(holderOpened);

    std::string message;
    try {
        PutToClipboard(owner.wnd, ":-(");
    } catch (const ui::TAppError& e) {
        message = e.what();
    }
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);

    EXPECT_EQ(message, "Clipboard processing error");
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    EXPECT_EQ(ReadClipboardText(), "previous");
    // Nothing of ours was left open: the clipboard can be taken again at once.
    PutToClipboard(owner.wnd, "after");
    EXPECT_EQ(ReadClipboardText(), "after");
}

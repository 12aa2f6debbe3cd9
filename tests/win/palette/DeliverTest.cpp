#include "palette/Deliver_win.h"
#include "support/Support.h"
#include "ui/Window_win.h"

#include <gtest/gtest.h>

namespace {
bool selfElevated = false, targetElevated = false;
} // namespace

// A target that runs as administrator drops what a program without those rights sends it: such a
// choice sends nothing and says so; the text is on the clipboard, exactly, whatever the target.
// Wine has no elevation, so the query is replaced.
TEST(DeliverText, NothingIsSentToAnElevatedTargetUnlessThisProgramIsElevatedToo) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                       nullptr, nullptr, nullptr);
    const HWND target = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    const auto realQuery = ProcessElevated;
    ProcessElevated = [](DWORD pid) { return pid ? targetElevated : selfElevated; };
    const struct {
        bool self, target;
        TDelivery want;
    } cases[] = {{false, true, dvElevated},
                 {true, true, dvPosted},
                 {false, false, dvPosted},
                 {true, false, dvPosted}};
    for (const auto& c : cases) {
        selfElevated = c.self, targetElevated = c.target;
        EXPECT_EQ(DeliverText(owner, " :-)\xE9 ", target, nullptr, {}, "Edit"), c.want);
        MSG m;
        EXPECT_EQ(PeekMessageW(&m, target, WM_PASTE, WM_PASTE, PM_REMOVE) != 0, c.want == dvPosted);
        EXPECT_EQ(support::ClipboardText(), " :-)\xE9 ");
    }
    ProcessElevated = realQuery;
    // From a UTF-8 settings file, 8-bit readers of the clipboard get the ANSI form.
    ui::SetUtf8Text(true);
    DeliverText(owner, "\xC3\xA9", target, nullptr, {}, "Edit");
    ui::SetUtf8Text(false);
    EXPECT_EQ(support::ClipboardText(), "\xE9");
    DestroyWindow(target);
    DestroyWindow(owner);
}

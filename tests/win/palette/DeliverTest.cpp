#include "palette/Deliver_win.h"
#include "support/Support.h"

#include <gtest/gtest.h>

namespace {
bool selfElevated = false, targetElevated = false;
} // namespace

// A target that runs as administrator drops what a program without those rights sends it: such a
// choice sends nothing and says so, the text is on the clipboard. Wine has no elevation, so the
// query is replaced.
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
        EXPECT_EQ(DeliverText(owner, ":-)", target, nullptr, {}, "Edit"), c.want);
        MSG m;
        EXPECT_EQ(PeekMessageW(&m, target, WM_PASTE, WM_PASTE, PM_REMOVE) != 0, c.want == dvPosted);
        EXPECT_EQ(support::ClipboardText(), ":-)");
    }
    ProcessElevated = realQuery;
    DestroyWindow(target);
    DestroyWindow(owner);
}

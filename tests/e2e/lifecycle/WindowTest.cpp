// The main window's own behaviour: keyboard navigation and preview through the message loop, and
// the topmost style kept across the About button.
#include "e2e/E2E.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

// The direct child of `parent` whose top-left corner is at (x, y) in parent's client area.
HWND ChildAt(HWND parent, int x, int y) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        POINT p{r.left, r.top};
        ScreenToClient(parent, &p);
        if (p.x == x && p.y == y)
            return c;
    }
    return nullptr;
}

HWND FocusOf(HWND wnd) {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(wnd, nullptr), &gti))
        return nullptr;
    return gti.hwndFocus;
}

void ClickCentre(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

bool IsTopmost(HWND wnd) {
    return (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

struct Started {
    TempDir dir;
    Process process;
    HWND main = nullptr;
    explicit Started(const std::string& ini) {
        const std::wstring exe = CopyDist(dir);
        WriteIni(dir / L"MOODPAD.INI", ini);
        process = Start(exe);
        main = WaitMainWindow(process);
    }
};

const char* NoTracking = "[AutoInsert]\r\nTrackWindows=0\r\n[ButtonPath]\r\nValue=Faces\r\n";

} // namespace

TEST(MainWindow, KeyboardMovesBetweenToolbarButtonsAndEnterOrEscMinimises) {
    Started s(std::string(NoTracking) + "[Window]\r\nCode=0\r\n[Buttons]\r\nsmile=:-) Smile\r\n");
    ASSERT_TRUE(s.main);
    HWND minimize = ChildAt(s.main, 8, 3);
    HWND custom = ChildAt(s.main, 106, 3);
    ASSERT_TRUE(minimize && custom);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == s.main; }, 5000));
    // The start-up step leaves the focus on the Minimize button.
    EXPECT_TRUE(WaitFor([&] { return FocusOf(s.main) == minimize; }, 5000));

    SendKeys({VK_TAB});
    EXPECT_TRUE(WaitFor([&] { return FocusOf(s.main) == custom; }, 5000));
    Chord({VK_SHIFT, VK_TAB});
    EXPECT_TRUE(WaitFor([&] { return FocusOf(s.main) == minimize; }, 5000));

    // Enter presses the focused button.
    SendKeys({VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return IsIconic(s.main) != FALSE; }, 5000));

    // Restored and active again, the focus comes back to the button that had it, and Esc
    // minimises through the key preview.
    PostMessageW(s.main, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsIconic(s.main); }, 5000));
    SetForegroundWindow(s.main);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == s.main; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return FocusOf(s.main) == minimize; }, 5000));
    SendKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return IsIconic(s.main) != FALSE; }, 5000));
    EXPECT_TRUE(CloseMain(s.main, s.process));
}

TEST(MainWindow, AlwaysOnTopComesBackAfterTheAboutButton) {
    Started s(std::string(NoTracking) +
              "[Window]\r\nCode=1\r\n[Buttons]\r\nsmile=:-) Smile\r\nwink=;-) Wink\r\n");
    ASSERT_TRUE(s.main);
    ASSERT_TRUE(WaitFor([&] { return IsTopmost(s.main); }, 5000));
    HWND about = ChildAt(s.main, 301, 3);
    ASSERT_TRUE(about);
    ClickCentre(about);
    // The about box drops the window out of the topmost band while it is open; the style must
    // come back afterwards, also with the palette's tooltips owned by the window.
    EXPECT_TRUE(WaitFor([&] { return IsTopmost(s.main) && IsWindowEnabled(s.main); }, 5000));
    EXPECT_TRUE(CloseMain(s.main, s.process));
    // Leaving the topmost band at close does not change the stored style.
    wchar_t code[16];
    GetPrivateProfileStringW(L"Window", L"Code", L"", code, 16, (s.dir / L"MOODPAD.INI").c_str());
    EXPECT_STREQ(code, L"1");
}

// HookLib.dll against our target program in another process, which logs every key, character and
// menu activation its edit and window receive.
#include "HookLib.h"
#include "palette/Tracker_win.h"
#include "settings/HotKey.h"
#include "support/Support.h"
#include "ui/Subclass_win.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace support;

namespace {

// What the target saw of the E key, of the hook library's masking key and of menus.
struct Seen {
    size_t eDown = 0, eOther = 0, mask = 0, menus = 0;
};

Seen SeenBy(const Target& target) {
    Seen s;
    for (const LogLine& l : target.Lines()) {
        const bool e = l.a == 'E' || l.a == 'e';
        s.eDown += e && l.kind.ends_with("KEYDOWN");
        s.eOther += e && (l.kind.ends_with("KEYUP") || l.kind.ends_with("CHAR"));
        s.mask += l.kind.ends_with("KEYDOWN") && l.a == 0xFF;
        s.menus += l.kind == "MENU";
    }
    return s;
}

class HookLibTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // A window of this process that keeps what the hook library posts to it (all above
        // WM_USER; a static control gets nothing else there).
        receiver = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                   nullptr);
        ASSERT_NE(receiver, nullptr);
        ui::Subclass(receiver, [this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
            if (msg > WM_USER)
                received.push_back({wnd, msg, wParam, lParam, 0, {}});
            return DefSubclassProc(wnd, msg, wParam, lParam);
        });
        ASSERT_TRUE(target.Start() && target.Activate());
    }
    void TearDown() override {
        UnHookKeyboard();
        UnHookMessages();
        DestroyWindow(receiver);
    }
    size_t Received(UINT msg) const { return std::ranges::count(received, msg, &MSG::message); }
    // Types an X and waits until the edit shows `expected`. Input arrives in order, so once the X
    // is there everything sent before it has been handled; had an Alt release opened a menu, the X
    // would have gone to the menu instead.
    bool TypeXAndExpect(const std::wstring& expected) {
        Chord({'X'});
        return WaitFor([&] { return target.EditText() == expected; });
    }
    // The n-th report (of hot key or query) names the target's edit and top-level window.
    void ExpectReport(size_t n, UINT msg = WM_EXECACTIVEHOOKHANDLE) {
        ASSERT_TRUE(WaitFor([&] { return Received(msg) >= n; }));
        EXPECT_EQ(received[n - 1].wParam, reinterpret_cast<WPARAM>(target.edit));
        EXPECT_EQ(received[n - 1].lParam, reinterpret_cast<LPARAM>(target.top));
    }

    HWND receiver = nullptr;
    std::vector<MSG> received;
    Target target;
};

// Only the last input's receiver may take the foreground: every chord is followed by the masking
// key, or the program could not bring its window to the front after a Ctrl chord.
TEST_F(HookLibTest, TheHotKeyIsReportedConsumedAndFollowedByTheMaskKey) {
    for (size_t n = 1; WORD modifier : {VK_MENU, VK_CONTROL}) {
        const bool alt = modifier == VK_MENU;
        SCOPED_TRACE(alt ? "Alt+E" : "Ctrl+E");
        THotKey hotKey;
        hotKey.blAlt = alt, hotKey.blCtrl = !alt;
        // A second installation replaces the first: one press must give one report.
        SetKeyboardHook(&hotKey, receiver, WM_EXECACTIVEHOOKHANDLE);
        SetKeyboardHook(&hotKey, receiver, WM_EXECACTIVEHOOKHANDLE);
        ASSERT_TRUE(KeyboardIsHooked());
        const Seen before = SeenBy(target);
        Chord({modifier, 'E'});
        ExpectReport(n);
        // Neither the E nor a menu activation from the lone Alt release reached the target.
        ASSERT_TRUE(TypeXAndExpect(alt ? L"x" : L"xx")) << Narrow(target.EditText());
        const Seen seen = SeenBy(target);
        EXPECT_EQ(seen.mask - before.mask, 1u);
        EXPECT_EQ(seen.eDown + seen.eOther + seen.menus, 0u);
        Pump();
        EXPECT_EQ(received.size(), n++);
        UnHookKeyboard();
        EXPECT_FALSE(KeyboardIsHooked());
    }
}

TEST_F(HookLibTest, OnlyTheExactChordOfTheRecordMatchesAndTheRecordIsCopied) {
    THotKey hotKey;
    hotKey.blAlt = 0, hotKey.blCtrl = 1; // Ctrl+E ...
    SetKeyboardHook(&hotKey, receiver, WM_EXECACTIVEHOOKHANDLE);
    // ... copied: a change of the caller's record afterwards changes nothing.
    hotKey.blAlt = 1, hotKey.blCtrl = 0;

    // Missing, extra or other modifiers: the application gets the key as usual.
    Chord({'E'});
    Chord({VK_SHIFT, 'E'});
    Chord({VK_CONTROL, VK_SHIFT, 'E'});
    Chord({VK_MENU, 'E'});
    ASSERT_TRUE(TypeXAndExpect(L"eEx"));
    EXPECT_EQ(SeenBy(target).eDown, 4u);
    EXPECT_EQ(Received(WM_EXECACTIVEHOOKHANDLE), 0u);

    Chord({VK_CONTROL, 'E'});
    ExpectReport(1);

    // Key code 0 means no hot key: nothing matches, not even the modifiers alone.
    hotKey.blAlt = 0, hotKey.blCtrl = 1, hotKey.iVirtCode = 0;
    SetKeyboardHook(&hotKey, receiver, WM_EXECACTIVEHOOKHANDLE);
    Chord({VK_CONTROL, 'E'});
    Chord({VK_CONTROL});
    ASSERT_TRUE(TypeXAndExpect(L"eExx"));
    EXPECT_EQ(SeenBy(target).eDown, 5u);
    EXPECT_EQ(Received(WM_EXECACTIVEHOOKHANDLE), 1u);
    // That the chord reaches applications again once unhooked: Options.ANewHotKey..., where the
    // options dialog's hot key field gets the current hot key typed.
}

// The program's options are replaced whole by the options dialog: the key in force stays until the
// tracker installs a new one.
TEST_F(HookLibTest, TrackerKeepsTheKeyInForceUntilItIsReplaced) {
    TEmoticonsOptions options; // Alt+E
    TTargetTracker tracker(receiver);
    tracker.Apply(options);
    options.HotKey.blAlt = 0, options.HotKey.blCtrl = 1;
    Chord({VK_MENU, 'E'});
    ASSERT_TRUE(WaitFor([&] { return Received(WM_EXECACTIVEHOOKHANDLE) == 1; }));
    tracker.SetHotKey(options.HotKey);
    EXPECT_TRUE(KeyboardIsHooked());
    Chord({VK_CONTROL, 'E'});
    ASSERT_TRUE(WaitFor([&] { return Received(WM_EXECACTIVEHOOKHANDLE) == 2; }));
}

TEST_F(HookLibTest, QueryIsAnsweredFromInsideTheOtherApplicationAndSwallowed) {
    EXPECT_FALSE(MessagesAreHooked());
    SetMessageHook(WM_SENDTOHOOK, 0, 0, receiver, WM_EXECNONACTIVEHOOKHANDLE);
    SetMessageHook(WM_SENDTOHOOK, 0, 0, receiver, WM_EXECNONACTIVEHOOKHANDLE);
    ASSERT_TRUE(MessagesAreHooked());

    PostMessageW(target.top, WM_SENDTOHOOK, 0, 0);
    ExpectReport(1, WM_EXECNONACTIVEHOOKHANDLE);

    // Other parameters are not the query: they reach the window and get no answer. An answer is
    // posted before the target takes its next message, so once the target has logged a mark
    // posted after them, any answer is already waiting here.
    PostMessageW(target.top, WM_SENDTOHOOK, 1, 0);
    PostMessageW(target.top, WM_SENDTOHOOK, 0, 7);
    ASSERT_TRUE(target.Sync());
    Pump();
    EXPECT_EQ(Received(WM_EXECNONACTIVEHOOKHANDLE), 1u);
    EXPECT_EQ(target.Count("DISPATCHED"), 2u) << "the query itself must not reach the window";

    // A window of the installing application is not another application.
    PostMessageW(receiver, WM_SENDTOHOOK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return Received(WM_SENDTOHOOK) == 1; }));
    EXPECT_EQ(Received(WM_EXECNONACTIVEHOOKHANDLE), 1u);

    UnHookMessages();
    EXPECT_FALSE(MessagesAreHooked());
    PostMessageW(target.top, WM_SENDTOHOOK, 0, 0);
    ASSERT_TRUE(target.Sync());
    Pump();
    EXPECT_EQ(Received(WM_EXECNONACTIVEHOOKHANDLE), 1u);
    EXPECT_EQ(target.Count("DISPATCHED"), 3u);
}

} // namespace

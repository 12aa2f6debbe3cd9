// Choosing a face with a target in another process: the hot key brings the palette back and a
// choice delivers the text by paste or by characters to our target (Wine's notepad as a target is
// in UnicodeTest.cpp); the cases where only the clipboard may change; a clipboard that another
// program holds.
#include "support/Support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>

using namespace support;

namespace {

// The palette started with two faces (":-)" and "s1") and minimised, the target in front with its
// edit focused, then the hot key pressed there: leaves the palette in front with its faces read.
struct HotKeyRun {
    Target target;
    Moodpad pad;
    std::optional<Faces> faces;
    bool holdAlt = false;

    ~HotKeyRun() {
        if (holdAlt)
            SendKey(VK_MENU, true);
    }
    // keysOnly: the target's edit takes keyboard input only; alt: Alt stays down after the hot key.
    void Begin(Settings s = {}, bool keysOnly = false, bool alt = false) {
        holdAlt = alt;
        s.faces = NumberedFaces(2);
        ASSERT_TRUE(target.Start(keysOnly) && pad.Start(s) && pad.WaitReady());
        ASSERT_TRUE(pad.BoxTexts().empty()) << Narrow(pad.BoxTexts()[0]);
        ASSERT_TRUE(pad.Minimise() && target.Activate() && ClearClipboard());
        if (holdAlt)
            SendKey(VK_MENU, false);
        ASSERT_TRUE(pad.HotKey(holdAlt ? std::vector<WORD>{'E'} : std::vector<WORD>{VK_MENU, 'E'}))
            << "the hot key did not bring the palette to the front";
        // The deactivation of the target's activation, served only now (Wine does so when the
        // machine is busy): the palette is in front, so it must not forget the target.
        SendMessageW(pad.main, WM_ACTIVATEAPP, FALSE, 0);
        faces.emplace(pad.Palette());
        ASSERT_EQ(faces->Count(), 2);
    }
};

// Each way of delivering from a fresh start. (That a Ctrl chord brings the palette as the Alt chord
// does is in OptionsTest.cpp, with the hot key the dialog sets.)
TEST(Insertion, TheHotKeyBringsThePaletteAndAChoiceIsDeliveredOnce) {
    const struct {
        const char* name;
        bool autoInsert, useClipboard, targetGone;
        int style;
        std::vector<unsigned long long> want;
    } cases[] = {
        {"paste", true, true, false, 0, {}},
        {"posted characters", true, false, false, 0, {' ', ':', '-', ')', ' '}},
        {"minimise on press", true, true, false, 2, {}},
        {"target gone meanwhile", true, true, true, 2, {}},
        {"auto-insert off: the clipboard only", false, true, false, 0, {}},
    };
    for (const auto& [name, autoInsert, useClipboard, targetGone, style, want] : cases) {
        SCOPED_TRACE(name);
        const Settings s{.autoInsert = autoInsert, .useClipboard = useClipboard, .style = style};
        HotKeyRun run;
        ASSERT_NO_FATAL_FAILURE(run.Begin(s));
        if (targetGone) {
            run.target.proc.Kill();
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(run.target.top); }));
        }
        run.faces->Click(1);
        // The target's paste opens the clipboard: it is read here only once the paste is done,
        // or the test itself would keep the target from reading it.
        const std::wstring text = s.autoInsert && !targetGone ? L" :-) " : L"";
        EXPECT_TRUE(WaitFor([&] { return targetGone || run.target.EditText() == text; }))
            << Narrow(run.target.EditText());
        EXPECT_TRUE(WaitFor([] { return ClipboardText() == " :-) "; }));
        EXPECT_TRUE(WaitFor([&] { return (IsIconic(run.pad.main) != 0) == (s.style == 2); }));
        ASSERT_TRUE(Settle(run.pad.main));
        EXPECT_TRUE(run.pad.BoxTexts().empty());
        if (targetGone)
            continue;
        ASSERT_TRUE(run.target.Sync());
        EXPECT_EQ(run.target.Count("PASTE"), s.autoInsert && s.useClipboard ? 1u : 0u);
        std::vector<unsigned long long> chars;
        for (const LogLine& l : run.target.Lines("CHAR"))
            chars.push_back(l.a + l.b); // characters are posted with lParam 0
        EXPECT_EQ(chars, want);
        // Only the meaningless key the hook sends after the chord reaches the target as a key.
        for (const LogLine& l : run.target.Lines("KEYDOWN"))
            EXPECT_EQ(l.a, 0xFFu) << "key " << l.a;
        if (s.style == 2) {
            EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == run.target.top; }));
        }
    }
}

// A target that takes keyboard input only, as a browser's text field does: with typing on, the
// text arrives whole in both modes and the target stays in front, also while the hot key's Alt is
// still held, which must neither open a menu nor make Alt+V; with typing off, the target drops the
// posted paste and the text stays on the clipboard.
TEST(Insertion, AKeyboardOnlyTargetGetsTheTextTyped) {
    const struct {
        const char* name;
        bool keyboard, useClipboard, holdAlt;
    } cases[] = {
        {"Ctrl+V, Alt still held", true, true, true},
        {"characters, Alt still held", true, false, true},
        {"typing off", false, true, false},
    };
    for (const auto& [name, keyboard, useClipboard, holdAlt] : cases) {
        SCOPED_TRACE(name);
        HotKeyRun run;
        ASSERT_NO_FATAL_FAILURE(
            run.Begin({.useClipboard = useClipboard, .keyboard = keyboard}, true, holdAlt));
        run.faces->Click(1);
        EXPECT_TRUE(WaitFor([&] {
            return run.target.EditText() == L" :-) " || run.target.Count("DROPPED") == 1;
        })) << Narrow(run.target.EditText());
        // Typed into, the target is in front; posted to, it need not be, and the palette stays.
        EXPECT_EQ(GetForegroundWindow() == run.target.top, keyboard);
        if (holdAlt) {
            // The user lets go of Alt only now, in the target.
            const auto altUps = [&] {
                return std::ranges::count_if(run.target.Lines(), [](const LogLine& l) {
                    return l.kind.ends_with("KEYUP") && l.a == VK_MENU;
                });
            };
            const auto before = altUps();
            run.holdAlt = false;
            SendKey(VK_MENU, true);
            WaitFor([&] { return altUps() > before; }, 1000);
        }
        EXPECT_TRUE(WaitFor([] { return ClipboardText() == " :-) "; }));
        ASSERT_TRUE(run.target.Sync());
        EXPECT_EQ(run.target.EditText(), keyboard ? L" :-) " : L"");
        EXPECT_EQ(run.target.Count("DROPPED"), keyboard ? 0u : 1u);
        EXPECT_EQ(run.target.Count("SYSCHAR") + run.target.Count("MENU"), 0u);
        // Alt and the hook library's neutral key from the hot key itself; nothing typed with Alt.
        for (const LogLine& l : run.target.Lines("SYSKEYDOWN"))
            EXPECT_TRUE(l.a == VK_MENU || l.a == 0xFF) << "Alt+key " << l.a;
    }
}

// The target opens the clipboard while it pastes; a choice made in that moment (a double click,
// Enter pressed twice) must not fail with a clipboard error. A paste reads the clipboard only when
// the target serves it, so it may find the next choice's text: all twelve arrive, each whole.
TEST(Insertion, ChoicesInQuickSuccessionAllArrive) {
    HotKeyRun run;
    ASSERT_NO_FATAL_FAILURE(run.Begin());
    for (int i = 0; i < 12; ++i) {
        const size_t before = run.target.Count("PASTE");
        ASSERT_TRUE(run.faces->DoDefaultAction(1 + i % 2));
        ASSERT_TRUE(WaitFor(
            [&] { return run.target.Count("PASTE") > before || !run.pad.BoxTexts().empty(); }));
        ASSERT_TRUE(run.pad.BoxTexts().empty()) << i << ": " << Narrow(run.pad.BoxTexts()[0]);
    }
    EXPECT_TRUE(WaitFor([&] { return run.target.Count("PASTE") == 12; }));
    ASSERT_TRUE(run.target.Sync());
    // Twelve whole texts, each one of the two faces'.
    const std::wstring text = run.target.EditText();
    EXPECT_TRUE(std::regex_match(text, std::wregex(L"( :-\\) | s1 ){12}"))) << Narrow(text);
}

// The 64-bit notepad, started from this 32-bit process: the hot key's hook and the target query
// reach a 64-bit program too (the 32-bit notepad is the Unicode test's target).
TEST(Insertion, A64BitNotepadReceivesTheText) {
    Moodpad pad;
    ASSERT_TRUE(pad.Start({.faces = NumberedFaces(2)}) && pad.WaitReady());
    Target notepad;
    ASSERT_TRUE(notepad.StartNotepad(L"C:\\windows\\sysnative\\notepad.exe") && pad.HotKey());
    Faces(pad.Palette()).Click(2);
    EXPECT_TRUE(WaitFor([&] { return notepad.EditText() == L" s1 "; }))
        << "notepad holds '" << Narrow(notepad.EditText()) << "', clipboard '" << ClipboardText()
        << "'";
}

// A clipboard that another program keeps open: one error, nothing delivered, no minimising.
TEST(Insertion, AHeldClipboardShowsOneErrorAndDeliversNothing) {
    HotKeyRun run;
    ASSERT_NO_FATAL_FAILURE(run.Begin({.style = 2}));
    ASSERT_TRUE(OpenClipboard(nullptr));
    run.faces->Click(1);
    const HWND box = run.pad.WaitBox();
    CloseClipboard();
    ASSERT_TRUE(box);
    EXPECT_EQ(Text(box) + L": " + MessageBoxText(box), L"Moodpad: Clipboard processing error.");
    PressOk(box);
    ASSERT_TRUE(WaitFor([&] { return run.pad.BoxTexts().empty(); }) && Settle(run.pad.main));
    EXPECT_TRUE(run.pad.BoxTexts().empty()) << "the error was shown twice";
    ASSERT_TRUE(run.target.Sync());
    EXPECT_EQ(run.target.Count("PASTE"), 0u);
    EXPECT_FALSE(IsIconic(run.pad.main));
    // The program goes on: the next choice is delivered.
    run.faces->Click(1);
    EXPECT_TRUE(WaitFor([&] { return run.target.EditText() == L" :-) "; }));
    EXPECT_TRUE(run.pad.BoxTexts().empty());
}

// A target that hangs after the hot key: whether it is posted to or would be typed into, and with
// its window to be brought back (minimise on press), the palette stays responsive and the text is
// on the clipboard; the hung target gets the posted text once it wakes.
TEST(Insertion, AHungTargetNeverBlocksThePalette) {
    for (bool keysOnly : {false, true}) {
        SCOPED_TRACE(keysOnly ? "typed into" : "posted to");
        HotKeyRun run;
        ASSERT_NO_FATAL_FAILURE(run.Begin({.style = 2}, keysOnly));
        const auto answers = [&](UINT ms) {
            return SendMessageTimeoutW(run.target.top, WM_NULL, 0, 0, SMTO_NORMAL, ms, nullptr) !=
                   0;
        };
        PostMessageW(run.target.top, kTargetHang, 2500, 0);
        ASSERT_TRUE(WaitFor([&] { return !answers(50); }));
        // A thread that waits in SendMessage still answers sent messages: the palette shows it
        // is free by finishing the choice (it minimises) and taking a posted restore.
        run.faces->Click(1);
        EXPECT_TRUE(WaitFor([] { return ClipboardText() == " :-) "; }, 1000));
        EXPECT_TRUE(WaitFor([&] { return IsIconic(run.pad.main) != 0; }, 1000))
            << "the choice waits for the hung target";
        PostMessageW(run.pad.main, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsIconic(run.pad.main); }, 1000))
            << "the palette waits for the hung target";
        EXPECT_FALSE(answers(10)) << "the target woke before the palette answered";
        ASSERT_TRUE(run.target.Sync());
        EXPECT_EQ(run.target.Count(keysOnly ? "DROPPED" : "PASTE"), 1u);
    }
}

} // namespace

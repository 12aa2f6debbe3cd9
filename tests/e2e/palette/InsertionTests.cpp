// Choosing an emoticon with a target in another process: the hot key brings the palette back, a
// click delivers the text by paste or by characters, to our target and to Wine's notepad;
// minimise-on-press hands the front back; and the cases where only the clipboard may change.
#include "e2e/palette/PaletteUtil.h"

#include <gtest/gtest.h>

using namespace pe2e;

namespace {

Settings WithButtons(Settings s) {
    s.buttons = {{"smile", ":-)", "Smile"}, {"wink", ";-)", "Wink at them"}};
    return s;
}

// The palette started with s, then minimised; the target in front with its edit focused; the
// hot key pressed there. Leaves the palette in front.
struct HotKeyRun {
    Target target;
    Moodpad pad;

    void Begin(const Settings& s) {
        ASSERT_TRUE(target.Start());
        ASSERT_TRUE(pad.Start(s));
        ASSERT_TRUE(pad.WaitReady()) << "main window never became ready";
        ASSERT_TRUE(MessageBoxes(pad.proc.pid()).empty()) << "unexpected message box";
        PostMessageW(pad.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitFor([&] { return IsIconic(pad.main) != 0; }));
        ASSERT_TRUE(target.Activate());
        ASSERT_TRUE(SetClipboardText("before"));
        HotKey();
        ASSERT_TRUE(WaitFor([&] {
            return !IsIconic(pad.main) && IsWindowVisible(pad.main) &&
                   GetForegroundWindow() == pad.main;
        })) << "the hot key did not bring the palette back to the front";
    }

    void ClickButton(size_t i) {
        auto buttons = pad.Buttons();
        ASSERT_GT(buttons.size(), i);
        POINT c = Centre(buttons[i]);
        Click(c.x, c.y);
    }
};

TEST(PaletteInsertion, HotKeyThenClickPastesOnceIntoTheTarget) {
    HotKeyRun run;
    run.Begin(WithButtons({}));
    if (HasFatalFailure())
        return;
    run.ClickButton(0);
    ASSERT_TRUE(WaitFor([&] { return run.target.Count("PASTE") > 0; }));
    ASSERT_TRUE(run.target.Sync());
    auto pastes = run.target.Lines("PASTE");
    ASSERT_EQ(1u, pastes.size());
    EXPECT_EQ(0u, pastes[0].a);
    EXPECT_EQ(0, pastes[0].b);
    EXPECT_TRUE(CharCodes(run.target).empty());
    EXPECT_EQ(" :-) ", ClipboardText());
    EXPECT_TRUE(WaitFor([&] { return TextOf(run.target.edit) == L" :-) "; }))
        << "edit holds: " << Narrow(TextOf(run.target.edit));
    // Without minimise-on-press the palette keeps the front.
    EXPECT_FALSE(IsIconic(run.pad.main));

    // A second choice goes to the same target.
    run.ClickButton(1);
    ASSERT_TRUE(WaitFor([&] { return run.target.Count("PASTE") == 2; }));
    EXPECT_TRUE(WaitFor([&] { return TextOf(run.target.edit) == L" :-)  ;-) "; }));
}

// The target opens the clipboard while it pastes; a choice made in that moment (a double click,
// Enter pressed twice) must not fail with a clipboard error.
TEST(PaletteInsertion, ChoicesInQuickSuccessionAllArrive) {
    HotKeyRun run;
    run.Begin(WithButtons({}));
    if (HasFatalFailure())
        return;
    auto buttons = run.pad.Buttons();
    ASSERT_EQ(2u, buttons.size());
    std::wstring expected;
    for (int i = 0; i < 12; ++i) {
        const size_t before = run.target.Count("PASTE");
        PostMessageW(buttons[i % 2], BM_CLICK, 0, 0);
        expected += i % 2 ? L" ;-) " : L" :-) ";
        ASSERT_TRUE(WaitFor([&] {
            return run.target.Count("PASTE") > before || !MessageBoxes(run.pad.proc.pid()).empty();
        }));
        ASSERT_TRUE(MessageBoxes(run.pad.proc.pid()).empty())
            << "choice " << i << ": " << Narrow(run.pad.BoxTexts()[0]);
    }
    // Every choice is clicked as soon as the target starts its previous paste, so that the
    // palette meets the clipboard while the target still holds it. A paste request reads the
    // clipboard only when the target serves it, so a paste may already find the next choice's
    // text: what is guaranteed is that all twelve arrive, each one whole.
    EXPECT_TRUE(WaitFor([&] { return TextOf(run.target.edit).size() == expected.size(); }))
        << Narrow(TextOf(run.target.edit));
    const std::wstring text = TextOf(run.target.edit);
    ASSERT_EQ(expected.size(), text.size()) << Narrow(text);
    for (size_t at = 0; at < text.size(); at += 5) {
        const std::wstring piece = text.substr(at, 5);
        EXPECT_TRUE(piece == L" :-) " || piece == L" ;-) ") << Narrow(text);
    }
    EXPECT_EQ(12u, run.target.Count("PASTE"));
}

TEST(PaletteInsertion, KeyEventModePostsEveryCharacterWithBothBlanks) {
    Settings s = WithButtons({});
    s.useClipboard = false;
    HotKeyRun run;
    run.Begin(s);
    if (HasFatalFailure())
        return;
    run.ClickButton(0);
    ASSERT_TRUE(WaitFor([&] { return CharCodes(run.target).size() >= 5; }));
    ASSERT_TRUE(run.target.Sync());
    EXPECT_EQ((std::vector<unsigned long long>{32, 58, 45, 41, 32}), CharCodes(run.target));
    for (const LogLine& l : run.target.Lines("CHAR"))
        EXPECT_EQ(0, l.b) << "lParam of a posted character";
    EXPECT_EQ(0u, run.target.Count("PASTE"));
    EXPECT_EQ(0u, run.target.Count("KEYDOWN")) << "no key events are synthesized";
    EXPECT_EQ(" :-) ", ClipboardText());
    EXPECT_TRUE(WaitFor([&] { return TextOf(run.target.edit) == L" :-) "; }));
}

TEST(PaletteInsertion, MinimizeOnPressHandsTheFrontBackToTheTarget) {
    Settings s = WithButtons({});
    s.style = 2;
    HotKeyRun run;
    run.Begin(s);
    if (HasFatalFailure())
        return;
    run.ClickButton(1);
    EXPECT_TRUE(WaitFor([&] {
        return IsIconic(run.pad.main) && GetForegroundWindow() == run.target.top;
    })) << "iconic "
        << IsIconic(run.pad.main) << ", foreground is the target "
        << (GetForegroundWindow() == run.target.top);
    EXPECT_TRUE(WaitFor([&] { return TextOf(run.target.edit) == L" ;-) "; }));
    ASSERT_TRUE(run.target.Sync());
    EXPECT_EQ(1u, run.target.Count("PASTE"));
}

TEST(PaletteInsertion, NotepadAsTargetReceivesTheText) {
    Moodpad pad;
    ASSERT_TRUE(pad.Start(WithButtons({})));
    ASSERT_TRUE(pad.WaitReady());
    TempDir nd;
    Process notepad;
    ASSERT_TRUE(notepad.Start(L"C:\\windows\\notepad.exe", L"", nd.path()));
    HWND top = nullptr, edit = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        auto tops = TopWindowsOf(notepad.pid(), L"Notepad");
        if (tops.empty())
            return false;
        top = tops[0];
        for (HWND c : DirectChildren(top))
            if (IsClass(c, L"Edit"))
                edit = c;
        return edit != nullptr;
    }));
    // Beside the palette: on Wine's null driver activation does not raise a window, so an
    // overlapping notepad would keep covering the palette after the hot key.
    MoveWindow(top, 20, 20, 400, 240, TRUE);
    ASSERT_TRUE(BringToFront(top));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(top) == edit; }));
    HotKey();
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == pad.main; }));
    auto buttons = pad.Buttons();
    ASSERT_EQ(2u, buttons.size());
    POINT c = Centre(buttons[1]);
    Click(c.x, c.y);
    EXPECT_TRUE(WaitFor([&] { return TextOf(edit) == L" ;-) "; }))
        << "notepad holds: '" << Narrow(TextOf(edit)) << "', focus there " << (FocusOf(top) == edit)
        << ", clipboard '" << ClipboardText() << "', menu mode " << InMenuMode(top)
        << ", palette in front " << (GetForegroundWindow() == pad.main);
    notepad.Kill(); // modified: closing would ask to save
}

// Without auto-insert, and with auto-insert but no target, a choice changes the clipboard only.
TEST(PaletteInsertion, OnlyTheClipboardChangesWithoutAutoInsertOrTarget) {
    for (bool autoInsert : {false, true}) {
        SCOPED_TRACE(autoInsert ? "auto-insert on, no target" : "auto-insert off");
        Settings s = WithButtons({});
        s.autoInsert = autoInsert;
        Target target;
        ASSERT_TRUE(target.Start());
        Moodpad pad;
        ASSERT_TRUE(pad.Start(s));
        ASSERT_TRUE(pad.WaitReady());
        if (!autoInsert) {
            // The hot key still finds the target; nothing must reach it all the same.
            ASSERT_TRUE(target.Activate());
            HotKey();
        }
        ASSERT_TRUE(BringToFront(pad.main));
        ASSERT_TRUE(SetClipboardText("before"));
        auto buttons = pad.Buttons();
        ASSERT_EQ(2u, buttons.size());
        POINT c = Centre(buttons[0]);
        Click(c.x, c.y);
        EXPECT_TRUE(WaitFor([] { return ClipboardText() == " :-) "; }));
        ASSERT_TRUE(Settle(pad.main));
        ASSERT_TRUE(target.Sync());
        EXPECT_EQ(0u, target.Count("PASTE"));
        EXPECT_EQ(0u, target.Count("CHAR"));
        EXPECT_EQ(L"", TextOf(target.edit));
    }
}

// A target that has gone away since the hot key is skipped: the text is on the clipboard, the
// palette still minimises, and no error is shown.
TEST(PaletteInsertion, TargetClosedBeforeTheChoiceIsSkipped) {
    Settings s = WithButtons({});
    s.style = 2;
    HotKeyRun run;
    run.Begin(s);
    if (HasFatalFailure())
        return;
    run.target.proc.Kill();
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(run.target.top); }));
    run.ClickButton(0);
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == " :-) "; }));
    EXPECT_TRUE(WaitFor([&] { return IsIconic(run.pad.main) != 0; }));
    ASSERT_TRUE(Settle(run.pad.main));
    EXPECT_TRUE(MessageBoxes(run.pad.proc.pid()).empty());
    EXPECT_TRUE(run.pad.proc.Running());
}

TEST(PaletteInsertion, HeldClipboardShowsOneErrorAndDeliversNothing) {
    Settings s = WithButtons({});
    s.style = 2; // a failed choice must not minimise either
    HotKeyRun run;
    run.Begin(s);
    if (HasFatalFailure())
        return;
    Process holder;
    ASSERT_TRUE(holder.Start(HelperExe(L"clipholder"), L"30", ExeDir()));
    // The holder titles its window once the clipboard is open.
    ASSERT_TRUE(
        WaitFor([] { return FindWindowW(L"MoodpadClipHolder", L"MoodpadClipHolder") != nullptr; }));
    ASSERT_TRUE(BringToFront(run.pad.main));
    run.ClickButton(0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        auto boxes = MessageBoxes(run.pad.proc.pid());
        box = boxes.empty() ? nullptr : boxes[0];
        return box != nullptr;
    }));
    EXPECT_EQ(L"Moodpad", TextOf(box));
    EXPECT_EQ(L"Clipboard processing error.", MessageBoxText(box));
    EXPECT_EQ(1u, MessageBoxes(run.pad.proc.pid()).size());
    CloseBox(box);
    ASSERT_TRUE(WaitFor([&] { return MessageBoxes(run.pad.proc.pid()).empty(); }));
    ASSERT_TRUE(Settle(run.pad.main));
    EXPECT_TRUE(MessageBoxes(run.pad.proc.pid()).empty()) << "the error was shown twice";
    ASSERT_TRUE(run.target.Sync());
    EXPECT_EQ(0u, run.target.Count("PASTE"));
    EXPECT_FALSE(IsIconic(run.pad.main));
    PostMessageW(FindWindowW(L"MoodpadClipHolder", nullptr), WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !holder.Running(); }));
    EXPECT_TRUE(run.pad.proc.Running());
}

} // namespace

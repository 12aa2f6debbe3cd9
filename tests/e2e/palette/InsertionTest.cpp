// Choosing a face with a target in another process: the hot key brings the palette back, a choice
// delivers the text by paste or by characters, to our target and to Wine's notepad;
// minimise-on-press hands the front back; and the cases where only the clipboard may change.
#include "e2e/E2E.h"

#include <gtest/gtest.h>

#include <optional>

using namespace e2e;

namespace {

Settings TwoFaces() {
    Settings s;
    s.faces = NumberedFaces(2); // ":-)" and "s1"
    return s;
}

// The palette started with s and minimised, the target in front with its edit focused, then the
// hot key pressed there: leaves the palette in front with its faces read.
struct HotKeyRun {
    Target target;
    Moodpad pad;
    std::optional<Faces> faces;

    void Begin(const Settings& s, const std::vector<WORD>& hotKey = {VK_MENU, 'E'}) {
        ASSERT_TRUE(target.Start() && pad.Start(s) && pad.WaitReady());
        ASSERT_TRUE(pad.BoxTexts().empty()) << Narrow(pad.BoxTexts()[0]);
        ASSERT_TRUE(pad.Minimise() && target.Activate() && SetClipboardText("before"));
        Chord(hotKey);
        ASSERT_TRUE(WaitFor([&] {
            return !IsIconic(pad.main) && GetForegroundWindow() == pad.main;
        })) << "the hot key did not bring the palette to the front";
        faces.emplace(pad.Palette());
        ASSERT_EQ(faces->Count(), static_cast<long>(s.faces.size()));
    }
};

// On Windows a program in the background may take the front only with the last input; every hot
// key must bring the palette as the Alt chord does.
TEST(Insertion, EveryHotKeyBringsThePaletteAndAClickPastesOnceIntoTheTarget) {
    for (bool alt : {true, false}) {
        SCOPED_TRACE(alt ? "Alt+E" : "Ctrl+Shift+E");
        Settings s = TwoFaces();
        s.alt = alt, s.ctrl = s.shift = !alt;
        HotKeyRun run;
        run.Begin(s, alt ? std::vector<WORD>{VK_MENU, 'E'}
                         : std::vector<WORD>{VK_CONTROL, VK_SHIFT, 'E'});
        if (HasFatalFailure())
            return;
        run.faces->Click(1);
        ASSERT_TRUE(WaitFor([&] { return run.target.Count("PASTE") > 0; }));
        ASSERT_TRUE(run.target.Sync());
        const auto pastes = run.target.Lines("PASTE");
        ASSERT_EQ(pastes.size(), 1u);
        EXPECT_EQ(pastes[0].a, 0u);
        EXPECT_EQ(pastes[0].b, 0);
        EXPECT_EQ(run.target.Count("CHAR"), 0u);
        EXPECT_EQ(ClipboardText(), " :-) ");
        EXPECT_TRUE(WaitFor([&] { return run.target.EditText() == L" :-) "; }))
            << Narrow(run.target.EditText());
        EXPECT_FALSE(IsIconic(run.pad.main)) << "without minimise-on-press the palette stays";
        // A second choice goes to the same target.
        run.faces->Click(run.faces->Find(L"s1"));
        EXPECT_TRUE(WaitFor([&] { return run.target.EditText() == L" :-)  s1 "; }));
    }
}

// The target opens the clipboard while it pastes; a choice made in that moment (a double click,
// Enter pressed twice) must not fail with a clipboard error. A paste reads the clipboard only when
// the target serves it, so it may find the next choice's text: all twelve arrive, each whole.
TEST(Insertion, ChoicesInQuickSuccessionAllArrive) {
    HotKeyRun run;
    run.Begin(TwoFaces());
    if (HasFatalFailure())
        return;
    for (int i = 0; i < 12; ++i) {
        const size_t before = run.target.Count("PASTE");
        ASSERT_TRUE(run.faces->DoDefaultAction(1 + i % 2));
        ASSERT_TRUE(WaitFor(
            [&] { return run.target.Count("PASTE") > before || !run.pad.BoxTexts().empty(); }));
        ASSERT_TRUE(run.pad.BoxTexts().empty()) << i << ": " << Narrow(run.pad.BoxTexts()[0]);
    }
    EXPECT_TRUE(WaitFor([&] { return run.target.EditText().size() == 12 * 5; }));
    const std::wstring text = run.target.EditText();
    ASSERT_EQ(text.size(), 12u * 5) << Narrow(text);
    for (size_t at = 0; at < text.size(); at += 5)
        EXPECT_TRUE(text.substr(at, 5) == L" :-) " || text.substr(at, 5) == L" s1  ")
            << Narrow(text);
    EXPECT_EQ(run.target.Count("PASTE"), 12u);
}

TEST(Insertion, KeyEventModePostsEveryCharacterWithBothBlanks) {
    Settings s = TwoFaces();
    s.useClipboard = false;
    HotKeyRun run;
    run.Begin(s);
    if (HasFatalFailure())
        return;
    run.faces->Click(1);
    ASSERT_TRUE(WaitFor([&] { return run.target.Count("CHAR") >= 5; }) && run.target.Sync());
    std::vector<unsigned long long> codes;
    for (const LogLine& l : run.target.Lines("CHAR")) {
        codes.push_back(l.a);
        EXPECT_EQ(l.b, 0) << "lParam of a posted character";
    }
    EXPECT_EQ(codes, (std::vector<unsigned long long>{' ', ':', '-', ')', ' '}));
    EXPECT_EQ(run.target.Count("PASTE"), 0u);
    EXPECT_EQ(run.target.Count("KEYDOWN"), 0u) << "no key events are synthesized";
    EXPECT_EQ(ClipboardText(), " :-) ");
}

TEST(Insertion, MinimizeOnPressHandsTheFrontBackToTheTarget) {
    Settings s = TwoFaces();
    s.style = 2;
    HotKeyRun run;
    run.Begin(s);
    if (HasFatalFailure())
        return;
    run.faces->Click(2);
    EXPECT_TRUE(
        WaitFor([&] { return IsIconic(run.pad.main) && GetForegroundWindow() == run.target.top; }));
    EXPECT_TRUE(WaitFor([&] { return run.target.EditText() == L" s1 "; }));
    ASSERT_TRUE(run.target.Sync());
    EXPECT_EQ(run.target.Count("PASTE"), 1u);
}

TEST(Insertion, NotepadAsTargetReceivesTheText) {
    Moodpad pad;
    ASSERT_TRUE(pad.Start(TwoFaces()) && pad.WaitReady());
    Process notepad;
    ASSERT_TRUE(notepad.Start(L"C:\\windows\\notepad.exe", L"", pad.dir.path));
    HWND top = nullptr, edit = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        auto tops = TopWindows(notepad.pid, L"Notepad");
        top = tops.empty() ? nullptr : tops[0];
        return top && (edit = FindWindowExW(top, nullptr, L"Edit", nullptr)) != nullptr;
    }));
    // Beside the palette: on Wine's null driver activation does not raise a window, so an
    // overlapping notepad would keep covering the palette after the hot key.
    MoveWindow(top, 20, 20, 400, 240, TRUE);
    ASSERT_TRUE(BringToFront(top) && WaitFor([&] { return FocusOf(top) == edit; }));
    Chord({VK_MENU, 'E'});
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == pad.main; }));
    Faces(pad.Palette()).Click(2);
    EXPECT_TRUE(WaitFor([&] { return Text(edit) == L" s1 "; }))
        << "notepad holds '" << Narrow(Text(edit)) << "', clipboard '" << ClipboardText() << "'";
    notepad.Kill(); // modified: closing would ask to save
}

// Without auto-insert, and with auto-insert but no target learnt, a choice changes only the
// clipboard.
TEST(Insertion, OnlyTheClipboardChangesWithoutAutoInsertOrTarget) {
    for (bool autoInsert : {false, true}) {
        SCOPED_TRACE(autoInsert ? "auto-insert on, no target" : "auto-insert off");
        Settings s = TwoFaces();
        s.autoInsert = autoInsert;
        Target target;
        Moodpad pad;
        ASSERT_TRUE(target.Start() && pad.Start(s) && pad.WaitReady());
        if (!autoInsert) { // the hot key still learns the target; nothing may reach it
            ASSERT_TRUE(target.Activate());
            Chord({VK_MENU, 'E'});
        }
        ASSERT_TRUE(BringToFront(pad.main) && SetClipboardText("before"));
        Faces(pad.Palette()).Click(1);
        EXPECT_TRUE(WaitFor([] { return ClipboardText() == " :-) "; }));
        ASSERT_TRUE(Settle(pad.main) && target.Sync());
        EXPECT_EQ(target.Count("PASTE") + target.Count("CHAR"), 0u);
        EXPECT_EQ(target.EditText(), L"");
    }
}

// A target that has gone away since the hot key is skipped: the text is on the clipboard, the
// palette still minimises, and no error shows.
TEST(Insertion, ATargetClosedBeforeTheChoiceIsSkipped) {
    Settings s = TwoFaces();
    s.style = 2;
    HotKeyRun run;
    run.Begin(s);
    if (HasFatalFailure())
        return;
    run.target.proc.Kill();
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(run.target.top); }));
    run.faces->Click(1);
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == " :-) "; }));
    EXPECT_TRUE(WaitFor([&] { return IsIconic(run.pad.main) != 0; }));
    ASSERT_TRUE(Settle(run.pad.main));
    EXPECT_TRUE(run.pad.BoxTexts().empty());
}

// A clipboard that another program keeps open: one error, nothing delivered, no minimising.
TEST(Insertion, AHeldClipboardShowsOneErrorAndDeliversNothing) {
    Settings s = TwoFaces();
    s.style = 2;
    HotKeyRun run;
    run.Begin(s);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(OpenClipboard(nullptr));
    run.faces->Click(1);
    const bool shown = WaitFor([&] { return !run.pad.BoxTexts().empty(); });
    CloseClipboard();
    ASSERT_TRUE(shown);
    const HWND box = MessageBoxes(run.pad.proc.pid)[0];
    EXPECT_EQ(Text(box), L"Moodpad");
    EXPECT_EQ(MessageBoxText(box), L"Clipboard processing error.");
    PressOk(box);
    ASSERT_TRUE(WaitFor([&] { return run.pad.BoxTexts().empty(); }) && Settle(run.pad.main));
    EXPECT_TRUE(run.pad.BoxTexts().empty()) << "the error was shown twice";
    ASSERT_TRUE(run.target.Sync());
    EXPECT_EQ(run.target.Count("PASTE"), 0u);
    EXPECT_FALSE(IsIconic(run.pad.main));
    EXPECT_TRUE(run.pad.proc.Running());
}

} // namespace

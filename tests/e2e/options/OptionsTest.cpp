// The options dialog driven as a user drives it: opened with the C key, a new hot key typed into
// its field (a bare key refused, Enter on an empty field refused, Alt+letter kept by the field),
// typing by keyboard turned off by its accelerator, OK; then "&Clear" and Cancel. The palette
// follows the dialog at once and the close stores it.
#include "dialogs/OptionsDlg_win.h"
#include "support/Support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using namespace support;

namespace {

struct OptionsRun {
    Moodpad& pad;
    HWND dlg = nullptr;

    // Opens the dialog from the palette's keyboard.
    bool Open() { return (dlg = pad.OpenDialog('C', L"Moodpad Options")) != nullptr; }
    HWND Item(int id) const { return GetDlgItem(dlg, id); }
    WORD HotKey() const { return LOWORD(SendMessageW(Item(oiHotKey), HKM_GETHOTKEY, 0, 0)); }
    bool Closed() const {
        return WaitFor([&] { return !IsWindow(dlg); });
    }
};

// From the target's edit: true when the chord brings the minimised palette to the front.
bool Summons(Moodpad& pad, Target& target, const std::vector<WORD>& chord, DWORD ms = 5000) {
    if (!pad.Minimise() || !target.Activate())
        return false;
    return pad.HotKey(chord, ms);
}

TEST(Options, ANewHotKeyActsAtOnceAndIsStoredAndClearThenCancelChangesNothing) {
    // Style 1: always on top, but not while a dialog is open.
    const Settings s{.style = 1, .startupName = "C:\\keep.exe", .faces = NumberedFaces(2)};
    Target target;
    Moodpad pad;
    ASSERT_TRUE(target.Start() && pad.Start(s) && pad.WaitReady());
    const std::vector<WORD> altE = {VK_MENU, 'E'}, newKey = {VK_CONTROL, VK_SHIFT, 'Q'};
    const WORD ctrlShiftQ = (hkCtrl | hkShift) << 8 | 'Q';

    OptionsRun run{pad};
    ASSERT_TRUE(run.Open());
    EXPECT_FALSE(IsTopmost(pad.main));
    EXPECT_EQ(run.HotKey(), hkAlt << 8 | 'E');
    Chord({VK_MENU, 'G'}); // "...i&gnore pasting": typing by keyboard goes off
    EXPECT_TRUE(WaitFor(
        [&] { return SendMessageW(run.Item(oiKeyboard), BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    Chord({VK_MENU, 'Y'}); // "Hot Ke&y" leads to the field
    ASSERT_TRUE(WaitFor([&] { return FocusOf(run.dlg) == run.Item(oiHotKey); }));
    Chord({'Z'});
    EXPECT_TRUE(WaitFor([&] { return run.HotKey() == 0; })) << "a bare key is kept";
    // Enter on the empty field must not close the dialog, and Tab must not leave the field. Input
    // comes in order: once Alt+E shows in the field, both have been served.
    Chord({VK_RETURN});
    Chord({VK_TAB});
    // With the hooks out the current hot key is typed into the field, not taken as "&Enabled".
    Chord(altE);
    EXPECT_TRUE(WaitFor([&] { return run.HotKey() == (hkAlt << 8 | 'E'); })) << run.HotKey();
    EXPECT_TRUE(IsWindow(run.dlg)) << "OK took an empty hot key";
    EXPECT_EQ(FocusOf(run.dlg), run.Item(oiHotKey)) << "Tab left the empty field";
    EXPECT_EQ(SendMessageW(run.Item(oiStart), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Chord(newKey);
    EXPECT_TRUE(WaitFor([&] { return run.HotKey() == ctrlShiftQ; })) << run.HotKey();
    // F1 in the field opens the help and does not become the hot key.
    Chord({VK_F1});
    EXPECT_TRUE(WaitFor([&] { return TopWindow(pad.proc.pid, L"HH Parent", nullptr, true); }));
    EXPECT_EQ(run.HotKey(), ctrlShiftQ);
    ASSERT_TRUE(BringToFront(run.dlg));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(run.dlg) == run.Item(oiHotKey); }));
    Chord({VK_RETURN});
    ASSERT_TRUE(run.Closed());
    EXPECT_TRUE(WaitFor([&] { return IsTopmost(pad.main); })) << "the style did not come back";

    EXPECT_FALSE(Summons(pad, target, altE, 1500)) << "the old hot key still summons";
    EXPECT_TRUE(Summons(pad, target, newKey)) << "the new hot key does not summon";

    // "&Clear" empties the program field; Cancel drops it, and the hooks come back all the same.
    ASSERT_TRUE(run.Open());
    Chord({VK_MENU, 'E'}); // "&Enabled" makes "&Clear" usable
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(run.Item(oiClear)) != FALSE; }));
    Chord({VK_MENU, 'C'});
    ASSERT_TRUE(WaitFor([&] { return Text(run.Item(oiApp)).empty(); }));
    Chord({VK_ESCAPE});
    ASSERT_TRUE(run.Closed());
    EXPECT_TRUE(Summons(pad, target, newKey)) << "Cancel left the hot key off";

    ASSERT_TRUE(pad.Close());
    const auto ini = [&](const wchar_t* s, const wchar_t* k) { return pad.Stored(s, k); };
    EXPECT_EQ(ini(L"Hotkey", L"Alt") + ini(L"Hotkey", L"Ctrl") + ini(L"Hotkey", L"Shift"), L"011");
    EXPECT_EQ(ini(L"Hotkey", L"Key"), L"81");
    EXPECT_EQ(ini(L"Startup", L"Name") + ini(L"Startup", L"Enabled"), L"C:\\keep.exe0");
    EXPECT_EQ(ini(L"AutoInsert", L"Keyboard"), L"0");
    EXPECT_EQ(ini(L"Window", L"Code"), L"1") << "leaving the band for the dialog is no change";
}

// The face directory chosen in the directory dialog itself: Browse, up to the program's folder and
// into a second face folder that lacks one picture, OK, OK. The palette is built again from that
// folder at once (its missing picture brings the notice, which tells whether the palette was built
// again). The same directory typed in another letter case is no new directory. Nothing is stored
// before the close, which stores it.
TEST(Options, OnlyANewFaceDirectoryChosenInTheDirectoryDialogRebuildsThePalette) {
    const Settings s{.faces = NumberedFaces(2)};
    Moodpad pad;
    ASSERT_TRUE(pad.Prepare(&s));
    const std::wstring other = pad.dir / L"zfaces"; // sorts after the program's own "Faces"
    ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW((pad.dir / L"faces\\b0.bmp").c_str(), (other + L"\\b0.bmp").c_str(), 1));
    ASSERT_TRUE(pad.Launch() && pad.WaitReady());
    OptionsRun run{pad};
    ASSERT_TRUE(run.Open());
    Press(run.dlg, oiBrowsePath, VK_SPACE);
    const HWND sel = WaitBox(pad.proc.pid, L"Select Directory");
    ASSERT_TRUE(sel && WaitFor([&] { return GetForegroundWindow() == sel; }));
    std::wstring shown; // the name field, which shows the directory the list is in
    const auto endsWith = [&](const std::wstring& tail) {
        return WaitFor([&] {
            shown = Text(GetDlgItem(sel, 101));
            return shown.size() >= tail.size() &&
                   !_wcsicmp(shown.c_str() + shown.size() - tail.size(), tail.c_str());
        });
    };
    ASSERT_TRUE(endsWith(L"\\faces")) << Narrow(shown);
    Press(sel, 102, VK_UP); // the open folder above: the program's
    Chord({VK_RETURN});
    ASSERT_TRUE(endsWith(pad.dir.path.substr(pad.dir.path.rfind(L'\\')))) << Narrow(shown);
    Chord({VK_END});
    Chord({VK_RETURN});
    ASSERT_TRUE(endsWith(L"\\zfaces")) << Narrow(shown);
    Press(sel, IDOK, VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(sel); }));
    EXPECT_EQ(Text(run.Item(oiPicturePath)), shown);
    Press(run.dlg, IDOK, VK_RETURN);
    ASSERT_TRUE(run.Closed());
    const HWND notice = pad.WaitBox();
    ASSERT_TRUE(notice) << "no rebuild from the chosen folder";
    EXPECT_EQ(MessageBoxText(notice), L"One or more pictures could not be loaded");
    PressOk(notice);
    Faces faces(pad.Palette());
    ASSERT_EQ(faces.Count(), 2);
    EXPECT_EQ(faces.Name(2), L"s1");

    // Typed in lower case, the path gives an absolute form (the program's folder is not spelt in
    // upper case): a new string, one rebuild. Typed again in upper case it is the same directory.
    for (const bool rebuilds : {true, false}) {
        SCOPED_TRACE(rebuilds ? "lower case" : "upper case");
        ASSERT_TRUE(run.Open());
        std::wstring typed = Text(run.Item(oiPicturePath));
        for (wchar_t& c : typed)
            c = rebuilds ? towlower(c) : towupper(c);
        SendMessageW(run.Item(oiPicturePath), WM_SETTEXT, 0, LPARAM(typed.c_str()));
        if (!rebuilds) { // the Help button opens the help
            PostMessageW(run.Item(oiHelp), BM_CLICK, 0, 0);
            EXPECT_TRUE(
                WaitFor([&] { return TopWindow(pad.proc.pid, L"HH Parent", nullptr, true); }));
            ASSERT_TRUE(BringToFront(run.dlg));
        }
        Press(run.dlg, IDOK, VK_RETURN);
        ASSERT_TRUE(run.Closed());
        const HWND again = pad.WaitBox(rebuilds ? 10000 : 1500);
        EXPECT_EQ(again != nullptr, rebuilds) << Narrow(typed);
        if (again)
            PressOk(again);
    }
    const auto stored = [&] { return pad.Stored(L"ButtonPath", L"Value"); };
    EXPECT_EQ(stored(), L"faces") << "written before the close";
    ASSERT_TRUE(pad.Close());
    EXPECT_TRUE(stored().ends_with(L"\\ZFACES")) << Narrow(stored()); // upper-cased
}

} // namespace

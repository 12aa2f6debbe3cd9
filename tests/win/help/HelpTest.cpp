// Which help file the program opens, and that the built help file really opens at its contents.
#include "support/Support.h"
#include "ui/Help_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using help::THelpKind;
using help::THelpResult;

namespace {

namespace fs = std::filesystem;

class HelpFile : public ::testing::Test {
  protected:
    support::TempDir temp;
    const fs::path dir = temp.path;
};

// The HTML Help viewer's window of this process once there is one (want), or null once there is
// none.
HWND HelpViewer(bool want) {
    HWND viewer = nullptr;
    support::WaitFor(
        [&] { return !(viewer = support::TopWindow(GetCurrentProcessId(), L"HH Parent")) != want; },
        10000);
    return viewer;
}

} // namespace

TEST_F(HelpFile, OldHelpWinsOverCompiledHtmlFoldersDoNotCountAndNoneOpensNothing) {
    const std::wstring exe = (dir / "Pad.exe").wstring();
    EXPECT_EQ(help::FindHelpFile(exe).kind, THelpKind::hkNone);
    EXPECT_EQ(help::FindHelpFile(L"").kind, THelpKind::hkNone);
    EXPECT_EQ(help::ShowHelpFor(nullptr, exe), THelpResult::hrNothing);
    // The test program has no help beside it: the public entry must return quietly.
    ASSERT_EQ(help::FindHelpFile(help::ProgramPath()).kind, THelpKind::hkNone);
    ShowHelpContents(nullptr);
    EXPECT_FALSE(HelpViewer(false));

    fs::create_directory(dir / "Pad.hlp"); // a folder that merely carries the name
    EXPECT_EQ(help::FindHelpFile(exe).kind, THelpKind::hkNone);
    std::ofstream(dir / "Pad.chm").put('x');
    EXPECT_EQ(help::FindHelpFile(exe).path, (dir / "Pad.chm").wstring());
    fs::remove(dir / "Pad.hlp");
    std::ofstream(dir / "Pad.hlp").put('x');
    EXPECT_EQ(help::FindHelpFile(exe).kind, THelpKind::hkWinHelp);
    EXPECT_EQ(help::FindHelpFile(exe).path, (dir / "Pad.hlp").wstring());
    // A dot in a folder name is no extension: the help sits beside the program, named after it.
    fs::create_directory(dir / "v1.2");
    std::ofstream(dir / "v1.2" / "Pad.chm").put('x');
    EXPECT_EQ(help::FindHelpFile((dir / "v1.2" / "Pad").wstring()).kind, THelpKind::hkHtmlHelp);
}

TEST_F(HelpFile, TheBuiltHelpOpensAtItsContentsAndGoesWithItsOwner) {
    const fs::path built = fs::path(support::DistDir()) / "Moodpad.chm";
    if (!fs::is_regular_file(built)) {
        ASSERT_FALSE(_wgetenv(L"MOODPAD_DIST_DIR")) << "Moodpad.chm is missing from the program";
        GTEST_SKIP() << "help not built (scripts/build-help)";
    }
    fs::copy_file(built, dir / "Pad.chm");
    const std::wstring exe = (dir / "Pad.exe").wstring();
    // Context 1 must be mapped in the file: a fallback to the default topic would mean the
    // context map was lost in the build.
    EXPECT_EQ(help::ShowHelpFor(nullptr, exe), THelpResult::hrHtmlContext);
    EXPECT_EQ(support::Text(HelpViewer(true)), L"Moodpad Help");
    help::CloseAllHelp();
    EXPECT_FALSE(HelpViewer(false));

    // Opened for a window, the viewer belongs to it and goes with it, so no help window outlives
    // the dialog or the program that asked for it.
    HWND owner = CreateWindowW(L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(help::ShowHelpFor(owner, exe), THelpResult::hrHtmlContext);
    const HWND viewer = HelpViewer(true);
    EXPECT_TRUE(viewer && GetWindow(viewer, GW_OWNER) == owner);
    DestroyWindow(owner);
    EXPECT_FALSE(HelpViewer(false));
    help::CloseAllHelp();
}

// The program's life as a user sees it: first start, placement kept between runs, one instance
// only, the start-up program, and the main window's keyboard navigation.
#include "support/Support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace support;

namespace {

// The saved place, size and style.
std::vector<int> Saved(const Moodpad& pad) {
    std::vector<int> values;
    for (const wchar_t* key : {L"Left", L"Top", L"Width", L"Height", L"Code"})
        values.push_back(GetPrivateProfileIntW(L"Window", key, -1, pad.Ini().c_str()));
    return values;
}

TEST(Lifecycle, FirstStartCentresTheWindowMakesItTopmostAfterTheSplashAndSavesOnClose) {
    Moodpad pad;
    ASSERT_TRUE(pad.Prepare(nullptr) && pad.Launch());
    ASSERT_TRUE(WaitFor([&] { return pad.Splash() != nullptr; }, 15000));
    auto mains = TopWindows(pad.proc.pid, L"TMainForm");
    ASSERT_EQ(mains.size(), 1u);
    // During the splash the window is disabled and outside the topmost band; the splash is in it.
    EXPECT_TRUE(!IsWindowEnabled(mains[0]) && IsTopmost(pad.Splash()) && !IsTopmost(mains[0]));
    ASSERT_TRUE(pad.WaitReady());
    EXPECT_TRUE(WaitFor([&] { return IsTopmost(pad.main); })) << "the default style";

    const RECT r = WindowRect(pad.main);
    const int w = r.right - r.left, h = r.bottom - r.top;
    EXPECT_EQ(std::tie(r.left, r.top, w),
              std::tuple((GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - h) / 2, MAINMINWIDTH));
    EXPECT_FALSE(FileExists(pad.Ini())) << "nothing is written before the close";
    ASSERT_TRUE(pad.Close());
    EXPECT_EQ(Saved(pad), (std::vector<int>{r.left, r.top, w, h, 1}));
}

// The window takes its stored place; the toolbar's keys move the focus and press the focused
// button, and Esc minimises. Minimised (by Esc), the window sits far off screen; the close must
// store its restored place.
TEST(Lifecycle, PlacementIsRestoredToolbarKeysWorkAndAMinimisedCloseKeepsTheRestoredPlace) {
    // Four rows of faces allow a height of 281.
    const Settings s{
        .left = 100, .top = 50, .width = 420, .height = 260, .faces = NumberedFaces(35)};
    Moodpad pad;
    ASSERT_TRUE(pad.Start(s) && pad.WaitReady());
    const RECT r = WindowRect(pad.main);
    EXPECT_EQ(std::tie(r.left, r.top, r.right, r.bottom), std::tuple(100, 50, 520, 310));
    EXPECT_FALSE(IsTopmost(pad.main)) << "style 0 stays in the normal band";

    const HWND minimize = pad.Control(mcMinimize), custom = pad.Control(mcCustom);
    ASSERT_TRUE(BringToFront(pad.main));
    EXPECT_TRUE(WaitFor([&] { return FocusOf(pad.main) == minimize; })) << "after the start-up";
    Chord({VK_TAB});
    EXPECT_TRUE(WaitFor([&] { return FocusOf(pad.main) == custom; }));
    Chord({VK_SHIFT, VK_TAB});
    EXPECT_TRUE(WaitFor([&] { return FocusOf(pad.main) == minimize; }));
    Chord({VK_RETURN}); // presses the focused button
    EXPECT_TRUE(WaitFor([&] { return IsIconic(pad.main) != FALSE; }));
    // Restored and active again, the focus is back on its button, and Esc minimises.
    ASSERT_TRUE(pad.Restore() && BringToFront(pad.main));
    EXPECT_TRUE(WaitFor([&] { return FocusOf(pad.main) == minimize; }));
    Chord({VK_ESCAPE});
    ASSERT_TRUE(WaitFor([&] { return IsIconic(pad.main) != FALSE; }));

    ASSERT_TRUE(pad.Close());
    EXPECT_EQ(Saved(pad), (std::vector<int>{100, 50, 420, 260, 0}));
}

// Of programs started at once one stays; a later start brings it back and touches nothing.
TEST(Lifecycle, OneOfSimultaneousStartsStaysAndALaterStartRestoresIt) {
    Moodpad pad;
    const Settings s;
    std::vector<Process> all(5);
    ASSERT_TRUE(pad.Prepare(&s));
    for (Process& p : all)
        ASSERT_TRUE(p.Start(pad.Exe(), L"", pad.dir.path));
    ASSERT_TRUE(WaitFor([&] { return std::ranges::count_if(all, &Process::Running) == 1; }, 20000));
    for (Process& p : all)
        EXPECT_TRUE(p.Running() || p.ExitCode() == 0);
    Process& stayed = *std::ranges::find_if(all, &Process::Running);
    std::swap(pad.proc.handle, stayed.handle), std::swap(pad.proc.pid, stayed.pid);
    ASSERT_TRUE(pad.WaitReady() && pad.Minimise());

    const std::string before = ReadFile(pad.Ini());
    Process later;
    ASSERT_TRUE(later.Start(pad.Exe()) && later.WaitExit(15000));
    EXPECT_EQ(later.ExitCode(), 0u);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(pad.main); }));
    EXPECT_EQ(ReadFile(pad.Ini()), before);
    EXPECT_TRUE(pad.Close());
}

TEST(Lifecycle, TheStartUpProgramRunsOnlyWhenEnabledWithAPath) {
    for (auto [enabled, withPath] : {std::pair{true, true}, {false, true}, {true, false}}) {
        SCOPED_TRACE(std::to_string(enabled) + std::to_string(withPath));
        Moodpad pad;
        // A folder with a blank in its name: the path must reach the shell as one path.
        const std::wstring folder = pad.dir / L"Start Up", program = folder + L"\\target.exe";
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        ASSERT_TRUE(CopyFileW((ExeDir() + L"\\target.exe").c_str(), program.c_str(), FALSE));
        const Settings s{.startup = enabled,
                         .startupName = withPath ? std::filesystem::path(program).string() : ""};
        ASSERT_TRUE(pad.Start(s) && pad.WaitReady());
        if (enabled && withPath) {
            EXPECT_TRUE(WaitFor(
                [&] { return std::ranges::count(ReadFile(program + L".ran"), '\n') == 1; }, 10000));
        }
        ASSERT_TRUE(pad.Close());
        EXPECT_EQ(FileExists(program + L".ran"), enabled && withPath);
    }
}

} // namespace

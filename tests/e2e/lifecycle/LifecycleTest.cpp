// The program's life as a user sees it: first start, placement kept between runs, one instance
// only, the start-up program, the settings file that cannot be written, the topmost style.
#include "e2e/E2E.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace e2e;

namespace {

// One key of a settings file, or "<missing>".
std::wstring IniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t buf[1024];
    GetPrivateProfileStringW(section, key, L"<missing>", buf, 1024, file.c_str());
    return buf;
}

RECT WindowRect(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

bool IsTopmost(HWND wnd) {
    return (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

std::string Options(const std::string& window, const std::string& startup = "",
                    const std::string& buttons = "") {
    return "[AutoInsert]\r\nEnabled=1\r\nTrackWindows=0\r\nUseClipboard=1\r\n"
           "[ButtonPath]\r\nValue=Faces\r\n" +
           (startup.empty() ? std::string("[Startup]\r\nEnabled=0\r\nName=\r\n") : startup) +
           "[Window]\r\n" + window + "[Buttons]\r\n" + buttons;
}

// The first `count` faces that ship with the program, as lines of the Buttons section.
std::string FaceButtons(const TempDir& dir, int count) {
    std::string lines;
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir / L"Faces")) {
        if (n == count)
            break;
        const std::string name = e.path().stem().string();
        lines += name + "=:" + std::to_string(n++) + " Face\r\n";
    }
    return lines;
}

struct Running {
    Process process;
    HWND main = nullptr;
};

Running StartReady(const std::wstring& exe) {
    Running r;
    r.process = Start(exe);
    r.main = WaitMainWindow(r.process);
    return r;
}

} // namespace

TEST(Lifecycle, FirstStartCentresDefaultWindowGoesTopmostAfterSplashAndSavesOnClose) {
    TempDir dir;
    const std::wstring exe = CopyDist(dir);
    const std::wstring ini = dir / L"MOODPAD.INI";
    Process p = Start(exe);
    HWND main = WaitWindow(L"TMainForm", L"Moodpad", p.Pid(), 15000);
    ASSERT_TRUE(main);
    // During the splash the window is disabled and not yet in the topmost band, while the
    // splash itself is.
    ASSERT_FALSE(IsWindowEnabled(main));
    HWND splash = SplashWindow(p.Pid());
    ASSERT_TRUE(splash);
    EXPECT_TRUE(IsTopmost(splash));
    EXPECT_FALSE(IsTopmost(main));
    ASSERT_TRUE(WaitMainReady(main));
    // The default style (always on top) is applied once the splash is gone.
    EXPECT_TRUE(WaitFor([&] { return IsTopmost(main); }, 5000));

    const RECT r = WindowRect(main);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.right - r.left, 407);
    EXPECT_EQ(r.bottom - r.top, 209);
    EXPECT_EQ(r.left, (sw - 407) / 2);
    EXPECT_EQ(r.top, (sh - 209) / 2);
    EXPECT_FALSE(FileExists(ini)) << "nothing is written before the close";

    ASSERT_TRUE(CloseMain(main, p));
    ASSERT_TRUE(FileExists(ini));
    const struct {
        const wchar_t* section;
        const wchar_t* key;
        std::wstring value;
    } expected[] = {
        {L"AutoInsert", L"Enabled", L"1"},
        {L"AutoInsert", L"TrackWindows", L"1"},
        {L"AutoInsert", L"UseClipboard", L"1"},
        {L"ButtonPath", L"Value", L""},
        {L"Startup", L"Enabled", L"0"},
        {L"Startup", L"Name", L""},
        {L"Hotkey", L"Alt", L"1"},
        {L"Hotkey", L"Ctrl", L"0"},
        {L"Hotkey", L"Shift", L"0"},
        {L"Hotkey", L"Key", L"69"},
        {L"DragDrop", L"Enabled", L"1"},
        {L"Window", L"Left", std::to_wstring(r.left)},
        {L"Window", L"Top", std::to_wstring(r.top)},
        {L"Window", L"Width", L"407"},
        {L"Window", L"Height", L"209"},
        {L"Window", L"Code", L"1"},
        {L"ExtraSpacing", L"Before", L"1"},
        {L"ExtraSpacing", L"After", L"0"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(IniValue(ini, e.section, e.key), e.value) << e.section << "/" << e.key;
}

TEST(Lifecycle, PlacementIsRestoredAndAMinimisedCloseKeepsTheRestoredPlace) {
    TempDir dir;
    const std::wstring exe = CopyDist(dir);
    const std::wstring ini = dir / L"MOODPAD.INI";
    // 35 buttons allow a height of 281; the saved 260 is within it.
    WriteIni(ini, Options("Left=100\r\nTop=50\r\nWidth=420\r\nHeight=260\r\nCode=0\r\n", "",
                          FaceButtons(dir, 35)));
    Running r = StartReady(exe);
    ASSERT_TRUE(r.main);
    RECT rc = WindowRect(r.main);
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.top, 50);
    EXPECT_EQ(rc.right - rc.left, 420);
    EXPECT_EQ(rc.bottom - rc.top, 260);
    EXPECT_FALSE(IsTopmost(r.main)) << "style 0 stays in the normal band";

    // Minimised, the window sits far off screen; the file must get its restored place.
    PostMessageW(r.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(r.main) != FALSE; }, 5000));
    ASSERT_TRUE(CloseMain(r.main, r.process));
    EXPECT_EQ(IniValue(ini, L"Window", L"Left"), L"100");
    EXPECT_EQ(IniValue(ini, L"Window", L"Top"), L"50");
    EXPECT_EQ(IniValue(ini, L"Window", L"Width"), L"420");
    EXPECT_EQ(IniValue(ini, L"Window", L"Height"), L"260");
    EXPECT_EQ(IniValue(ini, L"Window", L"Code"), L"0");
}

TEST(Lifecycle, SecondStartRestoresTheFirstAndTouchesNothing) {
    TempDir dir;
    const std::wstring exe = CopyDist(dir);
    const std::wstring ini = dir / L"MOODPAD.INI";
    WriteIni(ini, Options("Left=10\r\nTop=20\r\nWidth=407\r\nHeight=209\r\nCode=0\r\n"));
    Running first = StartReady(exe);
    ASSERT_TRUE(first.main);
    PostMessageW(first.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(first.main) != FALSE; }, 5000));
    const std::string before = ReadFile(ini);

    Process second = Start(exe);
    ASSERT_TRUE(second.WaitExit(15000));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(first.main); }, 5000));
    EXPECT_EQ(MainWindows().size(), 1u);
    EXPECT_TRUE(first.process.Running());
    EXPECT_EQ(ReadFile(ini), before);
    ASSERT_TRUE(CloseMain(first.main, first.process));
}

TEST(Lifecycle, LookAlikeWindowsOfOtherProgramsDoNotCountAsARunningInstance) {
    // This test program shows a "Moodpad" window of another class and a "TMainForm" window with
    // another title.
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    for (const wchar_t* cls : {L"TDecoy", L"TMainForm"}) {
        wc.lpszClassName = cls;
        RegisterClassW(&wc);
    }
    HWND decoyTitle = CreateWindowExW(0, L"TDecoy", L"Moodpad", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                      nullptr, nullptr, wc.hInstance, nullptr);
    HWND decoyClass = CreateWindowExW(0, L"TMainForm", L"Moodpad 2", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                      100, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(decoyTitle && decoyClass);

    TempDir dir;
    const std::wstring exe = CopyDist(dir);
    WriteIni(dir / L"MOODPAD.INI", Options("Code=0\r\n"));
    Running r = StartReady(exe);
    EXPECT_TRUE(r.main) << "the program must start";
    if (r.main) {
        EXPECT_TRUE(CloseMain(r.main, r.process));
    }
    DestroyWindow(decoyTitle);
    DestroyWindow(decoyClass);
}

TEST(Lifecycle, SimultaneousStartsLeaveExactlyOneInstance) {
    TempDir dir;
    const std::wstring exe = CopyDist(dir);
    WriteIni(dir / L"MOODPAD.INI", Options("Code=0\r\n"));
    std::vector<Process> all;
    for (int i = 0; i < 5; ++i)
        all.push_back(Start(exe));
    Process* survivor = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            int running = 0;
            for (auto& p : all)
                if (p.Running()) {
                    ++running;
                    survivor = &p;
                }
            return running == 1;
        },
        20000));
    HWND main = WaitMainWindow(*survivor);
    ASSERT_TRUE(main);
    EXPECT_EQ(MainWindows().size(), 1u);
    for (auto& p : all) {
        if (&p != survivor) {
            EXPECT_EQ(p.ExitCode(), 0u);
        }
    }
    ASSERT_TRUE(CloseMain(main, *survivor));
}

TEST(Lifecycle, UnwritableSettingsFileIsReportedOnceAndTheProgramStillEnds) {
    TempDir dir;
    const std::wstring exe = CopyDist(dir);
    const std::wstring ini = dir / L"MOODPAD.INI";
    WriteIni(ini, Options("Left=30\r\nTop=40\r\nWidth=407\r\nHeight=209\r\nCode=0\r\n"));
    const std::string before = ReadFile(ini);
    ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    Running r = StartReady(exe);
    ASSERT_TRUE(r.main);
    // Moved, so a write would change the file.
    SetWindowPos(r.main, nullptr, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    PostMessageW(r.main, WM_CLOSE, 0, 0);
    HWND box = WaitMessageBox(r.process.Pid(), 10000);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), L"INI File could not be stored");
    PressOk(box);
    // A second box would hold the program open.
    ASSERT_TRUE(r.process.WaitExit(10000));
    EXPECT_EQ(ReadFile(ini), before);
    EXPECT_FALSE(FileExists(ini + L".tmp"));
}

TEST(Lifecycle, StartupProgramRunsOnlyWhenEnabledWithAPath) {
    const struct {
        const char* name;
        bool enabled;
        bool withPath;
        bool runs;
    } cases[] = {
        {"enabled", true, true, true},
        {"disabled", false, true, false},
        {"empty path", true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::wstring exe = CopyDist(dir);
        // A folder with a blank in its name: the path must reach the shell as one path.
        const std::wstring folder = dir / L"Start Up";
        CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring marker = folder + L"\\marker.exe";
        ASSERT_TRUE(CopyFileW((ExeDir() + L"\\marker.exe").c_str(), marker.c_str(), FALSE));
        const std::string path = c.withPath ? std::filesystem::path(marker).string() : "";
        WriteIni(
            dir / L"MOODPAD.INI",
            Options("Code=0\r\n", "[Startup]\r\nEnabled=" + std::string(c.enabled ? "1" : "0") +
                                      "\r\nName=" + path + "\r\n"));
        Running r = StartReady(exe);
        ASSERT_TRUE(r.main);
        const std::wstring ran = marker + L".ran";
        if (c.runs) {
            EXPECT_TRUE(WaitFor([&] { return ReadFile(ran) == "ran\r\n"; }, 10000));
        } else {
            EXPECT_FALSE(FileExists(ran));
        }
        ASSERT_TRUE(CloseMain(r.main, r.process));
        if (!c.runs) {
            EXPECT_FALSE(FileExists(ran));
        }
    }
}

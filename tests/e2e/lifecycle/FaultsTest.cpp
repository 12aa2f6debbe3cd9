// The program under the faults of files and starts that users meet: a save killed half-way, a
// settings file that cannot be stored, damaged settings files, a missing hook library and face
// directories that cannot be read.
#include "settings/Ini.h"
#include "settings/IniEngine.h"
#include "support/Support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <utility>

using namespace support;

namespace {

constexpr wchar_t StopVariable[] = L"MOODPAD_TEST_SAVE_STOP";

// A folder scripts/test mounts for these tests under %MOODPAD_FAULT_DIR%: "full", a small file
// system of its own, and "ro", a read-only view of "rw". Empty when the machine allowed no mounts.
std::wstring FaultDir(const wchar_t* sub) {
    wchar_t buf[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"MOODPAD_FAULT_DIR", buf, MAX_PATH);
    const std::wstring dir = n && n < MAX_PATH ? std::wstring(buf, n) + L"\\" + sub : L"";
    return !dir.empty() && FileExists(dir) ? dir : L"";
}

// The buttons of a settings file as the program reads them.
TButtonList Buttons(const std::wstring& ini) {
    TButtonList list;
    const std::u8string name = std::filesystem::path(ini).u8string(); // the names are UTF-8
    TEmoticonsIniFile::FromIniPath(std::string(name.begin(), name.end())).GetButtons(list);
    return list;
}

// A save stopped after N bytes of its temporary file, for N over the whole write: the file is the
// old one every time, and each next start reads it and not what the stopped save left behind.
TEST(Faults, ASaveStoppedAnywhereLeavesTheOldFileWholeAndTheNextStartIgnoresTheRest) {
    const Settings s{.faces = NumberedFaces(57)};
    Moodpad pad;
    ASSERT_TRUE(pad.Prepare(&s));
    const std::string old = s.Text(); // as Prepare wrote it
    struct Unset {                    // also when the test fails: later programs must save
        ~Unset() { SetEnvironmentVariableW(StopVariable, nullptr); }
    } unset;
    // The new file is about as long as the old; the stop at 2^30 comes after all of it, before
    // the file is replaced, and leaves a whole new file beside the old one. The last save (-1)
    // is not stopped.
    const long long half = old.size() / 2, all = old.size();
    for (long long stop : {0LL, 1LL, half, all - 1, 1LL << 30, -1LL}) {
        SCOPED_TRACE(stop);
        SetEnvironmentVariableW(StopVariable, stop < 0 ? nullptr : std::to_wstring(stop).c_str());
        ASSERT_TRUE(pad.Launch() && pad.WaitReady());
        EXPECT_EQ(WindowRect(pad.main).left, s.left) << "read the stopped save's file";
        SetWindowPos(pad.main, nullptr, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_TRUE(pad.Close());
        if (stop >= 0) {
            EXPECT_EQ(pad.proc.ExitCode(), 3u) << "the test hook did not stop the save";
            EXPECT_TRUE(ReadFile(pad.Ini()) == old) << "the old file was touched";
        }
    }
    EXPECT_EQ(GetPrivateProfileIntW(L"Window", L"Left", 0, pad.Ini().c_str()), 200);
    EXPECT_EQ(Buttons(pad.Ini()).size(), 57u);
    EXPECT_FALSE(FileExists(pad.Ini() + L".tmp")) << "the stopped save's file was left";
}

// A file that could not be read at start (another program held it) must not be replaced by the
// defaults at close, nor one that cannot be written, nor one whose temporary file cannot be made
// (something else has its name): either way it stays as it was, the user is told once and the
// program ends.
TEST(Faults, ASettingsFileThatCannotBeStoredIsLeftAsItWasAndReportedOnce) {
    enum { ReadOnly, LockedAtStart, LockedAtClose, OpenAtClose, Blocked, ReadOnlyFolder, Full };
    const char* names[] = {"read-only file", "locked at start",        "locked at close",
                           "open at close",  "temporary file blocked", "read-only folder",
                           "disk full"};
    for (int fault = ReadOnly; fault <= Full; ++fault) {
        SCOPED_TRACE(names[fault]);
        const bool mounted = fault >= ReadOnlyFolder;
        const std::wstring parent = mounted ? FaultDir(fault == Full ? L"full" : L"rw") : L"";
        if (mounted && (parent.empty() || FaultDir(L"ro").empty())) {
            std::printf("SKIPPED %s: no file system of its own (scripts/test mounts it as root)\n",
                        names[fault]);
            continue;
        }
        const Settings s{.faces = NumberedFaces(57)};
        Moodpad pad(parent);
        ASSERT_TRUE(pad.Prepare(&s));
        // Held by another program: unshared, or shared for reading only (as a viewer might), which
        // lets the program read it but not replace it.
        HANDLE lock = INVALID_HANDLE_VALUE;
        const auto Lock = [&](DWORD share = 0) {
            return (lock = CreateFileW(pad.Ini().c_str(), GENERIC_READ, share, nullptr,
                                       OPEN_EXISTING, 0, nullptr)) != INVALID_HANDLE_VALUE;
        };
        std::wstring exe = pad.Exe(), dir = pad.dir.path;
        ASSERT_TRUE(fault != ReadOnly ||
                    SetFileAttributesW(pad.Ini().c_str(), FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(fault != LockedAtStart || Lock());
        ASSERT_TRUE(fault != Blocked || CreateDirectoryW((pad.Ini() + L".tmp").c_str(), nullptr));
        if (fault == ReadOnlyFolder) { // the same folder seen through the read-only mount
            dir = FaultDir(L"ro") + L"\\" + std::filesystem::path(dir).filename().wstring();
            exe = dir + L"\\Moodpad.exe";
        }
        if (fault == Full) { // the rest of the file system taken by a file of its own
            const HANDLE fill = CreateFileW((pad.dir / L"fill").c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, 0, nullptr);
            ASSERT_NE(fill, INVALID_HANDLE_VALUE);
            static const char block[4096] = {};
            for (DWORD n = 1; n && WriteFile(fill, block, sizeof block, &n, nullptr);) {
            }
            CloseHandle(fill);
            ULARGE_INTEGER free{};
            ASSERT_TRUE(GetDiskFreeSpaceExW(pad.dir.path.c_str(), &free, nullptr, nullptr));
            ASSERT_LT(free.QuadPart, s.Text().size()) << "the file system is not full";
        }
        ASSERT_TRUE(pad.proc.Start(exe, L"", dir) && pad.WaitReady());
        if (fault == LockedAtStart)
            CloseHandle(std::exchange(lock, INVALID_HANDLE_VALUE));
        ASSERT_TRUE(fault != LockedAtClose || Lock());
        ASSERT_TRUE(fault != OpenAtClose || Lock(FILE_SHARE_READ));
        // Moved, so that a write would change the file in any case.
        SetWindowPos(pad.main, nullptr, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PostMessageW(pad.main, WM_CLOSE, 0, 0);
        const HWND box = pad.WaitBox();
        EXPECT_EQ(Text(box) + L": " + MessageBoxText(box),
                  L"Moodpad: INI File could not be stored");
        PressOk(box);
        EXPECT_TRUE(pad.proc.WaitExit(10000)) << "a second box holds the program open";
        if (lock != INVALID_HANDLE_VALUE)
            CloseHandle(lock);
        EXPECT_TRUE(ReadFile(pad.Ini()) == s.Text()) << "the file was replaced";
        EXPECT_EQ(FileExists(pad.Ini() + L".tmp"), fault == Blocked);
    }
}

// Damaged files through the real program: every button it read comes back after a close, and the
// rest of the file is still there. (The damage case by case is in the settings file's unit tests.)
TEST(Faults, ADamagedSettingsFileKeepsEveryButtonReadAndEverythingElse) {
    const std::string longLine(100000, 'x');
    const Settings s{.faces = {{"b1", "s1", "Hint 1"}}}; // one picture; the others are missing
    std::string text = s.Text() + DamagedButtons() + "[Other]\r\nkept=" + longLine + "\r\n";
    std::replace(text.begin(), text.end(), '\n', '\r'); // only CR line ends
    Moodpad pad;
    ASSERT_TRUE(pad.Prepare(&s) && WriteFile(pad.Ini(), text));
    const TButtonList read = Buttons(pad.Ini());
    ASSERT_GE(read.size(), 20006u);
    ASSERT_TRUE(pad.Launch());
    if (const HWND box = pad.WaitBox(20000)) // the missing pictures
        PressOk(box);
    ASSERT_TRUE(pad.WaitReady(20000));
    EXPECT_EQ(Faces(pad.Palette()).Count(), long(read.size()));
    ASSERT_TRUE(pad.Close(20000));
    EXPECT_TRUE(Buttons(pad.Ini()) == read) << "buttons were lost or changed";
    EXPECT_EQ(IniDocument::Parse(ReadFile(pad.Ini())).Get("Other", "kept"), longLine);
}

// The loader refuses the program before any of its code runs; under Windows the system says
// which file it missed. No window, no crash box, nothing written. (A damaged library is the same
// refusal of the loader.)
TEST(Faults, WithoutItsHookLibraryTheProgramDoesNotStart) {
    const Settings s;
    Moodpad pad;
    ASSERT_TRUE(pad.Prepare(&s) && DeleteFileW((pad.dir / L"HookLib.dll").c_str()));
    ASSERT_TRUE(pad.Launch() && pad.proc.WaitExit(10000));
    EXPECT_EQ(pad.proc.ExitCode(), 0xC0000135u) << std::hex << pad.proc.ExitCode();
    EXPECT_TRUE(ReadFile(pad.Ini()) == s.Text());
}

// Face directories that cannot be read give the notice and blank faces; long and non-ANSI ones
// are read. The program's own folder has a name the system's code page cannot spell: its settings
// file is read and stored all the same.
TEST(Faults, FaceDirectoriesOnAMissingDriveOfAnyLengthOrScript) {
    DWORD drives = GetLogicalDrives(), letter = 25;
    while (letter > 3 && (drives & (1u << letter)))
        --letter;
    TempDir top;
    const std::wstring parent = top / L"\u0421\u043c\u0430\u0439\u043b\u044b \u7b11";
    ASSERT_TRUE(CreateDirectoryW(parent.c_str(), nullptr));
    Moodpad pad(parent);
    const std::tuple<const char*, std::wstring, bool> cases[] = {
        {"missing drive", std::wstring(1, wchar_t(L'A' + letter)) + L":\\faces", true},
        {"300 characters",
         pad.dir.path + L"\\" + std::wstring(150, L'a') + L"\\" +
             std::wstring(300 - pad.dir.path.size() - 152, L'b'),
         false},
        {"non-ANSI", pad.dir / L"\u0424\u0430\u0441\u043e\u043d\u044b \u7b11\u9854", false},
    };
    const Settings s{.faces = NumberedFaces(3)};
    ASSERT_TRUE(pad.Prepare(&s));
    for (const auto& [name, faceDir, notice] : cases) {
        SCOPED_TRACE(name);
        // The long path is made through the form without a length limit.
        const std::wstring dir = L"\\\\?\\" + faceDir;
        CreateDirectoryW(dir.substr(0, dir.rfind(L'\\')).c_str(), nullptr);
        CreateDirectoryW(dir.c_str(), nullptr);
        for (const Face& f : s.faces)
            CopyFileW((pad.dir / L"faces\\" + Widen(f.picture) + L".bmp").c_str(),
                      (dir + L"\\" + Widen(f.picture) + L".bmp").c_str(), FALSE);
        char utf8[1024];
        utf8[WideCharToMultiByte(CP_UTF8, 0, faceDir.c_str(), -1, utf8, 1023, nullptr, nullptr)] =
            0;
        std::string text = "\xEF\xBB\xBF" + s.Text();
        text.replace(text.find("Value=faces"), 11, std::string("Value=") + utf8);
        ASSERT_TRUE(WriteFile(pad.Ini(), text));
        ASSERT_TRUE(pad.Launch());
        // The notice comes before the window is enabled; without it the window gets ready.
        if (const HWND box = notice ? pad.WaitBox() : nullptr) {
            EXPECT_EQ(MessageBoxText(box), L"One or more pictures could not be loaded");
            PressOk(box);
        }
        ASSERT_TRUE(pad.WaitReady()) << Narrow(pad.BoxTexts().empty() ? L"" : pad.BoxTexts()[0]);
        EXPECT_EQ(Faces(pad.Palette()).Count(), 3);
        EXPECT_EQ(WindowRect(pad.main).left, s.left) << "the settings were not read";
        SetWindowPos(pad.main, nullptr, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_TRUE(pad.Close()) << "a box holds the program open";
        EXPECT_EQ(GetPrivateProfileIntW(L"Window", L"Left", 0, pad.Ini().c_str()), 200);
    }
    // Too long for the file functions of the C++ library: removed through the long form.
    for (const Face& f : s.faces)
        DeleteFileW(
            (L"\\\\?\\" + std::get<1>(cases[1]) + L"\\" + Widen(f.picture) + L".bmp").c_str());
    EXPECT_TRUE(RemoveDirectoryW((L"\\\\?\\" + std::get<1>(cases[1])).c_str()));
}

} // namespace

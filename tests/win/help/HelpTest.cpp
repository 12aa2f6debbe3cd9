// Which help file the program opens, and that the built help file really opens at its contents.
#include "ui/Help_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using help::THelpKind;
using help::THelpResult;

namespace {

// A fresh, empty folder under the temporary folder, removed with everything in it.
class TTempDir {
  public:
    TTempDir() {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        path_ = std::wstring(tmp) + L"mp.help." + std::to_wstring(GetCurrentProcessId()) + L"." +
                std::to_wstring(GetTickCount64()) + L".d";
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TTempDir() { Remove(path_); }
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    static void Remove(const std::wstring& dir) {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = fd.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(dir + L"\\" + name);
                else
                    DeleteFileW((dir + L"\\" + name).c_str());
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryW(dir.c_str());
    }
    std::wstring path_;
};

void Touch(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
}

// Top-level windows of the HTML Help viewer that belong to this process.
BOOL CALLBACK CollectHelpWindow(HWND w, LPARAM lp) {
    wchar_t cls[64] = L"";
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && GetClassNameW(w, cls, 64) &&
        std::wstring(cls) == L"HH Parent")
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
    return TRUE;
}

std::vector<HWND> HelpWindows() {
    std::vector<HWND> found;
    EnumWindows(CollectHelpWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Serves this thread's messages until pred holds or the deadline passes.
template <class Pred> bool WaitFor(Pred pred, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (pred())
            return true;
        if (GetTickCount64() >= end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// The help file the build put beside the program; "" when it has not been built.
std::wstring BuiltHelpFile() {
    std::wstring dist;
    if (const wchar_t* env = _wgetenv(L"MOODPAD_DIST_DIR"); env && *env) {
        dist = env;
    } else {
        std::wstring exe = help::ProgramPath();
        dist = exe.substr(0, exe.find_last_of(L'\\')) + L"\\dist";
    }
    const std::wstring chm = dist + L"\\Moodpad.chm";
    const DWORD attr = GetFileAttributesW(chm.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY) ? chm : L"";
}

} // namespace

TEST(HelpFile, ExtensionIsReplacedOnlyInTheFileName) {
    EXPECT_EQ(help::StripExtension(L"C:\\TOOLS\\PAD.EXE"), L"C:\\TOOLS\\PAD");
    EXPECT_EQ(help::StripExtension(L"C:\\TOOLS\\PAD.old.exe"), L"C:\\TOOLS\\PAD.old");
    // A dot in a folder name is not an extension.
    EXPECT_EQ(help::StripExtension(L"C:\\my.tools\\PAD"), L"C:\\my.tools\\PAD");
    EXPECT_EQ(help::StripExtension(L"C:PAD.EXE"), L"C:PAD");
    EXPECT_EQ(help::StripExtension(L"PAD"), L"PAD");
}

TEST(HelpFile, OldHelpWinsOverCompiledHtmlAndFoldersDoNotCount) {
    TTempDir dir;
    const std::wstring exe = dir / L"Pad.exe";
    EXPECT_EQ(help::FindHelpFile(exe).kind, THelpKind::hkNone);
    EXPECT_EQ(help::FindHelpFile(L"").kind, THelpKind::hkNone);

    // A folder that merely carries the name is not a help file.
    CreateDirectoryW((dir / L"Pad.hlp").c_str(), nullptr);
    EXPECT_EQ(help::FindHelpFile(exe).kind, THelpKind::hkNone);

    Touch(dir / L"Pad.chm");
    help::THelpFile f = help::FindHelpFile(exe);
    EXPECT_EQ(f.kind, THelpKind::hkHtmlHelp);
    EXPECT_EQ(f.path, dir / L"Pad.chm");

    RemoveDirectoryW((dir / L"Pad.hlp").c_str());
    Touch(dir / L"Pad.hlp");
    f = help::FindHelpFile(exe);
    EXPECT_EQ(f.kind, THelpKind::hkWinHelp);
    EXPECT_EQ(f.path, dir / L"Pad.hlp");

    // The help of a program in a dotted folder sits beside it, named after the program.
    const std::wstring dotted = dir / L"v1.2";
    CreateDirectoryW(dotted.c_str(), nullptr);
    Touch(dotted + L"\\Pad.chm");
    f = help::FindHelpFile(dotted + L"\\Pad.exe");
    EXPECT_EQ(f.kind, THelpKind::hkHtmlHelp);
    EXPECT_EQ(f.path, dotted + L"\\Pad.chm");
}

TEST(HelpFile, NoHelpFileOpensNothingAndStaysQuiet) {
    TTempDir dir;
    EXPECT_EQ(help::ShowHelpFor(nullptr, dir / L"Pad.exe"), THelpResult::hrNothing);
    EXPECT_EQ(help::ShowHelpFor(nullptr, L""), THelpResult::hrNothing);
    // The test program has no help beside it: the public entry must return quietly.
    const std::wstring self = help::ProgramPath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(_wcsicmp(self.substr(self.size() - 4).c_str(), L".exe"), 0);
    ASSERT_EQ(help::FindHelpFile(self).kind, THelpKind::hkNone);
    ShowHelpContents(nullptr);
    EXPECT_TRUE(HelpWindows().empty());
}

TEST(HelpFile, BuiltHelpOpensAtItsContentsAndCloses) {
    const std::wstring built = BuiltHelpFile();
    if (built.empty()) {
        if (_wgetenv(L"MOODPAD_DIST_DIR"))
            FAIL() << "Moodpad.chm is missing from the program folder";
        GTEST_SKIP() << "help not built (scripts/build-help)";
    }
    TTempDir dir;
    ASSERT_TRUE(CopyFileW(built.c_str(), (dir / L"Pad.chm").c_str(), FALSE));

    // Context 1 must be mapped in the file: a fallback to the default topic would mean the
    // context map was lost in the build.
    EXPECT_EQ(help::ShowHelpFor(nullptr, dir / L"Pad.exe"), THelpResult::hrHtmlContext);
    ASSERT_TRUE(WaitFor([] { return !HelpWindows().empty(); }, 10000));
    const HWND viewer = HelpWindows().front();
    EXPECT_TRUE(IsWindowVisible(viewer));
    wchar_t title[128] = L"";
    GetWindowTextW(viewer, title, 128);
    EXPECT_STREQ(title, L"Moodpad Help");

    help::CloseAllHelp();
    EXPECT_TRUE(WaitFor([] { return HelpWindows().empty(); }, 10000));

    // Opened for a window, the viewer belongs to it and goes with it, so no help window outlives
    // the dialog or the program that asked for it.
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(help::ShowHelpFor(owner, dir / L"Pad.exe"), THelpResult::hrHtmlContext);
    ASSERT_TRUE(WaitFor([] { return !HelpWindows().empty(); }, 10000));
    EXPECT_EQ(GetWindow(HelpWindows().front(), GW_OWNER), owner);
    DestroyWindow(owner);
    EXPECT_TRUE(WaitFor([] { return HelpWindows().empty(); }, 10000));
    help::CloseAllHelp();
}

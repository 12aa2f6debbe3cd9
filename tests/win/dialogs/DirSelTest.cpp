// The directory dialog run by SelectDir on this thread while another thread plays the user: OK
// returns the directory shown, Cancel changes nothing, and the process's current directory and
// error mode come back exactly, also when the saved directory has gone. (Folders entered in the
// list and the chosen one returned are met end to end, in Options.OnlyANewFaceDirectory...) A start
// directory that does not exist is reported, a drive that cannot be entered puts the drive box
// back, and the create question creates the typed directory on Yes.
#include "dialogs/DirSel_win.h"
#include "support/Support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

using namespace support;

namespace {

constexpr int IdDirName = 101, IdDrive = 103;

bool SamePath(std::wstring a, std::wstring b) {
    for (auto* s : {&a, &b})
        if (s->size() > 3 && s->back() == L'\\')
            s->pop_back();
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

std::wstring NameField(HWND d) {
    return Text(GetDlgItem(d, IdDirName));
}

// Runs SelectDir with the user's part on another thread.
bool RunDialog(std::string& dir, TSelectDirOpts options, const std::function<void(HWND)>& user) {
    std::thread t([&] {
        if (const HWND d = WaitBox(GetCurrentProcessId(), L"Select Directory")) {
            WaitFor([&] { return IsWindowEnabled(d) && FocusOf(d); });
            user(d);
        }
    });
    const bool ok = SelectDir(dir, options);
    t.join();
    return ok;
}

} // namespace

TEST(SelectDir, OkReturnsTheDirectoryCancelKeepsAllAndTheProcessStateComesBack) {
    TempDir t;
    CreateDirectoryW((t / L"Sub").c_str(), nullptr);
    CreateDirectoryW((t / L"Gone").c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryW((t / L"Gone").c_str()));
    const UINT mode = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    UINT modeDuring = 0;
    std::wstring shown;
    std::string dir = Narrow(t.path);
    EXPECT_TRUE(RunDialog(dir, sdNone, [&](HWND d) {
        modeDuring = GetErrorMode();
        // The saved directory goes while the dialog browses elsewhere (a stick pulled out).
        RemoveDirectoryW((t / L"Gone").c_str());
        shown = NameField(d);
        Press(d, IDOK, VK_RETURN);
    }));
    EXPECT_TRUE(SamePath(shown, t.path)) << Narrow(shown);
    EXPECT_EQ(dir, Narrow(shown));
    EXPECT_EQ(modeDuring, SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS);
    EXPECT_EQ(GetErrorMode(), UINT(SEM_NOGPFAULTERRORBOX)) << "the old mode exactly";
    EXPECT_TRUE(SamePath(std::filesystem::current_path().wstring(), ExeDir()))
        << "the program's folder when the old one went";

    // Cancel returns false and leaves the string and the current directory; a drive whose
    // directory cannot be entered is reported and the box goes back to the list's drive.
    SetCurrentDirectoryW(t.path.c_str());
    wchar_t other = 0;
    for (wchar_t c = L'Z'; c >= L'C' && !other; --c)
        if (c != towupper(t.path[0]) && (GetLogicalDrives() & (1u << (c - L'A'))))
            other = c;
    ASSERT_TRUE(other) << "a second drive";
    const wchar_t var[] = {L'=', other, L':', 0};
    SetEnvironmentVariableW(var, (std::wstring{other} + L":\\no such folder").c_str());
    std::wstring driveShown, nameShown;
    dir = Narrow(t / L"Sub");
    BoxReader reader;
    EXPECT_FALSE(RunDialog(dir, sdNone, [&](HWND d) {
        HWND combo = GetDlgItem(d, IdDrive);
        SendMessageW(combo, CB_SELECTSTRING, WPARAM(-1),
                     LPARAM((std::wstring{other} + L":").c_str()));
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IdDrive, CBN_SELCHANGE), LPARAM(combo));
        reader.Join();
        WaitFor([&] { return IsWindowEnabled(d); });
        driveShown = Text(combo);
        nameShown = NameField(d);
        Chord({VK_ESCAPE});
    }));
    SetEnvironmentVariableW(var, nullptr);
    EXPECT_EQ(dir, Narrow(t / L"Sub"));
    EXPECT_TRUE(SamePath(std::filesystem::current_path().wstring(), t.path));
    EXPECT_FALSE(reader.text.empty()) << "the failed drive is reported";
    EXPECT_EQ(towupper(driveShown.c_str()[0]), towupper(t.path[0])) << Narrow(driveShown);
    EXPECT_TRUE(SamePath(nameShown, t / L"Sub")) << Narrow(nameShown);
    SetErrorMode(mode);
    SetCurrentDirectoryW(ExeDir().c_str());
}

TEST(SelectDir, AMissingStartIsReportedAndOpensOnTheDrivesDirectoryAndYesCreatesATypedOne) {
    TempDir t;
    // The drive remembers its own directory while the process works on another drive.
    SetCurrentDirectoryW(ExeDir().c_str());
    const wchar_t var[] = {L'=', t.path[0], L':', 0};
    SetEnvironmentVariableW(var, t.path.c_str());
    std::wstring shown;
    std::string dir = Narrow(t / L"missing\\deeper");
    BoxReader reader;
    EXPECT_FALSE(RunDialog(dir, sdAllowCreate | sdPrompt | sdPerformCreate, [&](HWND d) {
        shown = NameField(d);
        Chord({VK_ESCAPE});
    }));
    reader.Join();
    EXPECT_EQ(reader.text, L"The specified directory does not exist.");
    EXPECT_TRUE(SamePath(shown, t.path)) << Narrow(shown);
    EXPECT_EQ(dir, Narrow(t / L"missing\\deeper"));

    const std::wstring typed = t / L"new\\deeper";
    dir = Narrow(t.path);
    std::wstring question;
    EXPECT_TRUE(RunDialog(dir, sdAllowCreate | sdPrompt | sdPerformCreate, [&](HWND d) {
        SetWindowTextW(GetDlgItem(d, IdDirName), typed.c_str());
        Press(d, IdDirName, VK_RETURN);
        const HWND box = WaitBox(GetCurrentProcessId(), L"Moodpad");
        question = MessageBoxText(box);
        PostMessageW(box, WM_COMMAND, IDYES, 0);
    }));
    EXPECT_EQ(question, L"The specified directory does not exist. Create it?");
    EXPECT_EQ(dir, Narrow(typed));
    EXPECT_TRUE(FileExists(typed));
    SetEnvironmentVariableW(var, nullptr);
}

// The start-up program's file dialog as the user meets it: a program field holding a name the
// dialog cannot take (quotes, '|') still opens it, and the program filter lists the batch files
// its label names.
#include "dialogs/OptionsDlg_win.h"
#include "support/Support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <thread>

using namespace support;

namespace {

// The number of files the open dialog shows in its list view (the dialog has the explorer style,
// which it gets without a hook of its own).
LRESULT Listed(HWND dlg) {
    const HWND shell = FindWindowExW(dlg, nullptr, L"SHELLDLL_DefView", nullptr);
    const HWND view = shell ? FindWindowExW(shell, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
    return view ? SendMessageW(view, LVM_GETITEMCOUNT, 0, 0) : 0;
}

TEST(ProgramBrowse, AnInvalidNameStillOpensTheDialogAndTheFilterListsBatchFiles) {
    TempDir dir;
    WriteFile(dir / L"run.bat", "@echo off\r\n");
    WriteFile(dir / L"notes.txt", "x\r\n");
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    SetCurrentDirectoryW(dir.path.c_str());

    bool opened = false;
    LRESULT listed = -1;
    std::thread user([&] {
        const HWND dlg =
            WaitBox(GetCurrentProcessId(), L"Select a Program to Run on the Startup", 5000);
        if (!(opened = dlg != nullptr))
            return;
        WaitFor([&] { return (listed = Listed(dlg)) > 0; }, 2000);
        PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    std::wstring name = L"\"a|b\"";
    EXPECT_FALSE(GetEXEFileName(nullptr, name));
    user.join();
    SetCurrentDirectoryW(old);
    EXPECT_TRUE(opened) << "the dialog did not open on an invalid name";
    EXPECT_EQ(listed, 1) << "the program filter hides run.bat (or shows notes.txt)";
    EXPECT_EQ(name, L"\"a|b\"") << "Cancel changed the field";
}

} // namespace

// Opens one of Moodpad's dialogs for scripts/screenshot. Run inside the same Wine virtual desktop
// as the program (a program outside it cannot see its windows): waits for the main window, posts
// the dialog's key to it and, for "directory", clicks the options dialog's Browse button for the
// face directory. Usage: opendlg order | options | directory
#include <windows.h>

#include <cwchar>

namespace {

constexpr int BrowsePathId = 302; // oiBrowsePath in src/dialogs/OptionsDlg_win.h

HWND WaitWindow(const wchar_t* cls, const wchar_t* title) {
    for (int i = 0; i < 200; ++i) {
        if (HWND wnd = FindWindowW(cls, title); wnd && IsWindowVisible(wnd))
            return wnd;
        Sleep(50);
    }
    return nullptr;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR cmd, int) {
    const bool order = std::wcsstr(cmd, L"order") != nullptr;
    const bool directory = std::wcsstr(cmd, L"directory") != nullptr;
    HWND main = WaitWindow(L"TMainForm", L"Moodpad");
    if (!main)
        return 1;
    Sleep(2500); // past the splash
    PostMessageW(main, WM_CHAR, order ? L'o' : L'c', 0);
    if (!directory)
        return 0;
    HWND options = WaitWindow(nullptr, L"Moodpad Options");
    if (!options)
        return 2;
    Sleep(500);
    PostMessageW(GetDlgItem(options, BrowsePathId), BM_CLICK, 0, 0);
    return 0;
}

// Opens one of Moodpad's dialogs for scripts/screenshot. Run inside the same Wine virtual desktop
// as the program (a program outside it cannot see its windows): waits for the main window, posts
// the dialog's key to it and, for "directory", clicks the options dialog's Browse button for the
// face directory; "about" types A, and "credits" then clicks the about box's Credits button.
// Usage: opendlg order | options | directory | about | credits
#include <windows.h>

#include <cwchar>

namespace {

constexpr int BrowsePathId = 302; // oiBrowsePath in src/dialogs/OptionsDlg_win.h
constexpr int CreditsId = 419;    // ABOUTCREDITSID in src/about/Engabout_win.h

HWND WaitWindow(const wchar_t* cls, const wchar_t* title) {
    for (int i = 0; i < 200; ++i) {
        if (HWND wnd = FindWindowW(cls, title); wnd && IsWindowVisible(wnd))
            return wnd;
        Sleep(50);
    }
    return nullptr;
}

// Waits for the dialog captioned `title`, lets it settle, then clicks its button `id`.
int ClickIn(const wchar_t* title, int id, int failure) {
    HWND box = WaitWindow(nullptr, title);
    if (!box)
        return failure;
    Sleep(500);
    PostMessageW(GetDlgItem(box, id), BM_CLICK, 0, 0);
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR cmd, int) {
    const bool order = std::wcsstr(cmd, L"order") != nullptr;
    const bool directory = std::wcsstr(cmd, L"directory") != nullptr;
    const bool credits = std::wcsstr(cmd, L"credits") != nullptr;
    const bool about = credits || std::wcsstr(cmd, L"about") != nullptr;
    HWND main = WaitWindow(L"TMainForm", L"Moodpad");
    if (!main)
        return 1;
    Sleep(2500); // past the splash
    PostMessageW(main, WM_CHAR, about ? L'a' : order ? L'o' : L'c', 0);
    if (credits)
        return ClickIn(L"About Moodpad", CreditsId, 3);
    return directory ? ClickIn(L"Moodpad Options", BrowsePathId, 2) : 0;
}

// Holds the clipboard open so that no other program can open it, for the tests of a failing
// clipboard. Once the clipboard is open it creates a hidden window titled "MoodpadClipHolder",
// which tests wait for; it closes the clipboard and ends on WM_CLOSE to that window, or after the
// number of seconds given on the command line (default 60) as a safety net.
#include <cstdlib>
#include <windows.h>
#include <shellapi.h>

namespace {

LRESULT CALLBACK HolderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE:
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    UINT seconds = 60;
    if (argv && argc > 1 && _wtoi(argv[1]) > 0)
        seconds = static_cast<UINT>(_wtoi(argv[1]));
    if (argv)
        LocalFree(argv);

    WNDCLASSW wc{};
    wc.lpfnWndProc = HolderProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MoodpadClipHolder";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               instance, nullptr);
    if (!wnd || !OpenClipboard(wnd))
        return 1;
    // The title is the signal that the clipboard is held.
    SetWindowTextW(wnd, L"MoodpadClipHolder");
    SetTimer(wnd, 1, seconds * 1000, nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    CloseClipboard();
    return 0;
}

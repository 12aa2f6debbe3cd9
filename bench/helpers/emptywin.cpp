// The smallest window program, started by the start-up benchmark as the baseline: it registers a
// class, shows one window titled "EmptyWin" and runs a message loop until closed. Built a second
// time as emptywin_libs, which first starts the system libraries Moodpad starts before its first
// window (OLE, the version 6 common controls by the same manifest, the themes and the common
// dialogs): what those cost is the floor under Moodpad's start-up that its own code cannot lower.
#include <windows.h>
#ifdef EMPTYWIN_LIBS
#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <uxtheme.h>
#endif

namespace {

LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
#ifdef EMPTYWIN_LIBS
    if (FAILED(OleInitialize(nullptr)))
        return 1;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    // Imported as Moodpad imports them, so they load and start with the process.
    (void)IsThemeActive();
    (void)CommDlgExtendedError();
#endif
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"EmptyWin";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(0, L"EmptyWin", L"EmptyWin", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, 407, 209, nullptr, nullptr, inst, nullptr);
    ShowWindow(wnd, show);
    UpdateWindow(wnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

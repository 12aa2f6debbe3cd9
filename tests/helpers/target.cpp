// A target application for the end-to-end tests: a top-level window "MoodpadTarget" with a
// focused multi-line edit. Every message that insertion and tracking can produce is appended to
// the log file named on the command line, one flushed line each:
//   <QueryPerformanceCounter> PASTE <wParam> <lParam>
//   <QueryPerformanceCounter> CHAR <code> <lParam>
//   <QueryPerformanceCounter> KEYDOWN <vk> | SYSKEYDOWN <vk>
//   <QueryPerformanceCounter> SENDTOHOOK <wParam> <lParam>      (to any window of this thread)
//   <QueryPerformanceCounter> MARK <wParam>                     (see TargetMark)
// The edit still handles every message as usual, so a paste shows the clipboard text in it.
// The tracking query is logged by a message hook of this thread, which runs before any global
// hook: the hook library answers the query and may turn it into WM_NULL before it is dispatched.
//
// Commands that tests post to the top-level window:
//   TargetMark (WM_APP+1, n): logs "MARK n"; as posted messages are served in order, a test that
//     sees its mark knows that everything posted to the window before it has been logged.
//   TargetEcho (WM_APP+2, hwnd): posts TargetEchoReply (WM_APP+3) back to hwnd at once, for
//     timing the round trip of one posted message between two processes.
//   TargetActivate (WM_APP+4): brings the window to the front and focuses the edit.
#include "Messages.h"

#include <cstdio>
#include <cstdlib>
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr UINT kMark = WM_APP + 1;
constexpr UINT kEcho = WM_APP + 2;
constexpr UINT kEchoReply = WM_APP + 3;
constexpr UINT kActivate = WM_APP + 4;

HANDLE logFile = INVALID_HANDLE_VALUE;
HWND edit = nullptr;
WNDPROC editProc = nullptr;

void Log(const char* what, unsigned long long a, long long b) {
    if (logFile == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    char line[128];
    int n = std::snprintf(line, sizeof line, "%lld %s %llu %lld\r\n",
                          static_cast<long long>(now.QuadPart), what, a, b);
    DWORD written = 0;
    WriteFile(logFile, line, static_cast<DWORD>(n), &written, nullptr);
    FlushFileBuffers(logFile);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PASTE:
        Log("PASTE", wParam, lParam);
        break;
    case WM_CHAR:
        Log("CHAR", wParam, lParam);
        break;
    case WM_KEYDOWN:
        Log("KEYDOWN", wParam, 0);
        break;
    case WM_SYSKEYDOWN:
        Log("SYSKEYDOWN", wParam, 0);
        break;
    }
    return CallWindowProcW(editProc, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK TopProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                   ES_WANTRETURN,
                               0, 0, 10, 10, hwnd, reinterpret_cast<HMENU>(1), nullptr, nullptr);
        editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
        return 0;
    case WM_SIZE:
        MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(edit);
        return 0;
    case kMark:
        Log("MARK", wParam, 0);
        return 0;
    case kEcho:
        PostMessageW(reinterpret_cast<HWND>(wParam), kEchoReply, 0, 0);
        return 0;
    case kActivate:
        SetForegroundWindow(hwnd);
        SetFocus(edit);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK GetMessageProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg->message == WM_SENDTOHOOK)
            Log("SENDTOHOOK", msg->wParam, msg->lParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

// Usage: target.exe <log file> [left top width height]
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv && argc > 1)
        logFile = CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    int place[4] = {20, 20, 400, 300};
    for (int i = 0; argv && i < 4 && i + 2 < argc; ++i)
        place[i] = _wtoi(argv[i + 2]);
    if (argv)
        LocalFree(argv);

    WNDCLASSW wc{};
    wc.lpfnWndProc = TopProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"MoodpadTarget";
    RegisterClassW(&wc);
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageProc, nullptr, GetCurrentThreadId());
    HWND top = CreateWindowExW(0, L"MoodpadTarget", L"MoodpadTarget", WS_OVERLAPPEDWINDOW, place[0],
                               place[1], place[2], place[3], nullptr, nullptr, instance, nullptr);
    if (!top)
        return 1;
    ShowWindow(top, SW_SHOWNORMAL);
    SetForegroundWindow(top);
    SetFocus(edit);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (hook)
        UnhookWindowsHookEx(hook);
    if (logFile != INVALID_HANDLE_VALUE)
        CloseHandle(logFile);
    return 0;
}

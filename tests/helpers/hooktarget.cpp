// A target application for the hook library's tests: a top-level window "MoodpadHookTarget"
// with a menu bar and a focused edit control. It counts what an application should or should not
// see of the hot key and of the query, and answers a test that asks for a count:
//   SendMessage(top, kGetCount (WM_APP+10), index, 0) returns the count of index:
//     0 key-down messages of the E key
//     1 other key messages of the E key (key-up, character)
//     2 menu activations (keyboard menu command, menu loop entered)
//     3 WM_SENDTOHOOK messages taken from the queue, whatever their parameters
//     4 key-down messages of the hook library's masking key (0xFF)
#include "HookLib.h"

#include <windows.h>

namespace {

constexpr UINT kGetCount = WM_APP + 10;
constexpr int kIdExit = 100;

enum Count { kEKeyDown, kEKeyOther, kMenuActivations, kQueries, kMaskKeyDown, kCountSlots };
LONG counts[kCountSlots] = {};
HWND edit = nullptr;

void CountMessage(const MSG& m) {
    switch (m.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (m.wParam == 'E')
            ++counts[kEKeyDown];
        else if (m.wParam == 0xFF)
            ++counts[kMaskKeyDown];
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (m.wParam == 'E')
            ++counts[kEKeyOther];
        break;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (m.wParam == 'e' || m.wParam == 'E')
            ++counts[kEKeyOther];
        break;
    case WM_SENDTOHOOK:
        ++counts[kQueries];
        break;
    default:
        break;
    }
}

LRESULT CALLBACK MainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        edit =
            CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                            10, 10, 300, 24, wnd, nullptr, GetModuleHandleW(nullptr), nullptr);
        return edit ? 0 : -1;
    case WM_SETFOCUS:
        SetFocus(edit);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU)
            ++counts[kMenuActivations];
        break;
    case WM_ENTERMENULOOP:
        ++counts[kMenuActivations];
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == kIdExit)
            DestroyWindow(wnd);
        return 0;
    case kGetCount:
        return wParam < kCountSlots ? counts[wParam] : -1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"MoodpadHookTarget";
    if (!RegisterClassW(&wc))
        return 1;
    // A menu bar, so that a stray Alt release or Alt+letter would show as a menu activation.
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, kIdExit, L"E&xit");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    HWND top = CreateWindowExW(0, wc.lpszClassName, L"Hook target", WS_OVERLAPPEDWINDOW, 100, 100,
                               340, 120, nullptr, bar, instance, nullptr);
    if (!top)
        return 1;
    ShowWindow(top, SW_SHOW);
    SetForegroundWindow(top);
    SetFocus(edit);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        CountMessage(m);
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}

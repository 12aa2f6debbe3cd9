// A target application for the hook library's and the end-to-end tests: a top-level window
// "MoodpadTarget" with a focused multi-line edit at (20, 20), 400 x 240. Usage: target.exe <log
// file>. Every message that insertion, tracking and the hot key can produce is appended to the log,
// one flushed line each:
//   <QueryPerformanceCounter> <kind> <wParam> <lParam>
// where kind is PASTE, a key or character message of the edit (KEYDOWN, KEYUP, CHAR, SYSKEYDOWN,
// SYSKEYUP, SYSCHAR), MENU (a keyboard menu command: a stray Alt release or Alt+letter),
// SENDTOHOOK (the tracking query taken from the queue), DISPATCHED (the query reached the window)
// or MARK. The edit still handles every message, so a paste shows the clipboard text in it.
// SENDTOHOOK is logged by a message hook of this thread, which runs before any global hook: the
// hook library answers the query and turns it into WM_NULL before it is dispatched. The commands a
// test may post are in Target.h. The edit is also an OLE drop target for text: a drop puts its
// CF_TEXT in the edit, then logs DROP <effect> <length>. Started without a log file (as the
// program's start-up program), it logs one line RAN to "<its own path>.ran" and ends.
//
// Started as "target.exe <log file> keys", the edit is of a class of its own ("MoodpadKeysOnly")
// and, like a browser's text field, takes only keyboard input: a posted WM_PASTE is dropped, and so
// is a WM_CHAR unless TranslateMessage made it from the key-down just before. Dropped messages are
// logged as DROPPED <message> <wParam>.
#include "Messages.h"
#include "Target.h"
#include "ui/Com_win.h"

#include <cstdio>
#include <utility>
#include <ole2.h>
#include <shellapi.h>

namespace {

HANDLE logFile = INVALID_HANDLE_VALUE;
HWND edit = nullptr;
bool keysOnly = false;
WNDPROC editProc = nullptr;

void Log(const char* what, WPARAM a, LPARAM b) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    char line[128];
    const int n = std::snprintf(line, sizeof line, "%lld %s %llu %lld\r\n", now.QuadPart, what,
                                ULONGLONG(a), LONGLONG(b));
    DWORD written = 0;
    WriteFile(logFile, line, static_cast<DWORD>(n), &written, nullptr);
    FlushFileBuffers(logFile);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const std::pair<UINT, const char*> logged[] = {
        {WM_PASTE, "PASTE"},           {WM_CHAR, "CHAR"},
        {WM_KEYDOWN, "KEYDOWN"},       {WM_KEYUP, "KEYUP"},
        {WM_SYSKEYDOWN, "SYSKEYDOWN"}, {WM_SYSKEYUP, "SYSKEYUP"},
        {WM_SYSCHAR, "SYSCHAR"}};
    for (const auto& [m, name] : logged)
        if (m == msg)
            Log(name, wParam, lParam);
    return CallWindowProcW(editProc, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK TopProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        RECT r;
        GetClientRect(hwnd, &r);
        edit = CreateWindowExW(WS_EX_CLIENTEDGE, keysOnly ? L"MoodpadKeysOnly" : L"EDIT", L"",
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                               0, 0, r.right, r.bottom, hwnd, nullptr, nullptr, nullptr);
        if (!keysOnly)
            editProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
        return 0;
    }
    case WM_SETFOCUS:
        SetFocus(edit);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU)
            Log("MENU", wParam, lParam);
        break;
    case WM_SENDTOHOOK:
        Log("DISPATCHED", wParam, lParam);
        return 0;
    case kTargetMark:
        Log("MARK", wParam, 0);
        return 0;
    case kTargetEcho:
        PostMessageW(reinterpret_cast<HWND>(wParam), kTargetEchoReply, 0, 0);
        return 0;
    case kTargetHang:
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    case kTargetActivate:
        SetForegroundWindow(hwnd);
        SetFocus(edit);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Takes dragged text by copy and logs what is dropped.
class TDropLog : public ui::TComObject<IDropTarget> {
  public:
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        hasText = data->QueryGetData(&text) == S_OK;
        return DragOver(0, {}, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect &= hasText ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        STGMEDIUM m{};
        *effect = DROPEFFECT_NONE;
        if (!hasText || data->GetData(&text, &m) != S_OK)
            return S_OK;
        const char* p = static_cast<const char*>(GlobalLock(m.hGlobal));
        const int n = lstrlenA(p);
        SetWindowTextA(edit, p);
        GlobalUnlock(m.hGlobal);
        ReleaseStgMedium(&m);
        Log("DROP", *effect = DROPEFFECT_COPY, n);
        return S_OK;
    }

  private:
    FORMATETC text{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    bool hasText = false;
};

LRESULT CALLBACK GetMessageProc(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_SENDTOHOOK)
        Log("SENDTOHOOK", msg->wParam, msg->lParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// For the keys-only edit: true when the message came through the queue as no keyboard could
// send it. A character counts as typed only right after a key-down, as TranslateMessage posts it.
bool Untyped(const MSG& msg) {
    static bool afterKeyDown = false;
    if (!keysOnly || msg.hwnd != edit)
        return false;
    const bool typed = msg.message != WM_CHAR || afterKeyDown;
    afterKeyDown = msg.message == WM_KEYDOWN;
    if (msg.message == WM_PASTE || !typed) {
        Log("DROPPED", msg.message, static_cast<LPARAM>(msg.wParam));
        return true;
    }
    return false;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    wchar_t ran[MAX_PATH * 4];
    lstrcpyW(ran + GetModuleFileNameW(nullptr, ran, MAX_PATH * 4 - 8), L".ran");
    logFile =
        CreateFileW(argc > 1 ? argv[1] : ran, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (argc < 2) {
        Log("RAN", 0, 0);
        return 0;
    }
    keysOnly = argc > 2 && lstrcmpW(argv[2], L"keys") == 0;
    if (keysOnly) {
        // A class of the system's edit under another name: no program posts to a class it does
        // not know.
        WNDCLASSW ec{};
        GetClassInfoW(nullptr, L"EDIT", &ec);
        editProc = ec.lpfnWndProc;
        ec.lpfnWndProc = EditProc;
        ec.hInstance = instance;
        ec.lpszClassName = L"MoodpadKeysOnly";
        RegisterClassW(&ec);
    }

    OleInitialize(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = TopProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MoodpadTarget";
    RegisterClassW(&wc);
    SetWindowsHookExW(WH_GETMESSAGE, GetMessageProc, nullptr, GetCurrentThreadId());
    HWND top = CreateWindowExW(0, wc.lpszClassName, wc.lpszClassName, WS_OVERLAPPEDWINDOW, 20, 20,
                               400, 240, nullptr, nullptr, instance, nullptr);
    RegisterDragDrop(edit, ui::MakeCom<TDropLog>().Get());
    ShowWindow(top, SW_SHOWNORMAL);
    SetForegroundWindow(top);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (Untyped(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

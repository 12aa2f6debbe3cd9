#include "ui/Application_win.h"

#include "ui/Help_win.h"
#include "ui/Window_win.h"

#include <new>

namespace ui {

TApplication Application;

namespace {

void Notify(const std::function<void()>& handler) {
    if (handler)
        handler();
}

bool IsMainOrChild(HWND main, HWND wnd) {
    return main && wnd && (wnd == main || IsChild(main, wnd));
}

} // namespace

bool TApplication::MainWindowMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                     LRESULT* result) {
    (void)lParam;
    switch (msg) {
    case WM_ACTIVATEAPP:
        PostMessageW(wnd, WM_APPACTIVATION, wParam ? TRUE : FALSE, 0);
        *result = 0;
        return true;
    case WM_APPACTIVATION:
        // Served after whatever was queued before it. A deactivation served when this program is
        // in front again (the hot key brought it back meanwhile) is stale, and would make the
        // program forget the target it has just learned: it is dropped.
        if (wParam || !IsOwnWindow(GetForegroundWindow()))
            Notify(wParam ? OnActivate : OnDeactivate);
        *result = 0;
        return true;
    case WM_SIZE:
        // Every way of minimising (caption button, taskbar, our own button) ends here once.
        if (wParam == SIZE_MINIMIZED && !minimized) {
            minimized = true;
            Notify(OnMinimize);
        } else if (wParam != SIZE_MINIMIZED) {
            minimized = false;
        }
        return false;
    default:
        return false;
    }
}

bool TApplication::PreviewKey(const MSG& msg) {
    if (!IsMainOrChild(MainWindow, msg.hwnd))
        return false;
    if (msg.message == WM_KEYDOWN) {
        // Dialog navigation swallows the Esc key press before it becomes a character, so the
        // preview gets it here, as the character it would have been.
        if (msg.wParam == VK_ESCAPE) {
            if (OnKeyPress)
                OnKeyPress(L'\x1b');
            return false;
        }
        return OnKeyDown && OnKeyDown(msg.wParam);
    }
    if (msg.message == WM_CHAR && msg.wParam != 0x1b && OnKeyPress)
        OnKeyPress(static_cast<wchar_t>(msg.wParam));
    return false;
}

void TApplication::ProcessMessage(MSG& msg) {
    try {
        if (PreviewKey(msg))
            return;
    } catch (...) {
        ShowCurrentError(MainWindow);
        return;
    }
    if (IsMainOrChild(MainWindow, msg.hwnd)) {
        // Characters go straight to their control: the main window has no mnemonics, and a '&'
        // in a button's text must not turn a typed letter into a click.
        if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR &&
            IsDialogMessageW(MainWindow, &msg))
            return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int TApplication::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        ProcessMessage(msg);
    return int(msg.wParam);
}

void TApplication::ShowHelp(HWND owner) {
    ShowHelpContents(owner);
}

} // namespace ui

#include "palette/Tracker_win.h"

#include "HookLib.h"
#include "ui/Window_win.h"

void TTargetTracker::Apply(const TEmoticonsOptions& options) {
    SetHotKey(options.HotKey);
    tracking = options.Insert.blEnabled && options.Insert.blTrackWindows;
    if (MessagesAreHooked())
        UnHookMessages();
    if (tracking)
        SetMessageHook(WM_SENDTOHOOK, 0, 0, notify, WM_EXECNONACTIVEHOOKHANDLE);
}

void TTargetTracker::Suspend() {
    if (MessagesAreHooked())
        UnHookMessages();
    if (KeyboardIsHooked())
        UnHookKeyboard();
}

void TTargetTracker::SetHotKey(const THotKey& key) {
    if (KeyboardIsHooked())
        UnHookKeyboard();
    SetKeyboardHook(&key, notify, WM_EXECACTIVEHOOKHANDLE);
}

void TTargetTracker::Learn(WPARAM focus, LPARAM window) {
    hActiveFocus = reinterpret_cast<HWND>(focus);
    hActiveWindow = reinterpret_cast<HWND>(window);
    focusThread = GetWindowThreadProcessId(hActiveFocus, nullptr);
    windowThread = GetWindowThreadProcessId(hActiveWindow, nullptr);
}

void TTargetTracker::Query(bool appActive) {
    if (!tracking || blFocusFound || hActiveFocus || appActive)
        return;
    HWND foreground = GetForegroundWindow();
    if (!foreground || !IsWindow(foreground))
        return;
    // None of this program's own windows is a target.
    if (ui::IsOwnWindow(foreground))
        return;
    PostMessageW(foreground, WM_SENDTOHOOK, 0, 0);
    blFocusFound = true;
}

void TTargetTracker::Clear() {
    blFocusFound = false;
    hActiveFocus = nullptr;
    hActiveWindow = nullptr;
}

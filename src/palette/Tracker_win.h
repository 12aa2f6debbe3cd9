#pragma once
// TTargetTracker: the window the user was typing in, learnt through the hook library. The hot key
// (which also summons the palette) reports the foreground application's focus; window tracking
// asks the foreground application once while the mouse is over the palette. The tracker owns
// both hooks.
#include "settings/Ini.h"

#include <windows.h>

class TTargetTracker {
  public:
    // Reports go to `notify` as WM_EXECACTIVEHOOKHANDLE and WM_EXECNONACTIVEHOOKHANDLE.
    explicit TTargetTracker(HWND notify) : notify(notify) {}
    TTargetTracker(const TTargetTracker&) = delete;
    TTargetTracker& operator=(const TTargetTracker&) = delete;
    ~TTargetTracker() { Suspend(); }

    // Installs what the options ask for: the hot key always, the tracking query while auto-insert
    // and window tracking are both on.
    void Apply(const TEmoticonsOptions& options);
    // Removes both hooks (while the options dialog is open, and at close).
    void Suspend();
    // Replaces the hot key: the hook is taken out, and installed again with a copy of `key`.
    void SetHotKey(const THotKey& key);

    // A report of the hook library: the target's focus control and its top-level window.
    void Learn(WPARAM focus, LPARAM window);
    // Asks the foreground application for its focus, at most once until Clear, and only while
    // tracking is on, no target is known and `appActive` is false (the palette is not in front).
    void Query(bool appActive);
    // Forgets the target.
    void Clear();

    // The target's windows, or null for one that is gone: a handle whose window was destroyed
    // may meanwhile name a window of another program, which must not get the text.
    HWND Focus() const { return Alive(hActiveFocus, focusThread); }
    HWND Window() const { return Alive(hActiveWindow, windowThread); }

  private:
    HWND notify;
    bool tracking = false;
    bool blFocusFound = false;
    HWND hActiveFocus = nullptr;
    HWND hActiveWindow = nullptr;
    // The threads that owned the two windows when they were reported.
    DWORD focusThread = 0, windowThread = 0;
    static HWND Alive(HWND wnd, DWORD thread) {
        return wnd && GetWindowThreadProcessId(wnd, nullptr) == thread ? wnd : nullptr;
    }
};

#pragma once
// The program's private window messages, shared by Moodpad.exe, HookLib.dll's callers and the
// tests, so that every side agrees on the numbers.
#include <windows.h>

// Posted by HookLib.dll to the main window: the hot key was pressed (wParam = the focus window of
// the foreground application, lParam = its top-level window).
#define WM_EXECACTIVEHOOKHANDLE (WM_USER + 111)
// Posted by HookLib.dll to the main window in answer to WM_SENDTOHOOK (same parameters).
#define WM_EXECNONACTIVEHOOKHANDLE (WM_USER + 112)
// Posted by the main window to the foreground window to ask which control there has the focus.
#define WM_SENDTOHOOK (WM_USER + 113)
// Posted by the main window to itself when start-up is over and the splash may go.
#define WM_HIDESPLASH (WM_USER + 114)
// Posted by the main window to itself after an activation change: wParam TRUE when the program
// became active. A constant rather than a macro in C++, so that the UI layer may still name it in
// its own namespace.
#ifdef __cplusplus
constexpr UINT WM_APPACTIVATION = WM_APP + 1;
#else
#define WM_APPACTIVATION (WM_APP + 1)
#endif
// Posted to the palette by its accessible default action: wParam is the face to choose.
#define WM_PALETTECHOOSE (WM_APP + 2)

#pragma once
// The program's private window messages, shared by Moodpad.exe, HookLib.dll and the tests.
// Plain defines: the hook library is C-compatible.

// The hook library's reports to the main window and its query to other applications.
#define WM_EXECACTIVEHOOKHANDLE (WM_USER + 111)
#define WM_EXECNONACTIVEHOOKHANDLE (WM_USER + 112)
#define WM_SENDTOHOOK (WM_USER + 113)
// Posted by the main window's first paint: the start-up step.
#define WM_HIDESPLASH (WM_USER + 114)
// Posted by the main window to itself: wParam TRUE when the program became active.
#define WM_APPACTIVATION (WM_APP + 1)
// Posted to the palette by its accessible default action: wParam is the face to choose.
#define WM_PALETTECHOOSE (WM_APP + 2)

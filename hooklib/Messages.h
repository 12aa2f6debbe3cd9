#pragma once
// The private window messages shared by the program, HookLib.dll and the tests.
#include <windows.h>

#define WM_EXECACTIVEHOOKHANDLE (WM_USER + 111)
#define WM_EXECNONACTIVEHOOKHANDLE (WM_USER + 112)
#define WM_SENDTOHOOK (WM_USER + 113)
#define WM_HIDESPLASH (WM_USER + 114)
#define WM_APPACTIVATION (WM_APP + 1)

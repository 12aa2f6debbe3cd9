#pragma once
// HookLib.dll: the global hooks through which Moodpad learns the window the user was typing in.
//
// Calling convention: every function is __stdcall and exported by its plain, undecorated name
// (see HookLib.def), so the library can be bound from any language by name.
//
// Messages:
//   SetKeyboardHook: when the combination in *hotKey is pressed in any application, `message` is
//     posted to `window` with wParam = that application's focus window and lParam = its top-level
//     window. It matches when the key goes down with exactly the record's Alt, Ctrl and Shift
//     state and no Windows key. The combination is consumed: the application receives neither
//     the key nor its repeats or release. A key without meaning (0xFF) is injected after every
//     match: the caller then counts as having received the last input, so the system lets it
//     bring its window to the front whatever the modifiers, and an Alt release does not open the
//     menu bar as a lone Alt would.
//     A virtual-key code of 0 never matches. The record is copied: a later change of the
//     caller's record has no effect until SetKeyboardHook is called again. The hook runs on a
//     thread of the library, so it keeps answering while the caller's thread is busy.
//   SetMessageHook: when a window of another application receives `message` with exactly
//     `wParam` and `lParam`, `answer` is posted to `window` with wParam = the focus window of the
//     receiving application and lParam = its top-level window. Messages that a window of the
//     calling application receives are not answered. A matching message is answered once, when
//     it is taken from the queue, and is then turned into WM_NULL: numbers in the WM_USER range
//     mean something different to every window class, so the query never reaches the foreign
//     window procedure.
//   Calling SetKeyboardHook or SetMessageHook again replaces the hook; it is never doubled.
#include "Messages.h"

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

struct THotKey;

// The library itself exports through its .def file only, so that nothing but the six plain names
// appears in its export table.
#ifdef HOOKLIB_BUILD
#define HOOKLIB_API
#else
#define HOOKLIB_API __declspec(dllimport)
#endif

HOOKLIB_API void __stdcall SetKeyboardHook(const struct THotKey* hotKey, HWND window, WORD message);
HOOKLIB_API void __stdcall UnHookKeyboard(void);
HOOKLIB_API BOOL __stdcall KeyboardIsHooked(void);
HOOKLIB_API void __stdcall SetMessageHook(WORD message, WORD wParam, DWORD lParam, HWND window,
                                          WORD answer);
HOOKLIB_API void __stdcall UnHookMessages(void);
HOOKLIB_API BOOL __stdcall MessagesAreHooked(void);

#ifdef __cplusplus
}
#endif

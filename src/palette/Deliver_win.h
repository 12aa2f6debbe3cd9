#pragma once
// Delivering a chosen text: the clipboard always, then the target control when auto-insert is on:
// posted to the window classes that take posted messages, typed as keyboard input into any other.
#include "settings/Ini.h"

#include <string>
#include <string_view>
#include <windows.h>

// What became of a text besides the clipboard.
enum TDelivery {
    dvNone,     // auto-insert off, or no target (any more)
    dvPosted,   // a paste request or the characters were posted to the target control
    dvTyped,    // the target came to the front and the text went in as keyboard input
    dvElevated, // the target runs as administrator and this program does not: nothing can reach it
};

// Whether the process `pid` runs elevated (as administrator); pid 0 is this program. Tests put
// their own answer here: Wine has no elevation.
extern bool (*ProcessElevated)(DWORD pid);

// Puts `text` on the clipboard (owned by `owner`); then, when auto-insert is on and `focus` is
// still a window, delivers it there. A control whose class is in `postClasses`, or any
// control with insert.blKeyboard off, is posted one paste request, or in character mode one
// WM_CHAR per character (per UTF-16 unit to a Unicode window). Any other gets keyboard input: its
// top-level window (`window`, or the control's own) comes to the front, the control gets the focus
// again, modifiers the user still holds are let go, and Ctrl+V or the characters are typed. Throws
// when the clipboard cannot be had; nothing is delivered then.
TDelivery DeliverText(HWND owner, const std::string& text, HWND focus, HWND window,
                      const TEmoticonsAutoInsert& insert, std::string_view postClasses);

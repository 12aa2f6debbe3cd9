#pragma once
// Delivering a chosen text: the clipboard always, then the target control when auto-insert is on.
#include "settings/Ini.h"

#include <string>
#include <windows.h>

// Puts `text` on the clipboard (owned by `owner`); then, when auto-insert is on and `target` is
// still a window, posts it one paste request, or in character mode one WM_CHAR per character
// (per UTF-16 unit to a Unicode window).
// Throws when the clipboard cannot be had; nothing is posted then.
void DeliverText(HWND owner, const std::string& text, HWND target,
                 const TEmoticonsAutoInsert& insert);

#pragma once
// The clipboard writer: makes a text the clipboard's only content.
#include <string>
#include <windows.h>

// Puts `s` (in the program's code page, see ui::Widen) on the clipboard as CF_UNICODETEXT and
// CF_TEXT, with `owner` as the clipboard's owner window. Throws
// ui::TAppError "Out of Memory" when no memory block can be had, and "Clipboard processing error"
// when the clipboard cannot be opened, emptied or given the text; in both cases the clipboard is
// left closed and the memory blocks it did not take freed.
void PutToClipboard(HWND owner, const std::string& s);

#pragma once
// The clipboard writer: makes a text the clipboard's only content.
#include <string>
#include <windows.h>

// Puts `s` on the clipboard as CF_TEXT with `owner` as the clipboard's owner window. Throws
// ui::TAppError "Out of Memory" when no memory block can be had, and "Clipboard processing error"
// when the clipboard cannot be opened, emptied or given the text; in both cases the clipboard is
// left closed and the memory block freed.
void PutToClipboard(HWND owner, const std::string& s);

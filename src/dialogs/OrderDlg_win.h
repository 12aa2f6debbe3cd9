#pragma once
// The button order dialog: the button list one entry per row, moved with the Top, Up, Down and
// Bottom buttons or with Alt and an arrow, Home or End key in the list. It only permutes entries.
#include "settings/Ini.h"

#include <windows.h>

constexpr wchar_t OrderDialogCaption[] = L"Moodpad Buttons Order";
// The list's control id, for those who drive the dialog from outside.
constexpr int ORDERLISTID = 300;

// Runs the dialog, owned by owner, on `order`. On OK `order` holds the entries in their new order
// and the result is true; on Cancel it is untouched.
bool RunOrderDialog(HWND owner, TButtonList& order);

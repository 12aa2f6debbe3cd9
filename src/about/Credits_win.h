#pragma once
// The credits window: the roles and names of the people behind the program, each row joined by
// dotted leaders.
#include <windows.h>

// Shows the credits window, captioned with the program's title and " Credits", modally over
// owner.
void ShowCredits(HWND owner);

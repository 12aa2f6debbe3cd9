#pragma once
// Commands that tests post to the top-level window of target.exe (see target.cpp).
#include <windows.h>

// (n): logs "MARK n"; posted messages are served in order, so once a test sees its mark, everything
// it posted to the window before has been logged.
constexpr UINT kTargetMark = WM_APP + 1;
// (hwnd): posts kTargetEchoReply back to hwnd at once, to time one posted round trip.
constexpr UINT kTargetEcho = WM_APP + 2;
constexpr UINT kTargetEchoReply = WM_APP + 3;
// Brings the window to the front and focuses its edit.
constexpr UINT kTargetActivate = WM_APP + 4;
// (ms): the window's thread sleeps that long, as a hung program does.
constexpr UINT kTargetHang = WM_APP + 5;

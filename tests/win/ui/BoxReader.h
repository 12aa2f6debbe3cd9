#pragma once
// Finds this process's message box captioned "Moodpad" (the general error display), reads its
// text and whether it shows an icon, and presses OK. Runs on its own thread while the thread that
// raised sits in the box.
#include <string>
#include <windows.h>

struct TBoxReader {
    std::wstring text;
    bool icon = false;
    bool found = false;

    void Run() {
        const ULONGLONG deadline = GetTickCount64() + 10000;
        while (GetTickCount64() < deadline) {
            HWND box = FindBox();
            if (box) {
                Read(box);
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                found = true;
                return;
            }
            Sleep(10);
        }
    }

  private:
    static BOOL CALLBACK Visit(HWND wnd, LPARAM lp) {
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        wchar_t cls[32], title[64];
        if (pid == GetCurrentProcessId() && IsWindowVisible(wnd) && GetClassNameW(wnd, cls, 32) &&
            std::wstring(cls) == L"#32770" && GetWindowTextW(wnd, title, 64) &&
            std::wstring(title) == L"Moodpad") {
            *reinterpret_cast<HWND*>(lp) = wnd;
            return FALSE;
        }
        return TRUE;
    }
    static HWND FindBox() {
        HWND box = nullptr;
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&box));
        return box;
    }
    void Read(HWND box) {
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t cls[32];
            GetClassNameW(c, cls, 32);
            if (lstrcmpiW(cls, L"Static") != 0)
                continue;
            if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                icon = icon || SendMessageW(c, STM_GETICON, 0, 0) != 0;
                continue;
            }
            wchar_t buf[2048];
            int n = GetWindowTextW(c, buf, 2048);
            if (n > int(text.size()))
                text.assign(buf, size_t(n));
        }
    }
};

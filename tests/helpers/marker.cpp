// A start-up program for tests: appends one line to "<its own path>.ran" and ends, so a test can
// see whether and how often it was started.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4 - 8);
    if (n == 0)
        return 1;
    lstrcpyW(path + n, L".ran");
    HANDLE f = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(f, "ran\r\n", 5, &written, nullptr);
    CloseHandle(f);
    return 0;
}

// Start-up time of Moodpad: from process creation until the main window is enabled (the splash
// gone), less the splash's fixed 1.5 s, beside the same measure for the smallest window program
// (emptywin.exe: until its window is visible). Prints the median of several runs.
//
// Usage: startup_win [runs]  (MOODPAD_DIST_DIR or "<this folder>\dist" holds the program)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double SplashMs = 1500.0;

std::wstring ExeDir() {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH * 4);
    std::wstring p(buf, n);
    return p.substr(0, p.find_last_of(L"\\/"));
}

std::wstring DistDir() {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = GetEnvironmentVariableW(L"MOODPAD_DIST_DIR", buf, MAX_PATH * 4);
    return n ? std::wstring(buf, n) : ExeDir() + L"\\dist";
}

double NowMs() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(freq.QuadPart);
}

struct TFound {
    DWORD pid;
    const wchar_t* cls;
    HWND wnd;
};

BOOL CALLBACK FindProc(HWND wnd, LPARAM lp) {
    auto* f = reinterpret_cast<TFound*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    wchar_t cls[64];
    if (pid == f->pid && GetClassNameW(wnd, cls, 64) && lstrcmpW(cls, f->cls) == 0) {
        f->wnd = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindWindowOf(DWORD pid, const wchar_t* cls) {
    TFound f{pid, cls, nullptr};
    EnumWindows(FindProc, LPARAM(&f));
    return f.wnd;
}

// Starts exe and returns the milliseconds until ready(pid) holds, or -1 on a 20 s timeout. The
// process is closed afterwards.
template <typename Ready> double TimeStart(const std::wstring& exe, Ready ready) {
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double t0 = NowMs();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return -1;
    double t = -1;
    HWND wnd = nullptr;
    while (NowMs() - t0 < 20000) {
        if ((wnd = ready(pi.dwProcessId)) != nullptr) {
            t = NowMs() - t0;
            break;
        }
        Sleep(1);
    }
    if (wnd)
        PostMessageW(wnd, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return t;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    if (v.empty())
        return -1;
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void Report(const char* what, const std::vector<double>& v) {
    if (v.empty()) {
        std::printf("%-34s no successful run\n", what);
        return;
    }
    std::printf("%-34s median %8.1f ms  min %8.1f  max %8.1f  (%zu runs)\n", what, Median(v),
                *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()),
                v.size());
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    wchar_t tmp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, tmp);
    const fs::path dir =
        fs::path(tmp) / ("moodpad-startup-bench-" + std::to_string(GetCurrentProcessId()));
    std::error_code ec;
    fs::copy(DistDir(), dir, fs::copy_options::recursive | fs::copy_options::overwrite_existing,
             ec);
    if (ec) {
        std::printf("cannot copy the program folder: %s\n", ec.message().c_str());
        return 1;
    }
    const std::wstring exe = (dir / "Moodpad.exe").wstring();
    const std::wstring empty = ExeDir() + L"\\emptywin.exe";

    std::vector<double> moodpad, baseline;
    for (int i = 0; i < runs; ++i) {
        // The sample settings file each time, so every run reads the same buttons.
        fs::copy_file(fs::path(DistDir()) / "MOODPAD.INI", dir / "MOODPAD.INI",
                      fs::copy_options::overwrite_existing, ec);
        const double t = TimeStart(exe, [](DWORD pid) -> HWND {
            HWND main = FindWindowOf(pid, L"TMainForm");
            return main && IsWindowEnabled(main) && !FindWindowOf(pid, L"TSplashForm") ? main
                                                                                       : nullptr;
        });
        if (t >= 0)
            moodpad.push_back(t - SplashMs);
        const double b = TimeStart(empty, [](DWORD pid) -> HWND {
            HWND w = FindWindowOf(pid, L"EmptyWin");
            return w && IsWindowVisible(w) ? w : nullptr;
        });
        if (b >= 0)
            baseline.push_back(b);
    }
    Report("Moodpad ready, less 1.5 s splash:", moodpad);
    Report("empty window program visible:", baseline);
    if (!moodpad.empty() && !baseline.empty())
        std::printf("%-34s %8.1f ms\n",
                    "Moodpad's own start-up work:", Median(moodpad) - Median(baseline));
    fs::remove_all(dir, ec);
    return 0;
}

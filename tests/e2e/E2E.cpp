#include "e2e/E2E.h"

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

namespace fs = std::filesystem;

namespace e2e {

namespace {

std::wstring EnvVar(const wchar_t* name) {
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0)
        return {};
    std::wstring v(n, L'\0');
    n = GetEnvironmentVariableW(name, v.data(), n);
    v.resize(n);
    return v;
}

} // namespace

TempDir::TempDir() {
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    static unsigned counter = 0;
    for (;;) {
        std::wstring p = std::wstring(base) + L"moodpad-e2e-" +
                         std::to_wstring(GetCurrentProcessId()) + L"-" +
                         std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(p.c_str(), nullptr)) {
            path = p;
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    // Files left read-only by a test would block the removal.
    for (auto it = fs::recursive_directory_iterator(path, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(path, ec);
}

std::wstring ExeDir() {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, buf, DWORD(std::size(buf)));
    std::wstring p(buf, n);
    return p.substr(0, p.find_last_of(L"\\/"));
}

std::wstring DistDir() {
    std::wstring d = EnvVar(L"MOODPAD_DIST_DIR");
    return d.empty() ? ExeDir() + L"\\dist" : d;
}

std::wstring CopyDist(const TempDir& dir) {
    std::error_code ec;
    fs::copy(DistDir(), dir.Path(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    // A settings file shipped as a sample must not leak into a test's prepared state.
    fs::remove(dir / L"MOODPAD.INI", ec);
    return dir / L"Moodpad.exe";
}

void WriteIni(const std::wstring& path, const std::string& text) {
    std::ofstream f(fs::path(path), std::ios::binary | std::ios::trunc);
    f << text;
}

std::string ReadFile(const std::wstring& path, bool* exists) {
    std::ifstream f(fs::path(path), std::ios::binary);
    if (exists)
        *exists = bool(f);
    if (!f)
        return {};
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Process::Process(Process&& o) noexcept
    : handle(std::exchange(o.handle, nullptr)), pid(std::exchange(o.pid, 0)) {}

Process& Process::operator=(Process&& o) noexcept {
    if (this != &o) {
        Terminate();
        if (handle)
            CloseHandle(handle);
        handle = std::exchange(o.handle, nullptr);
        pid = std::exchange(o.pid, 0);
    }
    return *this;
}

Process::~Process() {
    Terminate();
    if (handle)
        CloseHandle(handle);
}

bool Process::Running() const {
    return handle && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
}

bool Process::WaitExit(DWORD timeoutMs) {
    return !handle || WaitForSingleObject(handle, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (handle)
        GetExitCodeProcess(handle, &code);
    return code;
}

void Process::Terminate() {
    if (Running()) {
        TerminateProcess(handle, 1);
        WaitForSingleObject(handle, 5000);
    }
}

Process Start(const std::wstring& exe, const std::wstring& args, const std::wstring& cwd) {
    std::wstring cmd = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        cwd.empty() ? nullptr : cwd.c_str(), &si, &pi))
        return {};
    CloseHandle(pi.hThread);
    return Process(pi.hProcess, pi.dwProcessId);
}

bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (pred())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(10);
    }
}

std::wstring WindowText(HWND wnd) {
    wchar_t buf[1024];
    // WM_GETTEXT reads controls of other processes too, unlike GetWindowText.
    LRESULT n = SendMessageW(wnd, WM_GETTEXT, std::size(buf), LPARAM(buf));
    return std::wstring(buf, size_t(std::max<LRESULT>(n, 0)));
}

std::wstring ClassName(HWND wnd) {
    wchar_t buf[256];
    int n = GetClassNameW(wnd, buf, int(std::size(buf)));
    return std::wstring(buf, size_t(std::max(n, 0)));
}

namespace {

struct TFind {
    const wchar_t* cls;
    const wchar_t* title;
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK FindProc(HWND wnd, LPARAM lp) {
    auto* f = reinterpret_cast<TFind*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (f->pid && pid != f->pid)
        return TRUE;
    if (f->cls && ClassName(wnd) != f->cls)
        return TRUE;
    if (f->title) {
        wchar_t buf[512];
        int n = GetWindowTextW(wnd, buf, int(std::size(buf)));
        if (std::wstring(buf, size_t(std::max(n, 0))) != f->title)
            return TRUE;
    }
    f->found.push_back(wnd);
    return TRUE;
}

std::vector<HWND> FindTopWindows(const wchar_t* cls, const wchar_t* title, DWORD pid) {
    TFind f{cls, title, pid, {}};
    EnumWindows(FindProc, LPARAM(&f));
    return f.found;
}

} // namespace

HWND FindTopWindow(const wchar_t* cls, const wchar_t* title, DWORD pid) {
    auto all = FindTopWindows(cls, title, pid);
    return all.empty() ? nullptr : all.front();
}

HWND WaitWindow(const wchar_t* cls, const wchar_t* title, DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindTopWindow(cls, title, pid)) != nullptr; }, timeoutMs);
    return found;
}

std::vector<HWND> MainWindows() {
    return FindTopWindows(L"TMainForm", L"Moodpad", 0);
}

HWND SplashWindow(DWORD pid) {
    return FindTopWindow(L"TSplashForm", nullptr, pid);
}

bool WaitMainReady(HWND main, DWORD timeoutMs) {
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    return WaitFor([&] { return IsWindowEnabled(main) && !SplashWindow(pid); }, timeoutMs);
}

HWND WaitMainWindow(const Process& p, DWORD timeoutMs) {
    HWND main = WaitWindow(L"TMainForm", L"Moodpad", p.Pid(), timeoutMs);
    if (main && !WaitMainReady(main, timeoutMs))
        return nullptr;
    return main;
}

namespace {

INPUT Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

void Send(std::vector<INPUT>& in) {
    if (!in.empty())
        SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

} // namespace

void SendKeys(const std::vector<WORD>& vks) {
    std::vector<INPUT> in;
    for (WORD vk : vks) {
        in.push_back(Key(vk, false));
        in.push_back(Key(vk, true));
    }
    Send(in);
}

void Chord(const std::vector<WORD>& vks) {
    std::vector<INPUT> in;
    for (WORD vk : vks)
        in.push_back(Key(vk, false));
    for (auto it = vks.rbegin(); it != vks.rend(); ++it)
        in.push_back(Key(*it, true));
    Send(in);
}

void SendText(const std::wstring& text) {
    std::vector<INPUT> in;
    for (wchar_t c : text) {
        for (bool up : {false, true}) {
            INPUT i{};
            i.type = INPUT_KEYBOARD;
            i.ki.wScan = c;
            i.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            in.push_back(i);
        }
    }
    Send(in);
}

void Click(int x, int y) {
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> in(3);
    for (auto& i : in)
        i.type = INPUT_MOUSE;
    // Absolute coordinates are in 1/65536 of the screen; rounding up lands on the pixel itself.
    in[0].mi.dx = LONG((LONGLONG(x) * 65536 + w - 1) / w);
    in[0].mi.dy = LONG((LONGLONG(y) * 65536 + h - 1) / h);
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    Send(in);
}

bool CloseMain(HWND main, Process& p, DWORD timeoutMs) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    return p.WaitExit(timeoutMs);
}

std::vector<HWND> MessageBoxes(DWORD pid, const wchar_t* caption) {
    return FindTopWindows(L"#32770", caption, pid);
}

HWND WaitMessageBox(DWORD pid, DWORD timeoutMs, const wchar_t* caption) {
    HWND box = nullptr;
    WaitFor(
        [&] {
            auto all = MessageBoxes(pid, caption);
            box = all.empty() ? nullptr : all.front();
            return box != nullptr;
        },
        timeoutMs);
    return box;
}

std::wstring MessageBoxText(HWND box) {
    // The message is the static control with the longest text (the icon is a static too).
    std::wstring best;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (_wcsicmp(ClassName(c).c_str(), L"Static") != 0)
            continue;
        std::wstring t = WindowText(c);
        if (t.size() > best.size())
            best = t;
    }
    return best;
}

void PressOk(HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    if (!ok)
        ok = GetDlgItem(box, IDCANCEL);
    if (ok)
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ok), BN_CLICKED), LPARAM(ok));
    else
        PostMessageW(box, WM_CLOSE, 0, 0);
}

} // namespace e2e

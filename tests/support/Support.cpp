#include "support/Support.h"

#include <algorithm>
#include <psapi.h>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace support {

namespace {

void Send(std::vector<INPUT> in) {
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

INPUT Key(WORD vk, bool up) {
    INPUT in{INPUT_KEYBOARD, {}};
    in.ki = {vk, WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), up ? DWORD(KEYEVENTF_KEYUP) : 0, 0, 0};
    return in;
}

INPUT Mouse(POINT p, DWORD flags) {
    const long long w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{INPUT_MOUSE, {}};
    // In 1/65536 of the screen, rounded up, or the pointer lands one pixel short.
    in.mi.dx = LONG((p.x * 65536 + w - 1) / w);
    in.mi.dy = LONG((p.y * 65536 + h - 1) / h);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return in;
}

std::wstring NewTempDir(const std::wstring& parent) {
    static unsigned counter = 0;
    const fs::path p = (parent.empty() ? fs::temp_directory_path() : fs::path(parent)) /
                       (L"moodpad-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++counter));
    fs::remove_all(p);
    fs::create_directories(p);
    return p.wstring();
}

VARIANT Child(long child) {
    VARIANT v{};
    v.vt = VT_I4, v.lVal = child;
    return v;
}

} // namespace

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs, DWORD pollMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (pred())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, pollMs, QS_ALLINPUT);
    }
}

bool Settle(HWND wnd) {
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r) != 0;
}

std::wstring Text(HWND wnd) {
    wchar_t buf[2048] = {};
    DWORD_PTR n = 0;
    // WM_GETTEXT carries the text across processes, unlike GetWindowText.
    if (!SendMessageTimeoutW(wnd, WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf),
                             SMTO_ABORTIFHUNG, 3000, &n))
        return L"<no answer>";
    return std::wstring(buf, std::min<size_t>(n, std::size(buf) - 1));
}

std::string Narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::wstring Widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

RECT WindowRect(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool IsTopmost(HWND wnd) {
    return (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

std::vector<HWND> TopWindows(DWORD pid, const wchar_t* cls, const wchar_t* title, bool visible) {
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, cls, title)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if ((!pid || owner == pid) && (!visible || IsWindowVisible(w)))
            found.push_back(w);
    }
    return found;
}

HWND TopWindow(DWORD pid, const wchar_t* cls, const wchar_t* title, bool visible) {
    const auto found = TopWindows(pid, cls, title, visible);
    return found.empty() ? nullptr : found[0];
}

static GUITHREADINFO GuiInfo(HWND top) {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gti);
    return gti;
}

HWND FocusOf(HWND top) {
    return GuiInfo(top).hwndFocus;
}

HWND CaptureOf(HWND top) {
    return GuiInfo(top).hwndCapture;
}

bool BringToFront(HWND top) {
    return WaitFor(
        [&] { return GetForegroundWindow() == top || (SetForegroundWindow(top), false); });
}

void Chord(const std::vector<WORD>& keys) {
    std::vector<INPUT> in;
    for (WORD k : keys)
        in.push_back(Key(k, false));
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        in.push_back(Key(*it, true));
    Send(in);
}

void SendKey(WORD vk, bool up) {
    Send({Key(vk, up)});
}

void MoveMouse(POINT p) {
    Send({Mouse(p, 0)});
}

void MouseButton(POINT p, bool down) {
    Send({Mouse(p, 0), Mouse(p, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP)});
}

void Click(POINT p) {
    Send({Mouse(p, 0), Mouse(p, MOUSEEVENTF_LEFTDOWN), Mouse(p, MOUSEEVENTF_LEFTUP)});
}

bool ClearClipboard() {
    return WaitFor([] { return OpenClipboard(nullptr) != 0; }, 3000) && EmptyClipboard() &&
           CloseClipboard();
}

std::string ClipboardText() {
    if (!WaitFor([] { return OpenClipboard(nullptr) != 0; }, 3000))
        return "<clipboard busy>";
    std::string s;
    if (HANDLE h = GetClipboardData(CF_TEXT))
        if (const char* p = static_cast<const char*>(GlobalLock(h)))
            s = p, GlobalUnlock(h);
    CloseClipboard();
    return s;
}

TempDir::TempDir(const std::wstring& parent) : path(NewTempDir(parent)) {}

TempDir::~TempDir() {
    std::error_code ec;
    // Files left read-only by a test would block the removal, and the files of a process that has
    // just been ended can stay locked for a moment.
    for (auto it = fs::recursive_directory_iterator(path, ec); !ec && it != decltype(it)();
         it.increment(ec))
        SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    WaitFor([&] { return fs::remove_all(path, ec), !fs::exists(path, ec); }, 2000);
}

std::wstring ExeDir() {
    wchar_t buf[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    return fs::path(std::wstring(buf, n)).parent_path().wstring();
}

std::wstring DistDir() {
    wchar_t buf[MAX_PATH * 4];
    const DWORD n =
        GetEnvironmentVariableW(L"MOODPAD_DIST_DIR", buf, static_cast<DWORD>(std::size(buf)));
    return n > 0 && n < std::size(buf) ? std::wstring(buf, n) : ExeDir() + L"\\dist";
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Process::Start(const std::wstring& exe, const std::wstring& args, const std::wstring& dir) {
    Kill();
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    handle = pi.hProcess;
    pid = pi.dwProcessId;
    return true;
}

void Process::Kill() {
    if (!handle)
        return;
    TerminateProcess(handle, 1);
    WaitForSingleObject(handle, 5000);
    CloseHandle(handle);
    handle = nullptr, pid = 0;
}

// Counts the windows of process `first` into `second`: EnumWindows and EnumChildWindows both.
static BOOL CALLBACK CountWindows(HWND w, LPARAM lp) {
    auto* tally = reinterpret_cast<std::pair<DWORD, long>*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == tally->first) {
        ++tally->second;
        if (GetAncestor(w, GA_PARENT) == GetDesktopWindow())
            EnumChildWindows(w, CountWindows, lp);
    }
    return TRUE;
}

Usage UsageOf(const Process& p) {
    Usage u;
    std::pair<DWORD, long> tally{p.pid, 0};
    EnumWindows(CountWindows, reinterpret_cast<LPARAM>(&tally));
    u.windows = tally.second;
    GetProcessHandleCount(p.handle, &u.handles);
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(p.handle, &pmc, sizeof pmc))
        u.pagefile = pmc.PagefileUsage;
    return u;
}

HWND WaitBox(DWORD pid, DWORD timeoutMs, const std::function<bool()>& giveUp) {
    HWND box = nullptr;
    WaitFor(
        [&] { return (box = TopWindow(pid, L"#32770", nullptr, true)) || (giveUp && giveUp()); },
        timeoutMs);
    return box;
}

// The static controls of a message box: its message and its icon.
static std::vector<HWND> Statics(HWND box) {
    std::vector<HWND> found;
    wchar_t cls[16];
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (GetClassNameW(c, cls, 16) && _wcsicmp(cls, L"Static") == 0)
            found.push_back(c);
    return found;
}

std::wstring MessageBoxText(HWND box) {
    // The message is the static control with the longest text (the icon is a static too).
    std::wstring best;
    for (HWND c : Statics(box))
        if (std::wstring t = Text(c); t.size() > best.size())
            best = t;
    return best;
}

BoxReader::BoxReader()
    : thread([this] {
          // Found by the program's name in its caption, unlike a dialog under test.
          HWND box = nullptr;
          if (WaitFor(
                  [&] {
                      return (box = TopWindow(GetCurrentProcessId(), L"#32770", L"Moodpad", true));
                  },
                  10000)) {
              text = MessageBoxText(box);
              icon = std::ranges::any_of(Statics(box), [](HWND c) {
                  return (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                         SendMessageW(c, STM_GETICON, 0, 0) != 0;
              });
              PressOk(box);
          }
      }) {}

std::vector<Face> NumberedFaces(int n) {
    std::vector<Face> faces;
    for (int i = 0; i < n; ++i) {
        const std::string k = std::to_string(i);
        faces.push_back({"b" + k, i == 0 ? ":-)" : "s" + k, "Hint " + k});
    }
    return faces;
}

std::string Settings::Text() const {
    std::ostringstream s;
    s << "[AutoInsert]\r\nEnabled=" << autoInsert << "\r\nTrackWindows=" << trackWindows
      << "\r\nUseClipboard=" << useClipboard << "\r\nKeyboard=" << keyboard
      << "\r\n[ButtonPath]\r\nValue=faces"
      << "\r\n[Startup]\r\nEnabled=" << startup << "\r\nName=" << startupName
      << "\r\n[Hotkey]\r\nAlt=" << alt << "\r\nCtrl=" << ctrl << "\r\nShift=" << shift
      << "\r\nKey=69\r\n[DragDrop]\r\nEnabled=" << dragDrop << "\r\n[Window]\r\nLeft=" << left
      << "\r\nTop=" << top << "\r\nWidth=" << width << "\r\nHeight=" << height
      << "\r\nCode=" << style << "\r\n[ExtraSpacing]\r\nBefore=1\r\nAfter=1\r\n[Buttons]\r\n";
    for (const Face& f : faces)
        s << f.picture << "=" << f.sequence << " " << f.hint << "\r\n";
    return s.str();
}

Faces::Faces(HWND palette) : com(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    if (palette)
        AccessibleObjectFromWindow(palette, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&acc));
}

Faces::~Faces() {
    if (acc)
        acc->Release();
    if (com)
        CoUninitialize();
}

long Faces::Count() const {
    long n = 0;
    return acc && SUCCEEDED(acc->get_accChildCount(&n)) ? n : 0;
}

std::wstring Faces::String(StringGetter get, long child) const {
    BSTR s = nullptr;
    if (!acc || FAILED((acc->*get)(Child(child), &s)) || !s)
        return L"";
    std::wstring w(s, SysStringLen(s));
    SysFreeString(s);
    return w;
}

long Faces::Long(LongGetter get, long child) const {
    VARIANT v;
    VariantInit(&v);
    return acc && SUCCEEDED((acc->*get)(Child(child), &v)) && v.vt == VT_I4 ? v.lVal : 0;
}

RECT Faces::Location(long child) const {
    long x = 0, y = 0, w = 0, h = 0;
    if (!acc || FAILED(acc->accLocation(&x, &y, &w, &h, Child(child))))
        return {};
    return {x, y, x + w, y + h};
}

long Faces::First(long state, bool has) const {
    for (long k = 1, n = Count(); k <= n; ++k)
        if (((State(k) & state) != 0) == has)
            return k;
    return 0;
}

bool Faces::DoDefaultAction(long child) const {
    return acc && SUCCEEDED(acc->accDoDefaultAction(Child(child)));
}

bool Moodpad::Prepare(const Settings* s) {
    std::error_code ec;
    fs::copy(DistDir(), dir.path,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec || !FileExists(Exe()))
        return false;
    // The sample settings file must not leak into a test's prepared state.
    fs::remove(Ini(), ec);
    if (!s)
        return true;
    // Every face with a picture gets a copy of a shipped one.
    const fs::path folder = fs::path(dir.path) / "faces";
    const fs::path picture = fs::directory_iterator(fs::path(dir.path) / "Faces", ec)->path();
    fs::create_directories(folder, ec);
    for (const Face& f : s->faces)
        if (f.withPicture && !fs::copy_file(picture, folder / (f.picture + ".bmp"), ec))
            return false;
    return WriteFile(Ini(), s->Text());
}

bool Moodpad::WaitReady(DWORD timeoutMs) {
    return WaitFor(
        [&] {
            main = TopWindow(proc.pid, L"TMainForm", L"Moodpad", true);
            return main && IsWindowEnabled(main) && !Splash();
        },
        timeoutMs);
}

std::vector<std::wstring> Moodpad::BoxTexts() const {
    std::vector<std::wstring> texts;
    for (HWND b : TopWindows(proc.pid, L"#32770", nullptr, true))
        texts.push_back(MessageBoxText(b));
    return texts;
}

bool Moodpad::Minimise() {
    PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return WaitFor([&] { return IsIconic(main) != FALSE; });
}

bool Moodpad::Restore() {
    PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    return WaitFor([&] { return !IsIconic(main); }) && Settle(main);
}

bool Target::Start(bool keysOnly) {
    return proc.Start(ExeDir() + L"\\target.exe",
                      L"\"" + (dir / L"target.log") + L"\"" + (keysOnly ? L" keys" : L""),
                      dir.path) &&
           WaitFor([&] {
               return (top = TopWindow(proc.pid, L"MoodpadTarget")) &&
                      (edit = GetWindow(top, GW_CHILD)) != nullptr;
           });
}

std::vector<LogLine> Target::Lines(const std::string& kind) const {
    std::vector<LogLine> out;
    std::istringstream in(ReadFile(dir / L"target.log"));
    for (LogLine l; in >> l.qpc >> l.kind >> l.a >> l.b;)
        if (kind.empty() || l.kind == kind)
            out.push_back(l);
    return out;
}

bool Target::Sync() {
    const unsigned long long n = ++marks;
    PostMessageW(top, kTargetMark, static_cast<WPARAM>(n), 0);
    return WaitFor([&] {
        return std::ranges::any_of(Lines("MARK"), [&](const LogLine& l) { return l.a == n; });
    });
}

} // namespace support

#include "e2e/E2E.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace e2e {

namespace {

void Send(std::vector<INPUT>& in) {
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

std::wstring NewTempDir() {
    static unsigned counter = 0;
    const fs::path p =
        fs::temp_directory_path() / (L"moodpad-e2e-" + std::to_wstring(GetCurrentProcessId()) +
                                     L"-" + std::to_wstring(++counter));
    fs::remove_all(p);
    fs::create_directories(p);
    return p.wstring();
}

VARIANT Child(long child) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = child;
    return v;
}

} // namespace

bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (pred())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 15, QS_ALLINPUT);
    }
}

bool Settle(HWND wnd) {
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r) != 0;
}

std::wstring Text(HWND wnd) {
    wchar_t buf[1024] = {};
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

bool IsAbove(HWND a, HWND b) {
    for (HWND w = GetWindow(a, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == b)
            return true;
    return false;
}

std::vector<HWND> TopWindows(DWORD pid, const wchar_t* cls, const wchar_t* title) {
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, cls, title)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (!pid || owner == pid)
            found.push_back(w);
    }
    return found;
}

HWND FocusOf(HWND top) {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    return GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gti) ? gti.hwndFocus : nullptr;
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

void MoveMouse(POINT p) {
    std::vector<INPUT> in{Mouse(p, 0)};
    Send(in);
}

void Click(POINT p) {
    std::vector<INPUT> in{Mouse(p, 0), Mouse(p, MOUSEEVENTF_LEFTDOWN),
                          Mouse(p, MOUSEEVENTF_LEFTUP)};
    Send(in);
}

bool SetClipboardText(const std::string& s) {
    if (!WaitFor([] { return OpenClipboard(nullptr) != 0; }, 3000))
        return false;
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
    if (mem)
        std::memcpy(GlobalLock(mem), s.c_str(), s.size() + 1), GlobalUnlock(mem);
    const bool ok = mem && SetClipboardData(CF_TEXT, mem);
    if (mem && !ok)
        GlobalFree(mem);
    CloseClipboard();
    return ok;
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

TempDir::TempDir() : path(NewTempDir()) {}

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

std::string ReadFile(const std::wstring& path) {
    std::ostringstream s;
    s << std::ifstream(fs::path(path), std::ios::binary).rdbuf();
    return s.str();
}

bool WriteFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream f(fs::path(path), std::ios::binary | std::ios::trunc);
    return static_cast<bool>(f << bytes);
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
    handle = nullptr;
    pid = 0;
}

std::vector<HWND> MessageBoxes(DWORD pid) {
    std::vector<HWND> boxes = TopWindows(pid, L"#32770");
    std::erase_if(boxes, [](HWND b) { return !IsWindowVisible(b); });
    return boxes;
}

std::wstring MessageBoxText(HWND box) {
    // The message is the static control with the longest text (the icon is a static too).
    std::wstring best;
    wchar_t cls[16];
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (GetClassNameW(c, cls, 16) && _wcsicmp(cls, L"Static") == 0)
            if (std::wstring t = Text(c); t.size() > best.size())
                best = t;
    return best;
}

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
      << "\r\nUseClipboard=" << useClipboard << "\r\n[ButtonPath]\r\nValue=" << folder
      << "\r\n[Startup]\r\nEnabled=" << startup << "\r\nName=" << startupName
      << "\r\n[Hotkey]\r\nAlt=" << alt << "\r\nCtrl=" << ctrl << "\r\nShift=" << shift
      << "\r\nKey=" << key << "\r\n[DragDrop]\r\nEnabled=" << dragDrop << "\r\n[Window]\r\n";
    if (width > 0 && height > 0)
        s << "Left=" << left << "\r\nTop=" << top << "\r\nWidth=" << width
          << "\r\nHeight=" << height << "\r\n";
    s << "Code=" << style << "\r\n[ExtraSpacing]\r\nBefore=" << before << "\r\nAfter=" << after
      << "\r\n[Buttons]\r\n";
    for (const Face& f : faces)
        s << f.picture << "=" << f.sequence << " " << f.hint << "\r\n";
    return s.str();
}

bool WriteBmp(const std::wstring& file) {
    BITMAPINFOHEADER ih{sizeof ih, 32, 32, 1, 24, BI_RGB, 32 * 32 * 3, 0, 0, 0, 0};
    BITMAPFILEHEADER fh{0x4D42, 0, 0, 0, sizeof fh + sizeof ih};
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof fh);
    bytes.append(reinterpret_cast<const char*>(&ih), sizeof ih);
    for (int i = 0; i < 32 * 32; ++i)
        bytes.append("\x00\xE0\xFF", 3);
    return WriteFile(file, bytes);
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

long Faces::Find(const std::wstring& name) const {
    for (long k = 1, n = Count(); k <= n; ++k)
        if (Name(k) == name)
            return k;
    return 0;
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
    const fs::path folder = fs::path(dir.path) / s->folder; // relative to the program, or not
    fs::create_directories(folder, ec);
    for (const Face& f : s->faces)
        if (f.withPicture && !WriteBmp((folder / (f.picture + ".bmp")).wstring()))
            return false;
    return WriteFile(Ini(), s->Text());
}

bool Moodpad::WaitReady(DWORD timeoutMs, bool* boxFirst) {
    bool box = false;
    const bool ok = WaitFor(
        [&] {
            if (boxFirst && !MessageBoxes(proc.pid).empty())
                return box = true;
            auto mains = TopWindows(proc.pid, L"TMainForm", L"Moodpad");
            main = mains.empty() ? nullptr : mains[0];
            return main && IsWindowVisible(main) && IsWindowEnabled(main) && !Splash();
        },
        timeoutMs);
    if (boxFirst)
        *boxFirst = box;
    return ok;
}

HWND Moodpad::Splash() const {
    auto splash = TopWindows(proc.pid, L"TSplashForm");
    return splash.empty() || !IsWindowVisible(splash[0]) ? nullptr : splash[0];
}

std::vector<std::wstring> Moodpad::BoxTexts() const {
    std::vector<std::wstring> texts;
    for (HWND b : MessageBoxes(proc.pid))
        texts.push_back(MessageBoxText(b));
    return texts;
}

HWND Moodpad::WaitBox(DWORD timeoutMs) const {
    HWND box = nullptr;
    WaitFor(
        [&] {
            auto boxes = MessageBoxes(proc.pid);
            box = boxes.empty() ? nullptr : boxes[0];
            return box || !proc.Running();
        },
        timeoutMs);
    return box;
}

bool Moodpad::Minimise() {
    PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return WaitFor([&] { return IsIconic(main) != FALSE; });
}

bool Moodpad::Restore() {
    PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    return WaitFor([&] { return !IsIconic(main); }) && Settle(main);
}

bool Target::Start() {
    return proc.Start(ExeDir() + L"\\target.exe", L"\"" + (dir / L"target.log") + L"\"",
                      dir.path) &&
           WaitFor([&] {
               auto tops = TopWindows(proc.pid, L"MoodpadTarget");
               top = tops.empty() ? nullptr : tops[0];
               return top && (edit = GetWindow(top, GW_CHILD)) != nullptr;
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
        for (const LogLine& l : Lines("MARK"))
            if (l.a == n)
                return true;
        return false;
    });
}

} // namespace e2e

#pragma once
// Driving the real Moodpad.exe and our target program from outside, for the palette end-to-end
// tests and the palette benchmark: temporary program folders with prepared settings, processes
// that are always ended, windows found by class and position, synthesized input, the clipboard,
// and the target's message log. Header-only so that the benchmark can share it; nothing here
// asserts, callers decide.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace pe2e {

namespace fs = std::filesystem;

// Commands understood by tests/helpers/target.cpp.
constexpr UINT kTargetMark = WM_APP + 1;
constexpr UINT kTargetEcho = WM_APP + 2;
constexpr UINT kTargetEchoReply = WM_APP + 3;
constexpr UINT kTargetActivate = WM_APP + 4;
constexpr UINT kSendToHook = WM_USER + 113;

// Polls pred until it holds or the deadline passes; serves this thread's messages meanwhile.
template <class Pred> bool WaitFor(Pred pred, DWORD timeoutMs = 5000) {
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

inline fs::path ExeDir() {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    return fs::path(std::wstring(buf, n)).parent_path();
}

// The folder of the program under test: MOODPAD_DIST_DIR, else "dist" beside this executable.
inline fs::path DistDir() {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = GetEnvironmentVariableW(L"MOODPAD_DIST_DIR", buf, static_cast<DWORD>(std::size(buf)));
    if (n > 0 && n < std::size(buf))
        return fs::path(std::wstring(buf, n));
    return ExeDir() / L"dist";
}

inline fs::path HelperExe(const wchar_t* name) {
    return ExeDir() / (std::wstring(name) + L".exe");
}

class TempDir {
  public:
    TempDir() {
        static int counter = 0;
        wchar_t name[64];
        std::swprintf(name, std::size(name), L"moodpad-pal-%lu-%d-%llu", GetCurrentProcessId(),
                      ++counter, static_cast<unsigned long long>(GetTickCount64()));
        path_ = fs::temp_directory_path() / name;
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        // Files of a process that has just been ended can stay locked for a moment.
        WaitFor([&] { return fs::remove_all(path_, ec), !fs::exists(path_, ec); }, 2000);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// A 32 x 32 24-bit bitmap of one colour.
inline bool WriteBmp(const fs::path& file, COLORREF colour) {
    const int w = 32, h = 32, stride = w * 3;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = stride * h;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::string pixels;
    for (int i = 0; i < w * h; ++i) {
        pixels += static_cast<char>(GetBValue(colour));
        pixels += static_cast<char>(GetGValue(colour));
        pixels += static_cast<char>(GetRValue(colour));
    }
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.write(reinterpret_cast<const char*>(&ih), sizeof ih);
    out << pixels;
    return static_cast<bool>(out);
}

struct ButtonDef {
    std::string picture, sequence, hint;
    bool withPicture = true;
};

// The settings file the tests hand to the program. Placement is explicit so that the tests know
// where the palette is: by default it sits right of the target window and does not overlap it.
struct Settings {
    bool autoInsert = true, trackWindows = false, useClipboard = true;
    int style = 0;
    bool before = true, after = true, dragDrop = false;
    int left = 500, top = 300, width = 407, height = 209;
    std::string faces = "faces";
    std::vector<ButtonDef> buttons;

    std::string Text() const {
        std::ostringstream s;
        s << "[AutoInsert]\r\nEnabled=" << autoInsert << "\r\nTrackWindows=" << trackWindows
          << "\r\nUseClipboard=" << useClipboard << "\r\n[ButtonPath]\r\nValue=" << faces
          << "\r\n[Startup]\r\nEnabled=0\r\nName=\r\n[Hotkey]\r\nAlt=1\r\nCtrl=0\r\nShift=0\r\n"
          << "Key=69\r\n[DragDrop]\r\nEnabled=" << dragDrop << "\r\n[Window]\r\nLeft=" << left
          << "\r\nTop=" << top << "\r\nWidth=" << width << "\r\nHeight=" << height
          << "\r\nCode=" << style << "\r\n[ExtraSpacing]\r\nBefore=" << before
          << "\r\nAfter=" << after << "\r\n[Buttons]\r\n";
        for (const ButtonDef& b : buttons)
            s << b.picture << "=" << b.sequence << "   " << b.hint << "\r\n";
        return s.str();
    }
};

// n buttons named b0, b1, ... with sequences s0, s1, ... and hints "Hint n"; the first is ":-)".
inline std::vector<ButtonDef> NumberedButtons(int n) {
    std::vector<ButtonDef> list;
    for (int i = 0; i < n; ++i) {
        std::string k = std::to_string(i);
        list.push_back({"b" + k, i == 0 ? ":-)" : "s" + k, "Hint " + k, true});
    }
    return list;
}

class Process {
  public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() { Kill(); }

    bool Start(const fs::path& exe, const std::wstring& args, const fs::path& dir) {
        Kill();
        std::wstring cmd = L"\"" + exe.wstring() + L"\" " + args;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            dir.empty() ? nullptr : dir.c_str(), &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        handle_ = pi.hProcess;
        pid_ = pi.dwProcessId;
        return true;
    }
    void Kill() {
        if (!handle_)
            return;
        TerminateProcess(handle_, 1);
        WaitForSingleObject(handle_, 5000);
        CloseHandle(handle_);
        handle_ = nullptr;
        pid_ = 0;
    }
    bool Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }
    DWORD pid() const { return pid_; }
    HANDLE handle() const { return handle_; }

  private:
    HANDLE handle_ = nullptr;
    DWORD pid_ = 0;
};

inline std::wstring ClassOf(HWND h) {
    wchar_t buf[128] = {};
    GetClassNameW(h, buf, static_cast<int>(std::size(buf)));
    return buf;
}

inline bool IsClass(HWND h, const wchar_t* cls) {
    return _wcsicmp(ClassOf(h).c_str(), cls) == 0;
}

// The text of a window of any process (WM_GETTEXT is carried across processes).
inline std::wstring TextOf(HWND h) {
    wchar_t buf[1024] = {};
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf),
                             SMTO_ABORTIFHUNG, 3000, &n))
        return L"<no answer>";
    return std::wstring(buf, std::min<size_t>(n, std::size(buf) - 1));
}

inline std::wstring Widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

// For failure messages: the text with every character above 0x7F shown as '?'.
inline std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w)
        s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
}

struct TopWindowQuery {
    DWORD pid;
    const wchar_t* cls;
    std::vector<HWND> found;
};

inline BOOL CALLBACK CollectTopWindow(HWND h, LPARAM p) {
    auto* q = reinterpret_cast<TopWindowQuery*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == q->pid && IsWindowVisible(h) && IsClass(h, q->cls))
        q->found.push_back(h);
    return TRUE;
}

// The visible top-level windows of a class that belong to a process.
inline std::vector<HWND> TopWindowsOf(DWORD pid, const wchar_t* cls) {
    TopWindowQuery q{pid, cls, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

inline std::vector<HWND> DirectChildren(HWND parent) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        out.push_back(c);
    return out;
}

// The window rectangle of h in the client coordinates of ref.
inline RECT RectIn(HWND h, HWND ref) {
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, ref, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline RECT WindowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

inline int Width(const RECT& r) {
    return r.right - r.left;
}
inline int Height(const RECT& r) {
    return r.bottom - r.top;
}

// The message boxes of a process: their texts, joined from their static controls.
inline std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND c : DirectChildren(box))
        if (IsClass(c, L"Static")) {
            std::wstring t = TextOf(c);
            if (!t.empty())
                text += (text.empty() ? L"" : L" ") + t;
        }
    return text;
}

inline std::vector<HWND> MessageBoxes(DWORD pid) {
    return TopWindowsOf(pid, L"#32770");
}

inline void CloseBox(HWND box) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// --- synthesized input -------------------------------------------------------------------------

inline INPUT MouseInput(int x, int y, DWORD flags) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    // Rounded up, or the pointer lands one pixel short.
    in.mi.dx = static_cast<LONG>((static_cast<long long>(x) * 65536 + w - 1) / w);
    in.mi.dy = static_cast<LONG>((static_cast<long long>(y) * 65536 + h - 1) / h);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return in;
}

inline void MoveMouse(int x, int y) {
    INPUT in = MouseInput(x, y, 0);
    SendInput(1, &in, sizeof in);
}

inline void Click(int x, int y) {
    INPUT in[3] = {MouseInput(x, y, 0), MouseInput(x, y, MOUSEEVENTF_LEFTDOWN),
                   MouseInput(x, y, MOUSEEVENTF_LEFTUP)};
    SendInput(3, in, sizeof in[0]);
}

inline INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

// Modifiers and key down, then all up, in one call so that nothing can come between them.
inline void KeyChord(std::vector<WORD> mods, WORD vk) {
    std::vector<INPUT> in;
    for (WORD m : mods)
        in.push_back(KeyInput(m, false));
    in.push_back(KeyInput(vk, false));
    in.push_back(KeyInput(vk, true));
    for (auto it = mods.rbegin(); it != mods.rend(); ++it)
        in.push_back(KeyInput(*it, true));
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

inline void HotKey() {
    KeyChord({VK_MENU}, 'E');
}

inline POINT Centre(HWND h) {
    RECT r = WindowRect(h);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline bool BringToFront(HWND h) {
    return WaitFor(
        [&] {
            if (GetForegroundWindow() == h)
                return true;
            SetForegroundWindow(h);
            return false;
        },
        5000);
}

inline HWND FocusOf(HWND top) {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gti))
        return nullptr;
    return gti.hwndFocus;
}

inline bool InMenuMode(HWND top) {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    return GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gti) &&
           (gti.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE)) != 0;
}

// Waits until the window's thread has served everything sent before (a sent message is served
// only when the thread reads its queue again).
inline bool Settle(HWND h) {
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r) != 0;
}

// --- clipboard ---------------------------------------------------------------------------------

inline bool SetClipboardText(const std::string& s) {
    if (!WaitFor([] { return OpenClipboard(nullptr) != 0; }, 3000))
        return false;
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
    bool ok = false;
    if (mem) {
        std::memcpy(GlobalLock(mem), s.c_str(), s.size() + 1);
        GlobalUnlock(mem);
        ok = SetClipboardData(CF_TEXT, mem) != nullptr;
        if (!ok)
            GlobalFree(mem);
    }
    CloseClipboard();
    return ok;
}

inline std::string ClipboardText() {
    if (!WaitFor([] { return OpenClipboard(nullptr) != 0; }, 3000))
        return "<clipboard busy>";
    std::string s;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            s = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return s;
}

// --- the program under test --------------------------------------------------------------------

// One Moodpad in a fresh copy of the program folder. Start() copies the folder, writes the
// settings file and the face bitmaps (files named after the picture names of the buttons that
// have a picture), starts the program and waits for its main window.
class Moodpad {
  public:
    TempDir dir;
    Process proc;
    HWND main = nullptr;

    bool Start(const Settings& s) {
        std::error_code ec;
        fs::copy(DistDir(), dir.path(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
        if (ec || !fs::exists(dir.path() / L"Moodpad.exe"))
            return false;
        fs::remove(dir.path() / L"MOODPAD.INI", ec);
        fs::create_directories(dir.path() / s.faces, ec);
        int n = 0;
        for (const ButtonDef& b : s.buttons) {
            ++n;
            if (b.withPicture)
                WriteBmp(dir.path() / s.faces / (b.picture + ".bmp"),
                         RGB(40 * (n % 6), 255 - 20 * (n % 12), 128));
        }
        std::ofstream(dir.path() / L"MOODPAD.INI", std::ios::binary) << s.Text();
        return proc.Start(dir.path() / L"Moodpad.exe", L"", dir.path());
    }

    HWND FindMain() const {
        for (HWND h : TopWindowsOf(proc.pid(), L"TMainForm"))
            if (TextOf(h) == L"Moodpad")
                return h;
        return nullptr;
    }

    // Waits for the main window to be shown and enabled (the splash gone). A message box that
    // comes first is left open and reported through boxFirst.
    bool WaitReady(DWORD timeoutMs = 15000, bool* boxFirst = nullptr) {
        bool box = false;
        bool ok = WaitFor(
            [&] {
                if (boxFirst && !MessageBoxes(proc.pid()).empty())
                    return box = true;
                main = FindMain();
                return main && IsWindowVisible(main) && IsWindowEnabled(main);
            },
            timeoutMs);
        if (boxFirst)
            *boxFirst = box;
        return ok;
    }

    HWND EditAt(int x, int y) const {
        for (HWND c : DirectChildren(main))
            if (IsClass(c, L"Edit")) {
                RECT r = RectIn(c, main);
                if (r.left == x && r.top == y)
                    return c;
            }
        return nullptr;
    }
    HWND SequenceEdit() const { return EditAt(8, 35); }
    HWND HintEdit() const { return EditAt(8, 68); }

    // The palette buttons, in grid order (row by row, left to right).
    std::vector<HWND> Buttons() const {
        HWND box = ScrollBox();
        std::vector<HWND> out;
        if (!box)
            return out;
        for (HWND c : DirectChildren(box))
            if (IsClass(c, L"Button"))
                out.push_back(c);
        std::sort(out.begin(), out.end(), [&](HWND a, HWND b) {
            RECT ra = RectIn(a, box), rb = RectIn(b, box);
            return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
        });
        return out;
    }

    // The panel is the main window's child at (8, 96); the scroll box the panel's child at (2, 2).
    HWND Panel() const {
        for (HWND c : DirectChildren(main)) {
            RECT r = RectIn(c, main);
            if (r.left == 8 && r.top == 96 && !IsClass(c, L"Edit") && !IsClass(c, L"Button"))
                return c;
        }
        return nullptr;
    }
    HWND ScrollBox() const {
        HWND panel = Panel();
        if (!panel)
            return nullptr;
        for (HWND c : DirectChildren(panel)) {
            RECT r = RectIn(c, panel);
            if (r.left == 2 && r.top == 2)
                return c;
        }
        return nullptr;
    }

    std::vector<std::wstring> BoxTexts() const {
        std::vector<std::wstring> out;
        for (HWND b : MessageBoxes(proc.pid()))
            out.push_back(MessageBoxText(b));
        return out;
    }
};

// --- our target program ------------------------------------------------------------------------

struct LogLine {
    long long qpc = 0;
    std::string kind;
    unsigned long long a = 0;
    long long b = 0;
};

class Target {
  public:
    TempDir dir;
    Process proc;
    HWND top = nullptr, edit = nullptr;

    bool Start(int left = 20, int top_ = 20, int width = 400, int height = 240) {
        log_ = dir.path() / L"target.log";
        wchar_t args[64];
        std::swprintf(args, std::size(args), L" %d %d %d %d", left, top_, width, height);
        if (!proc.Start(HelperExe(L"target"), L"\"" + log_.wstring() + L"\"" + args, dir.path()))
            return false;
        return WaitFor([&] {
            auto tops = TopWindowsOf(proc.pid(), L"MoodpadTarget");
            if (tops.empty())
                return false;
            top = tops[0];
            edit = GetWindow(top, GW_CHILD);
            return edit != nullptr;
        });
    }

    std::vector<LogLine> Lines() const {
        std::vector<LogLine> out;
        std::ifstream in(log_);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream s(line);
            LogLine l;
            if (s >> l.qpc >> l.kind >> l.a >> l.b)
                out.push_back(l);
        }
        return out;
    }
    std::vector<LogLine> Lines(const std::string& kind) const {
        std::vector<LogLine> out;
        for (const LogLine& l : Lines())
            if (l.kind == kind)
                out.push_back(l);
        return out;
    }
    size_t Count(const std::string& kind) const { return Lines(kind).size(); }

    // Everything posted to the target before this call has been logged when it returns true.
    bool Sync() {
        const unsigned long long n = ++marks_;
        PostMessageW(top, kTargetMark, static_cast<WPARAM>(n), 0);
        return WaitFor([&] {
            for (const LogLine& l : Lines("MARK"))
                if (l.a == n)
                    return true;
            return false;
        });
    }

    // Brings the target to the front with the keyboard focus in its edit.
    bool Activate() {
        PostMessageW(top, kTargetActivate, 0, 0);
        return BringToFront(top) && WaitFor([&] { return FocusOf(top) == edit; });
    }

  private:
    fs::path log_;
    unsigned long long marks_ = 0;
};

// Codes of the characters logged as CHAR, in order.
inline std::vector<unsigned long long> CharCodes(const Target& t) {
    std::vector<unsigned long long> out;
    for (const LogLine& l : t.Lines("CHAR"))
        out.push_back(l.a);
    return out;
}

} // namespace pe2e

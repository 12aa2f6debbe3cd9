#pragma once
// What the Win32 tests, the end-to-end tests and the benchmarks share: waits, input, windows and
// message boxes of any process, started programs, and drivers for the real program and for our
// target program. Controls are found by their ids, palette faces through the accessibility
// interface (as a screen reader finds them), never by positions copied from the code. Every wait
// polls against a deadline while it serves this thread's messages. Nothing here asserts; callers
// decide.
#include "app/Layout.h"
#include "helpers/Target.h"
#include "support/Files.h"

#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace support {

// Dispatches every message waiting for this thread.
inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

// Polls pred every pollMs until it holds or the time is up, serving this thread's messages.
inline bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs = 5000, DWORD pollMs = 15) {
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

// True once the window's thread has served everything sent to it before; false if it hangs.
inline bool Settle(HWND wnd) {
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r) != 0;
}

// The text of a window of any process; "<no answer>" when it does not answer within 3 s.
inline std::wstring Text(HWND wnd) {
    wchar_t buf[2048] = {};
    DWORD_PTR n = 0;
    // WM_GETTEXT carries the text across processes, unlike GetWindowText.
    if (!SendMessageTimeoutW(wnd, WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf),
                             SMTO_ABORTIFHUNG, 3000, &n))
        return L"<no answer>";
    return std::wstring(buf, std::min<size_t>(n, std::size(buf) - 1));
}

// For failure messages: every character above 0x7F as '?'.
inline std::string Narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

inline std::wstring Widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

inline RECT WindowRect(HWND wnd) {
    RECT r{};
    return GetWindowRect(wnd, &r), r;
}

inline POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline bool IsTopmost(HWND wnd) {
    return (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The top-level windows of the class (and title, unless null) of a process (of any with pid 0),
// or its visible ones; the first of them or null.
inline std::vector<HWND> TopWindows(DWORD pid, const wchar_t* cls, const wchar_t* title = nullptr,
                                    bool visible = false) {
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, cls, title)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if ((!pid || owner == pid) && (!visible || IsWindowVisible(w)))
            found.push_back(w);
    }
    return found;
}

inline HWND TopWindow(DWORD pid, const wchar_t* cls, const wchar_t* title = nullptr,
                      bool visible = false) {
    const auto found = TopWindows(pid, cls, title, visible);
    return found.empty() ? nullptr : found[0];
}

// The window with the keyboard focus (or, given &GUITHREADINFO::hwndCapture, the one that has the
// mouse captured) in the thread of top.
inline HWND FocusOf(HWND top, HWND GUITHREADINFO::*which = &GUITHREADINFO::hwndFocus) {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gti);
    return gti.*which;
}

inline HWND CaptureOf(HWND top) {
    return FocusOf(top, &GUITHREADINFO::hwndCapture);
}

inline bool BringToFront(HWND top) {
    return WaitFor(
        [&] { return GetForegroundWindow() == top || (SetForegroundWindow(top), false); });
}

// Presses the keys in order and releases them in reverse, in one input call.
void Chord(const std::vector<WORD>& keys);
// Moves the focus of dialog d to its control id and presses the key there.
inline void Press(HWND d, int id, WORD key) {
    SendMessageW(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d, id)), TRUE);
    Chord({key});
}

// One key pressed or released.
void SendKey(WORD vk, bool up);
void MoveMouse(POINT p);
void Click(POINT p);
// Moves to p and presses (down) or releases the left button there, in one input call.
void MouseButton(POINT p, bool down);

inline bool ClearClipboard() {
    return WaitFor([] { return OpenClipboard(nullptr) != 0; }, 3000) && EmptyClipboard() &&
           CloseClipboard();
}

std::string ClipboardText();

// The folder of this program, where the helper programs are.
std::wstring ExeDir();
// The program under test: %MOODPAD_DIST_DIR%, else "dist" beside this program.
inline std::wstring DistDir() {
    wchar_t buf[MAX_PATH * 4];
    const DWORD n =
        GetEnvironmentVariableW(L"MOODPAD_DIST_DIR", buf, static_cast<DWORD>(std::size(buf)));
    return n > 0 && n < std::size(buf) ? std::wstring(buf, n) : ExeDir() + L"\\dist";
}

inline bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh folder under %TEMP%, removed with everything in it at scope end.
struct TempDir {
    // A fresh folder in parent instead, unless it is empty.
    explicit TempDir(const std::wstring& parent = L"");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    std::wstring operator/(const std::wstring& name) const { return path + L"\\" + name; }
    const std::wstring path;
};

// A started program, ended at scope end if it still runs.
struct Process {
    ~Process() { Kill(); }
    bool Start(const std::wstring& exe, const std::wstring& args = L"",
               const std::wstring& dir = L"") {
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
    void Kill() {
        if (!handle)
            return;
        TerminateProcess(handle, 1);
        WaitForSingleObject(handle, 5000);
        CloseHandle(handle);
        handle = nullptr, pid = 0;
    }
    bool Running() const { return handle && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT; }
    bool WaitExit(DWORD ms) { return !handle || WaitForSingleObject(handle, ms) == WAIT_OBJECT_0; }
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        return GetExitCodeProcess(handle, &code), code;
    }
    HANDLE handle = nullptr;
    DWORD pid = 0;
};

// What a process holds, to find leaks: its windows (top-level and child; Wine has no count of
// USER and GDI objects), its kernel handles (Wine says 0) and its committed private memory.
struct Usage {
    long windows = 0;
    DWORD handles = 0;
    SIZE_T pagefile = 0;
};
Usage UsageOf(const Process& p);

// The first visible dialog or message box of a process (with the title, unless null) within the
// time, null if none came or giveUp held; a box's message; its OK pressed.
inline HWND WaitBox(DWORD pid, const wchar_t* title = nullptr, DWORD timeoutMs = 10000,
                    const std::function<bool()>& giveUp = {}) {
    HWND box = nullptr;
    WaitFor([&] { return (box = TopWindow(pid, L"#32770", title, true)) || (giveUp && giveUp()); },
            timeoutMs);
    return box;
}

std::wstring MessageBoxText(HWND box);
inline void PressOk(HWND box) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// Reads the next message box of this process captioned "Moodpad" (the general error display) and
// presses its OK, on a thread of its own: the thread that opens the box sits in it until then.
// Join() before reading the fields.
struct BoxReader {
    BoxReader();
    ~BoxReader() { Join(); }
    void Join() {
        if (thread.joinable())
            thread.join();
    }
    bool icon = false;
    std::wstring text; // empty when no box came within 10 s

  private:
    std::thread thread;
};

// One palette face; it has a picture "<picture>.bmp" unless withPicture is false.
struct Face {
    std::string picture, sequence, hint;
    bool withPicture = true;
};
// n faces with pictures b0, b1, ..., sequences ":-)", s1, s2, ... and hints "Hint 0", ...
inline std::vector<Face> NumberedFaces(int n) {
    std::vector<Face> faces;
    for (int i = 0; i < n; ++i) {
        const std::string k = std::to_string(i);
        faces.push_back({"b" + k, i == 0 ? ":-)" : "s" + k, "Hint " + k});
    }
    return faces;
}

// The settings file the tests hand to the program: the faces in the folder "faces", the hot key
// Alt+E, and the window placed right of the target's place. Every member has
// its default, so that a test names only what it changes: Settings{.left = 20, .faces = ...}.
struct Settings {
    bool autoInsert = true, trackWindows = false, useClipboard = true, keyboard = true;
    int style = 0;
    bool dragDrop = false;
    bool startup = false;
    std::string startupName = {};
    int left = 500, top = 300, width = 407, height = 209;
    std::vector<Face> faces = {};
    std::string Text() const;
};

// The faces of a palette window, read through its IAccessible as a screen reader reads them.
// Children are numbered 1..Count() in list order; every reader gives an empty or zero answer when
// the palette does not answer.
class Faces {
  public:
    explicit Faces(HWND palette)
        : com(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        if (palette)
            AccessibleObjectFromWindow(palette, static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&acc));
    }
    ~Faces() {
        if (acc)
            acc->Release();
        if (com)
            CoUninitialize();
    }
    Faces(const Faces&) = delete;
    long Count() const {
        long n = 0;
        return acc && SUCCEEDED(acc->get_accChildCount(&n)) ? n : 0;
    }
    std::wstring Name(long child) const { return String(&IAccessible::get_accName, child); }
    std::wstring Hint(long child) const { return String(&IAccessible::get_accDescription, child); }
    long Role(long child) const { return Long(&IAccessible::get_accRole, child); }
    long State(long child) const { return Long(&IAccessible::get_accState, child); }
    // On the screen.
    RECT Location(long child) const {
        long x = 0, y = 0, w = 0, h = 0;
        if (!acc || FAILED(acc->accLocation(&x, &y, &w, &h, Child(child))))
            return {};
        return {x, y, x + w, y + h};
    }
    // The first child with the state, or without it (has = false), or 0.
    long First(long state, bool has = true) const {
        for (long k = 1, n = Count(); k <= n; ++k)
            if (((State(k) & state) != 0) == has)
                return k;
        return 0;
    }
    bool DoDefaultAction(long child) const {
        return acc && SUCCEEDED(acc->accDoDefaultAction(Child(child)));
    }
    // A left click at the centre of the child's cell.
    void Click(long child) const { support::Click(Centre(Location(child))); }

  private:
    using StringGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
    using LongGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, VARIANT*);
    std::wstring String(StringGetter get, long child) const {
        BSTR s = nullptr;
        if (!acc || FAILED((acc->*get)(Child(child), &s)) || !s)
            return L"";
        std::wstring w(s, SysStringLen(s));
        SysFreeString(s);
        return w;
    }
    long Long(LongGetter get, long child) const {
        VARIANT v;
        VariantInit(&v);
        return acc && SUCCEEDED((acc->*get)(Child(child), &v)) && v.vt == VT_I4 ? v.lVal : 0;
    }
    static VARIANT Child(long child) {
        VARIANT v{};
        v.vt = VT_I4, v.lVal = child;
        return v;
    }
    bool com;
    IAccessible* acc = nullptr;
};

// One Moodpad in a fresh copy of the program's folder.
struct Moodpad {
    // The copy in a fresh folder in parent (empty: under %TEMP%).
    explicit Moodpad(const std::wstring& parent = L"") : dir(parent) {}
    TempDir dir;
    Process proc;
    HWND main = nullptr;

    std::wstring Exe() const { return dir / L"Moodpad.exe"; }
    std::wstring Ini() const { return dir / L"MOODPAD.INI"; }
    // Copies the folder and writes the settings file of s and its face pictures; without s the
    // folder has no settings file.
    bool Prepare(const Settings* s);
    bool Launch() { return proc.Start(Exe(), L"", dir.path); }
    bool Start(const Settings& s) { return Prepare(&s) && Launch(); }
    // Waits for the main window to be shown and enabled with the splash gone.
    bool WaitReady(DWORD timeoutMs = 15000) {
        return WaitFor(
            [&] {
                main = TopWindow(proc.pid, L"TMainForm", L"Moodpad", true);
                return main && IsWindowEnabled(main) && !Splash();
            },
            timeoutMs);
    }
    HWND Splash() const { return TopWindow(proc.pid, L"TSplashForm", nullptr, true); }
    HWND Control(TMainControl c) const { return GetDlgItem(main, MainControlIds[c]); }
    HWND Palette() const { return GetDlgItem(Control(mcPanel), PALETTEID); }
    std::vector<std::wstring> BoxTexts() const {
        std::vector<std::wstring> texts;
        for (HWND b : TopWindows(proc.pid, L"#32770", nullptr, true))
            texts.push_back(MessageBoxText(b));
        return texts;
    }
    // A value in the settings file, "?" when missing.
    std::wstring Stored(const wchar_t* section, const wchar_t* key) const {
        wchar_t v[MAX_PATH] = {};
        GetPrivateProfileStringW(section, key, L"?", v, MAX_PATH, Ini().c_str());
        return v;
    }
    // The program's first message box, once there is one; null when none came in time or the
    // program ended.
    HWND WaitBox(DWORD timeoutMs = 10000) const {
        return support::WaitBox(proc.pid, nullptr, timeoutMs, [&] { return !proc.Running(); });
    }
    // Brings the window to the front, presses the key there and waits for the dialog with the title
    // in front with a keyboard focus; null when it did not come.
    HWND OpenDialog(WORD key, const wchar_t* title) {
        HWND d = nullptr;
        if (BringToFront(main))
            Chord({key}), d = support::WaitBox(proc.pid, title);
        return d && WaitFor([&] { return GetForegroundWindow() == d && FocusOf(d); }) ? d : nullptr;
    }
    // Minimises or restores the window by its system commands and waits until it is so.
    bool Minimise() {
        PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return WaitFor([&] { return IsIconic(main) != FALSE; });
    }
    bool Restore() {
        PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
        return WaitFor([&] { return !IsIconic(main); }) && Settle(main);
    }
    // Presses the chord (by default the tests' hot key) and waits for the window restored in front.
    bool HotKey(const std::vector<WORD>& chord = {VK_MENU, 'E'}, DWORD timeoutMs = 5000) {
        Chord(chord);
        return WaitFor([&] { return !IsIconic(main) && GetForegroundWindow() == main; }, timeoutMs);
    }
    // Sends WM_CLOSE and waits for the process to end.
    bool Close(DWORD timeoutMs = 10000) {
        PostMessageW(main, WM_CLOSE, 0, 0);
        return proc.WaitExit(timeoutMs);
    }
};

struct LogLine {
    long long qpc = 0;
    std::string kind;
    unsigned long long a = 0;
    long long b = 0;
};

// Our target program (tests/helpers/target.cpp) at (20, 20), 400 x 240, and its message log.
struct Target {
    TempDir dir;
    Process proc;
    HWND top = nullptr, edit = nullptr;

    // keysOnly: the edit takes keyboard input only (target.cpp).
    bool Start(bool keysOnly = false) {
        return proc.Start(ExeDir() + L"\\target.exe",
                          L"\"" + (dir / L"target.log") + L"\"" + (keysOnly ? L" keys" : L""),
                          dir.path) &&
               WaitFor([&] {
                   return (top = TopWindow(proc.pid, L"MoodpadTarget")) &&
                          (edit = GetWindow(top, GW_CHILD)) != nullptr;
               });
    }
    // Notepad (exe) in its place instead, in front with the keyboard focus in its edit; beside the
    // palette, for on Wine's null driver activation does not raise a window, so an overlapping
    // notepad would keep covering the palette after the hot key.
    bool StartNotepad(const std::wstring& exe) {
        if (!proc.Start(exe) || !WaitFor([&] {
                return (top = TopWindow(proc.pid, L"Notepad")) &&
                       (edit = FindWindowExW(top, nullptr, L"Edit", nullptr));
            }))
            return false;
        MoveWindow(top, 20, 20, 400, 240, TRUE);
        return BringToFront(top) && WaitFor([&] { return FocusOf(top) == edit; });
    }
    // The logged lines, all or of one kind.
    std::vector<LogLine> Lines(const std::string& kind = "") const;
    size_t Count(const std::string& kind) const { return Lines(kind).size(); }
    // True once everything posted to the target before this call has been logged.
    bool Sync() {
        const unsigned long long n = ++marks;
        PostMessageW(top, kTargetMark, static_cast<WPARAM>(n), 0);
        return WaitFor([&] {
            return std::ranges::any_of(Lines("MARK"), [&](const LogLine& l) { return l.a == n; });
        });
    }
    // Brings the target to the front with the keyboard focus in its edit. Sent, not posted: a
    // request still queued would take the foreground back from whatever the test brings next.
    bool Activate() {
        SendMessageTimeoutW(top, kTargetActivate, 0, 0, SMTO_NORMAL, 5000, nullptr);
        return BringToFront(top) && WaitFor([&] { return FocusOf(top) == edit; });
    }
    std::wstring EditText() const { return Text(edit); }

  private:
    unsigned long long marks = 0;
};

} // namespace support

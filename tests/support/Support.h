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

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace support {

// Dispatches every message waiting for this thread.
void Pump();
// Polls pred every pollMs until it holds or the time is up, serving this thread's messages.
bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs = 5000, DWORD pollMs = 15);
// True once the window's thread has served everything sent to it before; false if it hangs.
bool Settle(HWND wnd);
// The text of a window of any process; "<no answer>" when it does not answer within 3 s.
std::wstring Text(HWND wnd);
// For failure messages: every character above 0x7F as '?'.
std::string Narrow(const std::wstring& s);
std::wstring Widen(const std::string& s);
RECT WindowRect(HWND wnd);
POINT Centre(const RECT& r);
bool IsTopmost(HWND wnd);
// The top-level windows of the class (and title, unless null) of a process (of any with pid 0),
// or its visible ones; the first of them or null.
std::vector<HWND> TopWindows(DWORD pid, const wchar_t* cls, const wchar_t* title = nullptr,
                             bool visible = false);
HWND TopWindow(DWORD pid, const wchar_t* cls, const wchar_t* title = nullptr, bool visible = false);
// The window with the keyboard focus in the thread of top.
HWND FocusOf(HWND top);
// The window that has the mouse captured in the thread of top.
HWND CaptureOf(HWND top);
bool BringToFront(HWND top);

// Presses the keys in order and releases them in reverse, in one input call.
void Chord(const std::vector<WORD>& keys);
// One key pressed or released.
void SendKey(WORD vk, bool up);
void MoveMouse(POINT p);
void Click(POINT p);
// Moves to p and presses (down) or releases the left button there, in one input call.
void MouseButton(POINT p, bool down);

bool ClearClipboard();
std::string ClipboardText();

// The folder of this program, where the helper programs are.
std::wstring ExeDir();
// The program under test: %MOODPAD_DIST_DIR%, else "dist" beside this program.
std::wstring DistDir();
bool FileExists(const std::wstring& path);

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
               const std::wstring& dir = L"");
    void Kill();
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

// The first visible message box of a process within the time, null if none came or giveUp held;
// a box's message; its OK pressed.
HWND WaitBox(DWORD pid, DWORD timeoutMs = 10000, const std::function<bool()>& giveUp = {});
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
std::vector<Face> NumberedFaces(int n);

// The settings file the tests hand to the program: the faces in the folder "faces", the hot key
// E with the modifiers given, and the window placed right of the target's place. Every member has
// its default, so that a test names only what it changes: Settings{.left = 20, .faces = ...}.
struct Settings {
    bool autoInsert = true, trackWindows = false, useClipboard = true, keyboard = true;
    int style = 0;
    bool dragDrop = false;
    bool alt = true, ctrl = false, shift = false;
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
    explicit Faces(HWND palette);
    ~Faces();
    Faces(const Faces&) = delete;
    long Count() const;
    std::wstring Name(long child) const { return String(&IAccessible::get_accName, child); }
    std::wstring Hint(long child) const { return String(&IAccessible::get_accDescription, child); }
    long Role(long child) const { return Long(&IAccessible::get_accRole, child); }
    long State(long child) const { return Long(&IAccessible::get_accState, child); }
    RECT Location(long child) const; // on the screen
    // The first child with the state, or without it (has = false), or 0.
    long First(long state, bool has = true) const;
    bool DoDefaultAction(long child) const;
    // A left click at the centre of the child's cell.
    void Click(long child) const { support::Click(Centre(Location(child))); }

  private:
    using StringGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
    using LongGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, VARIANT*);
    std::wstring String(StringGetter get, long child) const;
    long Long(LongGetter get, long child) const;
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
    bool WaitReady(DWORD timeoutMs = 15000);
    HWND Splash() const { return TopWindow(proc.pid, L"TSplashForm", nullptr, true); }
    HWND Control(TMainControl c) const { return GetDlgItem(main, MainControlIds[c]); }
    HWND Palette() const { return GetDlgItem(Control(mcPanel), PALETTEID); }
    std::vector<std::wstring> BoxTexts() const;
    // The program's first message box, once there is one; null when none came in time or the
    // program ended.
    HWND WaitBox(DWORD timeoutMs = 10000) const {
        return support::WaitBox(proc.pid, timeoutMs, [&] { return !proc.Running(); });
    }
    // Minimises or restores the window by its system commands and waits until it is so.
    bool Minimise();
    bool Restore();
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
    bool Start(bool keysOnly = false);
    // The logged lines, all or of one kind.
    std::vector<LogLine> Lines(const std::string& kind = "") const;
    size_t Count(const std::string& kind) const { return Lines(kind).size(); }
    // True once everything posted to the target before this call has been logged.
    bool Sync();
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

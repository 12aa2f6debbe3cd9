#pragma once
// The end-to-end driver: runs the real program in a fresh copy of its folder and acts on it as a
// user would. Every wait polls against a deadline.
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

namespace e2e {

// A fresh folder under %TEMP%, removed with everything in it at scope end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& Path() const { return path; }
    // path\name
    std::wstring operator/(const std::wstring& name) const { return path + L"\\" + name; }

  private:
    std::wstring path;
};

// The folder of the program under test: %MOODPAD_DIST_DIR%, else "<folder of this exe>\dist".
std::wstring DistDir();
// Copies the program's folder into dir; returns the path of Moodpad.exe there.
std::wstring CopyDist(const TempDir& dir);
// The folder of the running test program (where the helper programs are).
std::wstring ExeDir();

void WriteIni(const std::wstring& path, const std::string& text);
// The whole file; empty when it cannot be read. exists reports whether it could.
std::string ReadFile(const std::wstring& path, bool* exists = nullptr);
bool FileExists(const std::wstring& path);

// A started program; terminated at scope end if it is still running.
class Process {
  public:
    Process() = default;
    Process(HANDLE process, DWORD pid) : handle(process), pid(pid) {}
    Process(Process&& o) noexcept;
    Process& operator=(Process&& o) noexcept;
    ~Process();
    DWORD Pid() const { return pid; }
    HANDLE Handle() const { return handle; }
    bool Running() const;
    // Waits for the end; false on timeout.
    bool WaitExit(DWORD timeoutMs);
    DWORD ExitCode() const;
    void Terminate();

  private:
    HANDLE handle = nullptr;
    DWORD pid = 0;
};

Process Start(const std::wstring& exe, const std::wstring& args = L"",
              const std::wstring& cwd = L"");

// Polls pred every few milliseconds until it holds or the time is up.
bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs);
// A visible or hidden top-level window of the class and title, owned by pid (0 = any process).
HWND FindTopWindow(const wchar_t* cls, const wchar_t* title, DWORD pid);
HWND WaitWindow(const wchar_t* cls, const wchar_t* title, DWORD pid, DWORD timeoutMs);
// The main window of the program started as p, once the splash has gone and it is enabled.
HWND WaitMainWindow(const Process& p, DWORD timeoutMs = 15000);
bool WaitMainReady(HWND main, DWORD timeoutMs = 15000);
// The splash window of the process, or nullptr.
HWND SplashWindow(DWORD pid);
// Every top-level window of the class "TMainForm" titled "Moodpad".
std::vector<HWND> MainWindows();

// Types the keys (virtual-key codes, each pressed and released) in one input call.
void SendKeys(const std::vector<WORD>& vks);
// Presses the keys in order and releases them in reverse, in one input call.
void Chord(const std::vector<WORD>& vks);
void SendText(const std::wstring& text);
// A left click at a screen position.
void Click(int x, int y);

// Sends WM_CLOSE and waits for the process to end.
bool CloseMain(HWND main, Process& p, DWORD timeoutMs = 10000);

// Message boxes (dialog class #32770) of the process with the caption.
std::vector<HWND> MessageBoxes(DWORD pid, const wchar_t* caption = L"Moodpad");
HWND WaitMessageBox(DWORD pid, DWORD timeoutMs, const wchar_t* caption = L"Moodpad");
// The message text of a message box.
std::wstring MessageBoxText(HWND box);
// Presses the box's OK (or only) button.
void PressOk(HWND box);

std::wstring WindowText(HWND wnd);
std::wstring ClassName(HWND wnd);

} // namespace e2e

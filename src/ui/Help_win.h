#pragma once
// Opening the program's help at its contents page. Every Help button and F1 goes through
// ShowHelpContents; the rest is exposed so tests can see which file and which engine are used.
// Call from the GUI thread: the HTML Help viewer runs on the caller's thread and belongs to the
// owner window, so it closes together with the dialog or window that opened it.
#include <string>
#include <windows.h>

namespace help {

// The context number of the contents page in both help formats.
constexpr DWORD kContentsContext = 1;

enum class THelpKind {
    hkNone,     // no help file beside the program
    hkWinHelp,  // "<program>.hlp": the old help engine
    hkHtmlHelp, // "<program>.chm": the HTML Help engine
};

struct THelpFile {
    THelpKind kind = THelpKind::hkNone;
    std::wstring path;
};

// How a request was served, for tests; the program itself ignores it.
enum class THelpResult {
    hrNothing,     // no help file, or every way of opening it failed
    hrWinHelp,     // WinHelp accepted the request
    hrHtmlContext, // the HTML Help engine opened the contents by context number
    hrHtmlTopic,   // the engine opened the file's default topic
    hrShellOpen,   // no engine: the file was handed to its registered viewer
};

// The program's path without its extension: "C:\TOOLS\PAD.EXE" gives "C:\TOOLS\PAD". A dot in a
// folder name is not an extension.
std::wstring StripExtension(const std::wstring& path);

// Which help file serves a program at exePath: the ".hlp" beside it when it exists (so old help
// keeps working), else the ".chm" when it exists, else none.
THelpFile FindHelpFile(const std::wstring& exePath);

// The full path of the running program ("" when it cannot be read).
std::wstring ProgramPath();

// Opens the contents of the help that serves a program at exePath. Never throws.
THelpResult ShowHelpFor(HWND owner, const std::wstring& exePath) noexcept;

// Closes every HTML Help window this process opened; harmless when none is open.
void CloseAllHelp() noexcept;

} // namespace help

// Opens a file or program as the shell's "open" does, with no command interpreter in between.
// The shell's library is loaded on first use: most runs never need it. True when it started.
bool ShellOpen(HWND owner, const std::wstring& path) noexcept;

// Shows the contents page of the program's help file, owned by owner. Failures are silent.
void ShowHelpContents(HWND owner) noexcept;

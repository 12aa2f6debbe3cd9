#include "ui/Help_win.h"

#include <htmlhelp.h>

namespace help {
namespace {

using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The HTML Help engine is optional on a system, so it is bound at run time rather than at load.
// Once loaded it stays loaded: its help windows run code from it until the process ends.
HtmlHelpFn g_engine = nullptr;
bool g_engineTried = false;

bool IsFile(const std::wstring& path) {
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

// Loads the engine from the system folder only, so that a planted hhctrl.ocx beside the program
// or in the current folder is never picked up.
HtmlHelpFn HtmlHelpEngine() {
    if (g_engineTried)
        return g_engine;
    g_engineTried = true;
    wchar_t sys[MAX_PATH];
    const UINT n = GetSystemDirectoryW(sys, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return nullptr;
    const std::wstring dll = std::wstring(sys, n) + L"\\hhctrl.ocx";
    HMODULE module = LoadLibraryW(dll.c_str());
    if (!module)
        return nullptr;
    FARPROC proc = GetProcAddress(module, "HtmlHelpW");
    if (!proc) {
        FreeLibrary(module);
        return nullptr;
    }
    g_engine = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(proc));
    return g_engine;
}

THelpResult OpenHtmlHelp(HWND owner, const std::wstring& chm) {
    if (HtmlHelpFn engine = HtmlHelpEngine()) {
        if (engine(owner, chm.c_str(), HH_HELP_CONTEXT, kContentsContext))
            return THelpResult::hrHtmlContext;
        // A file without a context map still has a default topic, which is the contents page.
        if (engine(owner, chm.c_str(), HH_DISPLAY_TOPIC, 0))
            return THelpResult::hrHtmlTopic;
        return THelpResult::hrNothing;
    }
    return ShellOpen(owner, chm) ? THelpResult::hrShellOpen : THelpResult::hrNothing;
}

} // namespace

std::wstring StripExtension(const std::wstring& path) {
    const size_t nameStart = path.find_last_of(L"\\/:");
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (nameStart != std::wstring::npos && dot < nameStart))
        return path;
    return path.substr(0, dot);
}

THelpFile FindHelpFile(const std::wstring& exePath) {
    if (exePath.empty())
        return {};
    const std::wstring base = StripExtension(exePath);
    if (IsFile(base + L".hlp"))
        return {THelpKind::hkWinHelp, base + L".hlp"};
    if (IsFile(base + L".chm"))
        return {THelpKind::hkHtmlHelp, base + L".chm"};
    return {};
}

std::wstring ProgramPath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return {};
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        if (buf.size() >= 32768)
            return {};
        buf.resize(buf.size() * 2);
    }
}

THelpResult ShowHelpFor(HWND owner, const std::wstring& exePath) noexcept {
    try {
        const THelpFile file = FindHelpFile(exePath);
        switch (file.kind) {
        case THelpKind::hkWinHelp:
            return WinHelpW(owner, file.path.c_str(), HELP_CONTEXT, kContentsContext)
                       ? THelpResult::hrWinHelp
                       : THelpResult::hrNothing;
        case THelpKind::hkHtmlHelp:
            return OpenHtmlHelp(owner, file.path);
        case THelpKind::hkNone:
            break;
        }
    } catch (...) {
        // Help is a convenience: a failure to open it must never disturb the caller.
    }
    return THelpResult::hrNothing;
}

void CloseAllHelp() noexcept {
    if (g_engine)
        g_engine(nullptr, nullptr, HH_CLOSE_ALL, 0);
}

} // namespace help

void ShowHelpContents(HWND owner) noexcept {
    try {
        help::ShowHelpFor(owner, help::ProgramPath());
    } catch (...) {
    }
}

bool ShellOpen(HWND owner, const std::wstring& path) noexcept {
    using TShellExecute = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static const auto shellExecute = [] {
        HMODULE shell = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return shell ? reinterpret_cast<TShellExecute>(
                           reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteW")))
                     : nullptr;
    }();
    return shellExecute && reinterpret_cast<INT_PTR>(shellExecute(
                               owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

#include "ui/Window_win.h"

#include <algorithm>

#include <exception>
#include <new>

namespace ui {

namespace {

UINT textCodePage = CP_ACP;

std::string NarrowTo(UINT codePage, const std::wstring& w) {
    if (w.empty())
        return {};
    int n = WideCharToMultiByte(codePage, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(codePage, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

} // namespace

void SetUtf8Text(bool utf8) noexcept {
    textCodePage = utf8 ? CP_UTF8 : CP_ACP;
}

bool Utf8Text() noexcept {
    return textCodePage == CP_UTF8;
}

bool IsOwnWindow(HWND wnd) noexcept {
    DWORD pid = 0;
    return GetWindowThreadProcessId(wnd, &pid) && pid == GetCurrentProcessId();
}

bool IsHelpKey(WPARAM key) noexcept {
    return key == VK_F1 &&
           (GetKeyState(VK_SHIFT) | GetKeyState(VK_CONTROL) | GetKeyState(VK_MENU)) >= 0;
}

std::wstring Widen(const std::string& s) {
    if (s.empty())
        return {};
    // No MB_ERR_INVALID_CHARS: an invalid byte becomes U+FFFD instead of failing the whole text.
    int n = MultiByteToWideChar(textCodePage, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n), L'\0');
    MultiByteToWideChar(textCodePage, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

std::string Narrow(const std::wstring& w) {
    return NarrowTo(textCodePage, w);
}

std::string AnsiText(const std::wstring& w) {
    return NarrowTo(CP_ACP, w);
}

std::wstring WindowText(HWND wnd) {
    std::wstring text(std::size_t(GetWindowTextLengthW(wnd)) + 1, L'\0');
    text.resize(std::size_t(std::max(0, GetWindowTextW(wnd, text.data(), int(text.size())))));
    return text;
}

static std::wstring ProgramFileNameW() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
        if (n == 0)
            return {};
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

std::string ProgramFileName() {
    return Narrow(ProgramFileNameW());
}

std::string ProgramFileNameUtf8() {
    return NarrowTo(CP_UTF8, ProgramFileNameW());
}

void ShowAppError(HWND owner, const char* message) noexcept {
    // Room for the message, the full stop and the terminator. Each byte of the ANSI code page
    // gives at most one UTF-16 unit, so a cut input always fits.
    constexpr int Room = 1024;
    wchar_t text[Room];
    int n = 0;
    if (message && *message) {
        const int len = lstrlenA(message);
        n = MultiByteToWideChar(CP_ACP, 0, message, len < Room - 2 ? len : Room - 2, text,
                                Room - 2);
    }
    if (n == 0 || text[n - 1] != L'.')
        text[n++] = L'.';
    text[n] = L'\0';
    MessageBoxW(owner, text, L"Moodpad", MB_OK | MB_ICONSTOP);
}

void ShowAppError(HWND owner, const std::string& message) noexcept {
    ShowAppError(owner, message.c_str());
}

void ShowCurrentError(HWND owner) noexcept {
    if (!std::current_exception()) {
        ShowAppError(owner, "Unexpected error");
        return;
    }
    try {
        throw;
    } catch (const std::bad_alloc&) {
        ShowAppError(owner, "Out of Memory");
    } catch (const std::exception& e) {
        ShowAppError(owner, e.what());
    } catch (...) {
        ShowAppError(owner, "Unexpected error");
    }
}

void SetWindowZOrder(HWND wnd, HWND insertAfter) noexcept {
    SetWindowPos(wnd, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

TWindowList OwnedTopmostPopups(HWND owner) noexcept {
    return ThreadWindows(GetCurrentThreadId(), [owner](HWND wnd) noexcept {
        return GetWindow(wnd, GW_OWNER) == owner &&
               (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    });
}

TWindow::~TWindow() {
    DestroyHandle();
}

TWindow* TWindow::FromHandle(HWND wnd) {
    if (!wnd)
        return nullptr;
    auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC));
    if (proc != &TWindow::Thunk)
        return nullptr;
    return reinterpret_cast<TWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
}

LRESULT TWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Default(msg, wParam, lParam);
}

LRESULT TWindow::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void TWindow::RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background,
                                  HICON icon) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(inst, className, &existing))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &TWindow::Thunk;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc))
        throw TAppError("Window class registration failed");
}

HWND TWindow::CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                           DWORD style, int x, int y, int width, int height, HWND parent,
                           HMENU menu) {
    HWND wnd = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu,
                               GetModuleHandleW(nullptr), this);
    if (!wnd)
        throw TAppError("Window creation failed");
    return wnd;
}

void TWindow::DestroyHandle() {
    if (hwnd && IsWindow(hwnd))
        DestroyWindow(hwnd);
}

LRESULT CALLBACK TWindow::Thunk(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) {
            self->hwnd = wnd;
            SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    if (!self)
        return DefWindowProcW(wnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        LRESULT r = 0;
        try {
            r = self->WndProc(msg, wParam, lParam);
        } catch (...) {
        }
        self->hwnd = nullptr;
        return r;
    }
    try {
        return self->WndProc(msg, wParam, lParam);
    } catch (...) {
        ShowCurrentError(wnd);
    }
    return 0;
}

} // namespace ui

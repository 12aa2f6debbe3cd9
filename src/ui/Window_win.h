#pragma once
// The window base of the wrapper layer: one static thunk routes every message of a window to the
// virtual WndProc of the C++ object that owns it. The object pointer is stored at WM_NCCREATE and
// cleared at WM_NCDESTROY; messages before it is set go to DefWindowProc. No C++ exception ever
// leaves the thunk: it is caught there and shown with the general error display.
#include "ui/AppError.h"

#include <cstddef>
#include <string>
#include <type_traits>
#include <windows.h>

// The program's title: the main window's caption and the caption of every message box it shows.
constexpr const char* MainWindowTitle = "Moodpad";

namespace ui {

// The application's general error display: "<message>." in a stop box captioned "Moodpad". It
// works in a fixed buffer and allocates nothing, so it also works when memory has run out; a
// message longer than the buffer is cut.
void ShowAppError(HWND owner, const char* message) noexcept;
void ShowAppError(HWND owner, const std::string& message) noexcept;
// Shows the exception being handled with the general error display: std::bad_alloc as "Out of
// Memory", other std::exceptions by their what(), anything else as "Unexpected error". Every Win32
// callback boundary ends in `catch (...) { ShowCurrentError(owner); }`; called outside a catch
// block it shows "Unexpected error".
void ShowCurrentError(HWND owner) noexcept;

// Moves a window in the z-order at its own position and size; as no flags are given, this also
// activates it.
void SetWindowZOrder(HWND wnd, HWND insertAfter) noexcept;

// A list of windows of fixed capacity, filled by enumeration callbacks that must not allocate.
class TWindowList {
  public:
    static constexpr std::size_t Capacity = 64;
    // Adds a window; false when the list is full.
    bool Add(HWND wnd) noexcept {
        if (count == Capacity)
            return false;
        items[count++] = wnd;
        return true;
    }
    const HWND* begin() const noexcept { return items; }
    const HWND* end() const noexcept { return items + count; }
    std::size_t size() const noexcept { return count; }
    bool empty() const noexcept { return count == 0; }

  private:
    HWND items[Capacity] = {};
    std::size_t count = 0;
};

// The top-level windows of a thread for which keep(wnd) answers true, in z-order, at most
// TWindowList::Capacity of them. keep must be noexcept: it runs inside EnumThreadWindows.
template <class Keep> TWindowList ThreadWindows(DWORD threadId, Keep keep) noexcept {
    static_assert(std::is_nothrow_invocable_r_v<bool, Keep&, HWND>, "keep must be noexcept");
    struct TSearch {
        Keep& keep;
        TWindowList found;
        static BOOL CALLBACK Visit(HWND wnd, LPARAM lp) noexcept {
            auto* s = reinterpret_cast<TSearch*>(lp);
            return !s->keep(wnd) || s->found.Add(wnd);
        }
    } search{keep, {}};
    EnumThreadWindows(threadId, &TSearch::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The topmost popups of the calling thread that `owner` owns (tooltips, for instance).
TWindowList OwnedTopmostPopups(HWND owner) noexcept;

// The code page of the program's strings: UTF-8 when the settings file is Unicode (it starts with
// a byte-order mark), else the system's ANSI code page, in which an 8-bit file is read. Set once
// the settings file has been read; every text and path that reaches a Win32 call passes Widen.
void SetUtf8Text(bool utf8) noexcept;
bool Utf8Text() noexcept;
// Converts between the program's strings and the wide strings of the Win32 API. Bytes that are not
// valid in the code page become replacement characters; the rest of the text stays.
std::wstring Widen(const std::string& s);
std::string Narrow(const std::wstring& s);
// The text in the system's ANSI code page, for the receivers of 8-bit text (CF_TEXT, ANSI windows);
// characters it lacks become its default character.
std::string AnsiText(const std::wstring& s);
// A window's whole text.
std::wstring WindowText(HWND wnd);

// The help key: F1 pressed without Shift, Ctrl or Alt.
bool IsHelpKey(WPARAM key) noexcept;
// True for a window of this process (the palette, a message box, the splash).
bool IsOwnWindow(HWND wnd) noexcept;

// The running program's full path in the program's code page (see SetUtf8Text), however long.
std::string ProgramFileName();
// The same in UTF-8, which spells any folder's name: the settings file is found by it.
std::string ProgramFileNameUtf8();

class TWindow {
  public:
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;
    virtual ~TWindow();

    HWND Handle() const { return hwnd; }

    // The object that owns a window made through CreateHandle, or nullptr.
    static TWindow* FromHandle(HWND wnd);

  protected:
    TWindow() = default;

    // Handles one message; the default passes it to DefWindowProc.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

    // Registers a window class served by this layer's thunk (once per class name).
    static void RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background,
                                    HICON icon = nullptr);
    // Creates the window of a class registered with RegisterWindowClass, bound to this object.
    HWND CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                      int x, int y, int width, int height, HWND parent = nullptr,
                      HMENU menu = nullptr);
    // Destroys the window if it still exists.
    void DestroyHandle();

  private:
    static LRESULT CALLBACK Thunk(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd = nullptr;
};

} // namespace ui

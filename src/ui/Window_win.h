#pragma once
// The window base of the wrapper layer: one static thunk routes every message of a window to the
// virtual WndProc of the C++ object that owns it. The object pointer is stored at WM_NCCREATE and
// cleared at WM_NCDESTROY; messages before it is set go to DefWindowProc. No C++ exception ever
// leaves the thunk: it is caught there and shown with the general error display.
#include "ui/AppError.h"

#include <string>
#include <windows.h>

namespace ui {

// The application's general error display: "<message>." in a stop box captioned "Moodpad".
void ShowAppError(HWND owner, const std::string& message);
// Shows the exception being handled with the general error display. Call it only from inside a
// catch block: every Win32 callback boundary ends in `catch (...) { ShowCurrentError(owner); }`.
void ShowCurrentError(HWND owner);

// Converts between the program's 8-bit strings (the system's ANSI code page, as in the settings
// file) and the wide strings of the Win32 API.
std::wstring Widen(const std::string& s);
std::string Narrow(const std::wstring& s);

// Moves a window in the z-order at its own position and size; as no flags are given, this also
// activates it.
void SetWindowZOrder(HWND wnd, HWND insertAfter);

// The running program's full path in the ANSI code page, however long it is.
std::string ProgramFileName();

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

#pragma once
// Move-only owners of Win32 handles. Each owner closes its handle exactly once with the function
// that matches how it was obtained; copying is not possible, moving hands the handle over.
#include <utility>
#include <windows.h>

namespace ui {

template <typename T, auto Close, T Invalid = T{}> class TUnique {
  public:
    TUnique() = default;
    explicit TUnique(T h) : h(h) {}
    TUnique(const TUnique&) = delete;
    TUnique& operator=(const TUnique&) = delete;
    TUnique(TUnique&& o) noexcept : h(o.Release()) {}
    TUnique& operator=(TUnique&& o) noexcept {
        if (this != &o)
            Reset(o.Release());
        return *this;
    }
    ~TUnique() { Reset(); }

    T Get() const { return h; }
    explicit operator bool() const { return h != Invalid; }
    // Gives up ownership without closing.
    T Release() { return std::exchange(h, Invalid); }
    void Reset(T nh = Invalid) {
        T old = std::exchange(h, nh);
        if (old != Invalid)
            Close(old);
    }

  private:
    T h = Invalid;
};

namespace detail {
inline void CloseHandle(HANDLE h) {
    ::CloseHandle(h);
}
inline void GlobalFree(HGLOBAL h) {
    ::GlobalFree(h);
}
inline void DeleteBitmap(HBITMAP h) {
    ::DeleteObject(h);
}
inline void DeleteFont(HFONT h) {
    ::DeleteObject(h);
}
inline void DeleteDC(HDC h) {
    ::DeleteDC(h);
}
inline void DestroyWindow(HWND h) {
    if (::IsWindow(h))
        ::DestroyWindow(h);
}
} // namespace detail

// Kernel handles (events, mutexes, processes, threads); INVALID_HANDLE_VALUE is for files only.
using TUniqueHandle = TUnique<HANDLE, detail::CloseHandle>;
using TUniqueBitmap = TUnique<HBITMAP, detail::DeleteBitmap>;
using TUniqueFont = TUnique<HFONT, detail::DeleteFont>;
using TUniqueMemDC = TUnique<HDC, detail::DeleteDC>;
using TUniqueGlobal = TUnique<HGLOBAL, detail::GlobalFree>;
// A window this code created and destroys (from its own thread), unless it is already gone.
using TUniqueWindow = TUnique<HWND, detail::DestroyWindow>;

class TUniqueFile {
  public:
    TUniqueFile() = default;
    explicit TUniqueFile(HANDLE h) : u(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    HANDLE Get() const { return u.Get(); }
    explicit operator bool() const { return bool(u); }

  private:
    TUniqueHandle u;
};

// One WM_PAINT: BeginPaint at construction, EndPaint at scope end, so that a handler that raises
// half-way still validates the window instead of being asked to paint again at once.
class TPaint {
  public:
    explicit TPaint(HWND wnd) noexcept : wnd(wnd) { dc = ::BeginPaint(wnd, &ps); }
    TPaint(const TPaint&) = delete;
    TPaint& operator=(const TPaint&) = delete;
    ~TPaint() { ::EndPaint(wnd, &ps); }
    HDC Dc() const { return dc; }
    // The rectangle to repaint, in client coordinates.
    const RECT& Area() const { return ps.rcPaint; }
    bool EraseBackground() const { return ps.fErase != FALSE; }

  private:
    HWND wnd;
    HDC dc;
    PAINTSTRUCT ps;
};

// Selects an object into a device context and puts the previous one back at scope end.
class TSelectObject {
  public:
    TSelectObject(HDC dc, HGDIOBJ obj) : dc(dc), old(::SelectObject(dc, obj)) {}
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;
    ~TSelectObject() {
        if (old && old != HGDI_ERROR)
            ::SelectObject(dc, old);
    }

  private:
    HDC dc;
    HGDIOBJ old;
};

// The clipboard, open for the scope; test IsOpen() before use.
class TClipboard {
  public:
    explicit TClipboard(HWND owner) : open(::OpenClipboard(owner) != FALSE) {}
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;
    ~TClipboard() {
        if (open)
            ::CloseClipboard();
    }
    bool IsOpen() const { return open; }

  private:
    bool open;
};

} // namespace ui

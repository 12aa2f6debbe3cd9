#pragma once
// One way to subclass a control: Subclass(control, handler) routes every message of the control
// to a lambda (or a member function) that returns the message's result and calls
// DefSubclassProc(wnd, msg, wParam, lParam) for the control's own behaviour. An exception from the
// handler is caught at the callback boundary and shown with the general error display (owned by
// the control's top-level window); the message then counts as handled with result 0. The handler
// lives as long as the control: it is removed and destroyed at WM_NCDESTROY.
//
//   ui::Subclass(edit, [this](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
//       if (msg == WM_SYSKEYDOWN && MoveKey(wp)) return 0;
//       return DefSubclassProc(wnd, msg, wp, lp);
//   });
#include <memory>
#include <utility>
#include <windows.h>
#include <commctrl.h>

namespace ui {

namespace detail {

struct TSubclassHandler {
    virtual ~TSubclassHandler() = default;
    virtual LRESULT Call(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
};

template <class F> struct TSubclassFn final : TSubclassHandler {
    explicit TSubclassFn(F f) : f(std::move(f)) {}
    LRESULT Call(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        return f(wnd, msg, wParam, lParam);
    }
    F f;
};

// Installs the handler; takes ownership also on failure (then throws TAppError).
void InstallSubclass(HWND control, std::unique_ptr<TSubclassHandler> handler);

} // namespace detail

// Subclasses `control` with handler(HWND, UINT, WPARAM, LPARAM) -> LRESULT. A control may carry
// several; the last one installed sees a message first.
template <class F> void Subclass(HWND control, F handler) {
    detail::InstallSubclass(control, std::make_unique<detail::TSubclassFn<F>>(std::move(handler)));
}

// Subclasses `control` with a member function of `object`.
template <class T>
void Subclass(HWND control, T* object, LRESULT (T::*method)(HWND, UINT, WPARAM, LPARAM)) {
    Subclass(control, [object, method](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        return (object->*method)(wnd, msg, wParam, lParam);
    });
}

} // namespace ui

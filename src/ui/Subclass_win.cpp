#include "ui/Subclass_win.h"

#include "ui/AppError.h"
#include "ui/Window_win.h"

namespace ui::detail {

namespace {

LRESULT CALLBACK SubclassThunk(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
    auto* handler = reinterpret_cast<TSubclassHandler*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(wnd, &SubclassThunk, id);
        delete handler;
        return DefSubclassProc(wnd, msg, wParam, lParam);
    }
    try {
        return handler->Call(wnd, msg, wParam, lParam);
    } catch (...) {
        ShowCurrentError(GetAncestor(wnd, GA_ROOT));
    }
    return 0;
}

} // namespace

void InstallSubclass(HWND control, std::unique_ptr<TSubclassHandler> handler) {
    // The handler's address is the subclass id, so that several handlers can share one thunk.
    const auto id = reinterpret_cast<UINT_PTR>(handler.get());
    if (!SetWindowSubclass(control, &SubclassThunk, id, reinterpret_cast<DWORD_PTR>(handler.get())))
        throw TAppError("Window subclassing failed");
    handler.release();
}

} // namespace ui::detail

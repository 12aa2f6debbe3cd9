#include "palette/PaletteAccessible_win.h"

#include "palette/Palette_win.h"

#include <new>

namespace {

// The system's accessibility library, loaded from the system folder when first needed.
HMODULE Oleacc() {
    static HMODULE module = LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module;
}

template <class F> F OleaccFunction(const char* name) {
    HMODULE m = Oleacc();
    return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

// A string for the caller, from the automation library, which is loaded with the accessibility
// library rather than at start.
BSTR Bstr(const std::wstring& w) {
    using TAlloc = BSTR(WINAPI*)(const OLECHAR*, UINT);
    static const auto alloc = [] {
        HMODULE m = LoadLibraryExW(L"oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return m ? reinterpret_cast<TAlloc>(
                       reinterpret_cast<void*>(GetProcAddress(m, "SysAllocStringLen")))
                 : nullptr;
    }();
    BSTR b = alloc ? alloc(w.data(), static_cast<UINT>(w.size())) : nullptr;
    if (!b)
        throw std::bad_alloc();
    return b;
}

BSTR Bstr(const std::string& s) {
    return Bstr(ui::Widen(s));
}

VARIANT Long(long v) {
    VARIANT r{};
    r.vt = VT_I4;
    r.lVal = v;
    return r;
}

} // namespace

TPaletteAccessible* TPaletteAccessible::Create(TPaletteWindow& palette) noexcept {
    return new (std::nothrow) TPaletteAccessible(palette);
}

LRESULT TPaletteAccessible::Result(WPARAM wParam) noexcept {
    using TLresultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    static const auto lresultFromObject = OleaccFunction<TLresultFromObject>("LresultFromObject");
    return lresultFromObject ? lresultFromObject(__uuidof(IAccessible), wParam, Unknown()) : 0;
}

void TPaletteAccessible::Disconnect() noexcept {
    palette = nullptr;
    Release();
}

template <class F, class... Out>
HRESULT TPaletteAccessible::ForChild(const VARIANT& child, F&& f, Out*... out) noexcept {
    return ui::ComGuard(
        [&]() -> HRESULT {
            const long c = Child(child);
            return c < 0 ? E_INVALIDARG : f(c);
        },
        out...);
}

long TPaletteAccessible::Child(const VARIANT& v) const {
    if (!palette || v.vt != VT_I4)
        return -1;
    return v.lVal >= 0 && static_cast<std::size_t>(v.lVal) <= palette->Count() ? v.lVal : -1;
}

HRESULT TPaletteAccessible::GetTypeInfoCount(UINT* count) {
    return ui::ComGuard([] {}, count);
}
HRESULT TPaletteAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    return ui::ComGuard([] { return E_NOTIMPL; }, info);
}
HRESULT TPaletteAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}
HRESULT TPaletteAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) {
    return E_NOTIMPL;
}

HRESULT TPaletteAccessible::get_accParent(IDispatch** parent) {
    return ui::ComGuard(
        [&]() -> HRESULT {
            if (!palette)
                return CO_E_OBJNOTCONNECTED;
            // The palette's window object, as the system makes it for any window.
            using TCreate = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
            static const auto create = OleaccFunction<TCreate>("CreateStdAccessibleObject");
            if (!create)
                return E_FAIL;
            return create(palette->Handle(), OBJID_WINDOW, IID_IDispatch,
                          reinterpret_cast<void**>(parent));
        },
        parent);
}

HRESULT TPaletteAccessible::get_accChildCount(long* count) {
    return ui::ComGuard(
        [&]() -> HRESULT {
            if (!palette)
                return CO_E_OBJNOTCONNECTED;
            *count = static_cast<long>(palette->Count());
            return S_OK;
        },
        count);
}

HRESULT TPaletteAccessible::get_accChild(VARIANT child, IDispatch** out) {
    // The faces are simple elements: they have no object of their own.
    return ui::ComGuard([&] { return Child(child) > 0 ? S_FALSE : E_INVALIDARG; }, out);
}

HRESULT TPaletteAccessible::get_accName(VARIANT child, BSTR* name) {
    return ForChild(
        child,
        [&](long c) -> HRESULT {
            *name = c == 0 ? Bstr(std::wstring(L"Faces")) : Bstr(palette->Face(c - 1).FMean);
            return S_OK;
        },
        name);
}

HRESULT TPaletteAccessible::get_accValue(VARIANT child, BSTR* value) {
    return ForChild(
        child, [](long) { return S_FALSE; }, value);
}

HRESULT TPaletteAccessible::get_accDescription(VARIANT child, BSTR* text) {
    return ForChild(
        child,
        [&](long c) -> HRESULT {
            if (c == 0)
                return S_FALSE;
            *text = Bstr(palette->Face(c - 1).Hint());
            return S_OK;
        },
        text);
}

HRESULT TPaletteAccessible::get_accRole(VARIANT child, VARIANT* role) {
    return ForChild(
        child,
        [&](long c) -> HRESULT {
            *role = Long(c == 0 ? ROLE_SYSTEM_GROUPING : ROLE_SYSTEM_PUSHBUTTON);
            return S_OK;
        },
        role);
}

HRESULT TPaletteAccessible::get_accState(VARIANT child, VARIANT* state) {
    return ForChild(
        child,
        [&](long c) -> HRESULT {
            long s = STATE_SYSTEM_FOCUSABLE;
            const bool focus = palette->HasFocus();
            if (c == 0) {
                if (focus && palette->FocusedFace() == TPaletteWindow::NONE)
                    s |= STATE_SYSTEM_FOCUSED;
            } else {
                const std::size_t i = static_cast<std::size_t>(c - 1);
                if (focus && palette->FocusedFace() == i)
                    s |= STATE_SYSTEM_FOCUSED;
                if (palette->HotFace() == i)
                    s |= STATE_SYSTEM_HOTTRACKED;
                if (!palette->FaceVisible(i))
                    s |= STATE_SYSTEM_OFFSCREEN;
            }
            if (!IsWindowVisible(palette->Handle()))
                s |= STATE_SYSTEM_INVISIBLE;
            *state = Long(s);
            return S_OK;
        },
        state);
}

HRESULT TPaletteAccessible::get_accHelp(VARIANT child, BSTR* help) {
    return ForChild(
        child, [](long) { return S_FALSE; }, help);
}

HRESULT TPaletteAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    return ForChild(
        child, [](long) { return S_FALSE; }, file, topic);
}

HRESULT TPaletteAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* key) {
    return ForChild(
        child, [](long) { return S_FALSE; }, key);
}

HRESULT TPaletteAccessible::get_accFocus(VARIANT* child) {
    return ui::ComGuard(
        [&]() -> HRESULT {
            if (!palette)
                return CO_E_OBJNOTCONNECTED;
            if (!palette->HasFocus())
                return S_FALSE; // VT_EMPTY: the focus is elsewhere
            const std::size_t f = palette->FocusedFace();
            *child = Long(f == TPaletteWindow::NONE ? CHILDID_SELF : static_cast<long>(f + 1));
            return S_OK;
        },
        child);
}

HRESULT TPaletteAccessible::get_accSelection(VARIANT* children) {
    return ui::ComGuard([&] { return palette ? S_FALSE : CO_E_OBJNOTCONNECTED; }, children);
}

HRESULT TPaletteAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    return ForChild(
        child,
        [&](long c) -> HRESULT {
            if (c == 0)
                return S_FALSE;
            *action = Bstr(std::wstring(L"Press"));
            return S_OK;
        },
        action);
}

HRESULT TPaletteAccessible::accSelect(long flags, VARIANT child) {
    return ForChild(child, [&](long c) -> HRESULT {
        if (flags != SELFLAG_TAKEFOCUS)
            return DISP_E_MEMBERNOTFOUND; // the faces cannot be selected, only focused
        if (c == 0)
            SetFocus(palette->Handle());
        else
            palette->FocusFace(static_cast<std::size_t>(c - 1));
        return S_OK;
    });
}

HRESULT TPaletteAccessible::accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) {
    return ForChild(
        child,
        [&](long c) -> HRESULT {
            RECT r{};
            if (c == 0)
                GetClientRect(palette->Handle(), &r);
            else
                r = palette->FaceRect(static_cast<std::size_t>(c - 1));
            MapWindowPoints(palette->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
            *left = r.left;
            *top = r.top;
            *width = r.right - r.left;
            *height = r.bottom - r.top;
            return S_OK;
        },
        left, top, width, height);
}

HRESULT TPaletteAccessible::accNavigate(long dir, VARIANT start, VARIANT* end) {
    return ForChild(
        start,
        [&](long c) -> HRESULT {
            const long n = static_cast<long>(palette->Count());
            const long columns = TEmotButton::ColumnCount;
            long to = 0;
            switch (dir) {
            case NAVDIR_FIRSTCHILD:
                to = c == 0 ? 1 : 0;
                break;
            case NAVDIR_LASTCHILD:
                to = c == 0 ? n : 0;
                break;
            case NAVDIR_NEXT:
            case NAVDIR_RIGHT:
                to = c > 0 ? c + 1 : 0;
                break;
            case NAVDIR_PREVIOUS:
            case NAVDIR_LEFT:
                to = c > 0 ? c - 1 : 0;
                break;
            case NAVDIR_DOWN:
                to = c > 0 ? c + columns : 0;
                break;
            case NAVDIR_UP:
                to = c > 0 ? c - columns : 0;
                break;
            default:
                return E_INVALIDARG;
            }
            // Moving from the palette itself to its siblings is the window object's business.
            if (to < 1 || to > n)
                return S_FALSE;
            *end = Long(to);
            return S_OK;
        },
        end);
}

HRESULT TPaletteAccessible::accHitTest(long x, long y, VARIANT* child) {
    return ui::ComGuard(
        [&]() -> HRESULT {
            if (!palette)
                return CO_E_OBJNOTCONNECTED;
            POINT p{x, y};
            ScreenToClient(palette->Handle(), &p);
            RECT client{};
            GetClientRect(palette->Handle(), &client);
            if (!PtInRect(&client, p))
                return S_FALSE;
            const std::size_t i = palette->FaceAt(p);
            *child = Long(i == TPaletteWindow::NONE ? CHILDID_SELF : static_cast<long>(i + 1));
            return S_OK;
        },
        child);
}

HRESULT TPaletteAccessible::accDoDefaultAction(VARIANT child) {
    return ForChild(child, [&](long c) -> HRESULT {
        if (c == 0)
            return DISP_E_MEMBERNOTFOUND;
        // Chosen later rather than inside the call, so the caller (another process) does not
        // wait on whatever the choice shows.
        PostMessageW(palette->Handle(), WM_PALETTECHOOSE, static_cast<WPARAM>(c - 1), 0);
        return S_OK;
    });
}

HRESULT TPaletteAccessible::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}
HRESULT TPaletteAccessible::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

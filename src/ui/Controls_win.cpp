#include "ui/Controls_win.h"

#include "ui/AppError.h"
#include "ui/Window_win.h"

#include <commctrl.h>

namespace ui {

int ScreenDpi() noexcept {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

TUniqueFont MakeFont(const wchar_t* face, int pixels96, int dpi, bool bold) {
    TUniqueFont font(CreateFontW(-ScaleDpi(pixels96, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
                                 FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                 face));
    if (!font)
        throw TAppError("Font creation failed");
    return font;
}

int ControlIndex(std::span<const TControlDef> table, int id) noexcept {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].id == id)
            return int(i);
    return -1;
}

void FitLabelToText(HWND label) {
    HDC dc = GetDC(label);
    if (!dc)
        return;
    const std::wstring text = WindowText(label);
    SIZE size{};
    {
        TSelectObject font(dc, HFONT(SendMessageW(label, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    }
    ReleaseDC(label, dc);
    RECT r;
    GetWindowRect(label, &r);
    MapWindowPoints(nullptr, GetParent(label), reinterpret_cast<POINT*>(&r), 2);
    const DWORD align = DWORD(GetWindowLongW(label, GWL_STYLE)) & SS_TYPEMASK;
    const int left = align == SS_RIGHT    ? r.right - size.cx
                     : align == SS_CENTER ? (r.left + r.right - size.cx) / 2
                                          : r.left;
    SetWindowPos(label, nullptr, left, r.top, size.cx, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// How a control shows a picture, by its window class: the style that makes it a picture control
// and the message that hands it the bitmap.
struct TPictureKind {
    DWORD style;
    UINT setImage;
};

std::optional<TPictureKind> PictureKind(const wchar_t* cls) {
    if (lstrcmpiW(cls, WC_BUTTONW) == 0)
        return TPictureKind{BS_BITMAP, BM_SETIMAGE};
    if (lstrcmpiW(cls, WC_STATICW) == 0)
        return TPictureKind{SS_BITMAP, STM_SETIMAGE};
    return std::nullopt;
}

HWND MakeTooltip() {
    return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

} // namespace

void TControlResources::Create(HWND parent, std::span<const TControlDef> table,
                               std::span<const HFONT> fonts, int dpi, std::span<HWND> out,
                               std::span<void* const> params) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TControlDef& def = table[i];
        int left = def.left, top = def.top;
        // Each origin lies earlier in the table, so the walk ends.
        for (std::size_t at = i; table[at].origin >= 0 && std::size_t(table[at].origin) < at;) {
            at = std::size_t(table[at].origin);
            left += table[at].left;
            top += table[at].top;
        }

        DWORD style = def.style | WS_CHILD | WS_VISIBLE;
        HBITMAP picture = nullptr;
        const auto kind = PictureKind(def.cls);
        if (def.picture && kind) {
            picture = static_cast<HBITMAP>(LoadImageW(inst, MAKEINTRESOURCEW(def.picture),
                                                      IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
            if (picture) {
                pictures.emplace_back(picture);
                style |= kind->style;
            }
        }

        HWND wnd =
            CreateWindowExW(def.exStyle, def.cls, def.text, style, ScaleDpi(left, dpi),
                            ScaleDpi(top, dpi), ScaleDpi(def.width, dpi), ScaleDpi(def.height, dpi),
                            parent, reinterpret_cast<HMENU>(INT_PTR(def.id)), inst,
                            i < params.size() ? params[i] : nullptr);
        if (!wnd)
            throw TAppError("Window creation failed");
        out[i] = wnd;
        if (def.font >= 0 && std::size_t(def.font) < fonts.size() && fonts[def.font])
            SendMessageW(wnd, WM_SETFONT, WPARAM(fonts[def.font]), FALSE);
        if (picture)
            SendMessageW(wnd, kind->setImage, IMAGE_BITMAP, LPARAM(picture));
        if (def.tip) {
            if (!tooltip)
                tooltip.Reset(MakeTooltip());
            // The tooltip copies the text; TTF_SUBCLASS lets it see the mouse over the control.
            TTTOOLINFOW ti{};
            ti.cbSize = TTTOOLINFOW_V2_SIZE;
            ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            ti.hwnd = parent;
            ti.uId = reinterpret_cast<UINT_PTR>(wnd);
            ti.lpszText = const_cast<wchar_t*>(def.tip);
            SendMessageW(tooltip.Get(), TTM_ADDTOOLW, 0, LPARAM(&ti));
        }
    }
}

} // namespace ui

#include "ui/Controls_win.h"

#include "ui/AppError.h"
#include "ui/Window_win.h"

#include <algorithm>
#include <commctrl.h>

namespace ui {

int ScreenDpi() noexcept {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND wnd) noexcept {
    // Loaded by name: the function is missing before Windows 10, and the program must start there.
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    const auto getDpi = reinterpret_cast<TGetDpiForWindow>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const int dpi = getDpi ? static_cast<int>(getDpi(wnd)) : 0;
    return dpi > 0 ? dpi : ScreenDpi();
}

HBITMAP EnlargeBitmap(HBITMAP picture, int factor) noexcept {
    BITMAP bm{};
    if (factor < 2 || !GetObjectW(picture, sizeof bm, &bm))
        return nullptr;
    const int w = bm.bmWidth * factor, h = bm.bmHeight * factor;
    HDC screen = GetDC(nullptr);
    HBITMAP big = CreateCompatibleBitmap(screen, w, h);
    TUniqueMemDC from(CreateCompatibleDC(screen)), to(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    if (big && from && to) {
        TSelectObject fromSel(from.Get(), picture), toSel(to.Get(), big);
        SetStretchBltMode(to.Get(), COLORONCOLOR);
        StretchBlt(to.Get(), 0, 0, w, h, from.Get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    }
    return big;
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
    // A centred label wider than its place grows to the right only, so that it never spills over
    // what stands to its left.
    const DWORD align = DWORD(GetWindowLongW(label, GWL_STYLE)) & SS_TYPEMASK;
    const int left = align == SS_RIGHT    ? r.right - size.cx
                     : align == SS_CENTER ? std::max<int>(r.left, (r.left + r.right - size.cx) / 2)
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
    // A rescale hands the controls their new pictures before the old ones are let go.
    std::vector<TUniqueBitmap> old = std::move(pictures);
    pictures.clear();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TControlDef& def = table[i];
        int left = def.left, top = def.top;
        // Each origin lies earlier in the table, so the walk ends.
        for (std::size_t at = i; table[at].origin >= 0 && std::size_t(table[at].origin) < at;) {
            at = std::size_t(table[at].origin);
            left += table[at].left;
            top += table[at].top;
        }
        left = ScaleDpi(left, dpi);
        top = ScaleDpi(top, dpi);
        const int width = ScaleDpi(def.width, dpi), height = ScaleDpi(def.height, dpi);

        HBITMAP picture = nullptr;
        const auto kind = PictureKind(def.cls);
        if (def.picture && kind) {
            picture = static_cast<HBITMAP>(LoadImageW(inst, MAKEINTRESOURCEW(def.picture),
                                                      IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
            if (HBITMAP big = EnlargeBitmap(picture, PictureFactor(dpi))) {
                DeleteObject(picture);
                picture = big;
            }
            if (picture)
                pictures.emplace_back(picture);
        }

        HWND wnd = out[i];
        if (wnd) {
            SetWindowPos(wnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
            // A control that got no picture at its creation shows its text for good.
            if (kind && (GetWindowLongPtrW(wnd, GWL_STYLE) & kind->style) != kind->style)
                picture = nullptr;
        } else {
            // A picture that loads makes the control a picture control from its creation.
            const DWORD style = def.style | WS_CHILD | WS_VISIBLE | (picture ? kind->style : 0);
            wnd = CreateWindowExW(def.exStyle, def.cls, def.text, style, left, top, width, height,
                                  parent, reinterpret_cast<HMENU>(INT_PTR(def.id)), inst,
                                  i < params.size() ? params[i] : nullptr);
            if (!wnd)
                throw TAppError("Window creation failed");
            out[i] = wnd;
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
        if (def.font >= 0 && std::size_t(def.font) < fonts.size() && fonts[def.font])
            SendMessageW(wnd, WM_SETFONT, WPARAM(fonts[def.font]), TRUE);
        if (picture)
            SendMessageW(wnd, kind->setImage, IMAGE_BITMAP, LPARAM(picture));
    }
}

} // namespace ui

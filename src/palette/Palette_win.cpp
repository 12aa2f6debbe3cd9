#include "palette/Palette_win.h"

#include "palette/PaletteAccessible_win.h"
#include "ui/Controls_win.h"

#include <algorithm>
#include <climits>
#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

namespace {

constexpr wchar_t PaletteClass[] = L"TMoodpadPalette";

} // namespace

TPaletteWindow::TPaletteWindow(TPaletteEvents& events) : events(events) {}

TPaletteWindow::~TPaletteWindow() {
    DestroyHandle();
}

void TPaletteWindow::Create(HWND parent, int id, int x, int y, int width, int height) {
    RegisterWindowClass(PaletteClass, CS_DBLCLKS, nullptr);
    CreateHandle(0, PaletteClass, L"Faces", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, x,
                 y, width, height, parent, reinterpret_cast<HMENU>(INT_PTR(id)));
    // A scroll bar control of its own rather than the window's: Wine redraws a window's
    // nonclient scroll bar several times slower (about 7 ms against 2), on every resize.
    bar = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, 0, 0, 0, 0, Handle(),
                          nullptr, GetModuleHandleW(nullptr), nullptr);
    theme = OpenThemeData(Handle(), L"BUTTON");
    boxWidth = width;
    boxHeight = height;
    Layout(true);
}

void TPaletteWindow::Load(const TButtonList& list, const std::string& dir) {
    Clear();
    pictures.Open(dir);
    picturesRead = false;
    faces.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        TEmotButton& face = faces.emplace_back(static_cast<int>(i), list[i], ui::Utf8Text());
        face.FLoaded = pictures.Present(face.Picture());
    }
    Layout(true);
    focused = faces.empty() ? NONE : 0;
    if (accessible)
        NotifyWinEvent(EVENT_OBJECT_REORDER, Handle(), OBJID_CLIENT, CHILDID_SELF);
}

bool TPaletteWindow::ReadPicturesInView() {
    picturesRead = true;
    bool allLoaded = true;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        TEmotButton& face = faces[i];
        if (face.FLoaded && FaceRect(i).top < boxHeight)
            face.FLoaded = pictures.Load(face.Picture());
        allLoaded = allLoaded && face.FLoaded;
    }
    InvalidateRect(Handle(), nullptr, FALSE);
    return allLoaded;
}

void TPaletteWindow::Clear() {
    if (GetCapture() == Handle())
        ReleaseCapture();
    faces.clear();
    hot = pressed = focused = NONE;
    spacePressed = false;
    UpdateTip();
    Layout(true);
}

void TPaletteWindow::SetBounds(int x, int y, int width, int height) {
    const bool resized = width != boxWidth || height != boxHeight;
    boxWidth = width;
    boxHeight = height;
    SetWindowPos(Handle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (resized)
        Layout(true);
}

void TPaletteWindow::SetDpi(int newDpi) {
    if (newDpi == dpi)
        return;
    dpi = newDpi;
    metrics = GridMetrics(dpi);
    // The cached frame has the old size.
    frame.Reset();
    frameBitmap.Reset();
    Layout(true);
}

void TPaletteWindow::Layout(bool toTop) {
    const uint16_t height = GridLength(boxHeight);
    layout = PaletteLayout(faces.size(), GridLength(boxWidth), height, metrics);
    TEmotButton::ColumnCount = GridCell(0, layout.width, height, metrics).columns;
    contentHeight = GridHeight(faces.size(), layout.width, height, metrics);
    if (toTop)
        scrollPos = 0;
    // The bar shows only when the lowest face reaches below the box.
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = std::max(0, contentHeight - 1);
    si.nPage = static_cast<UINT>(std::max(0, boxHeight));
    scrollPos = std::clamp(scrollPos, 0, std::max(0, contentHeight - boxHeight));
    si.nPos = scrollPos;
    if (bar) {
        SetScrollInfo(bar, SB_CTL, &si, FALSE);
        const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
        if (contentHeight > boxHeight)
            SetWindowPos(bar, nullptr, boxWidth - barWidth, 0, barWidth, boxHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        else
            ShowWindow(bar, SW_HIDE);
        InvalidateRect(bar, nullptr, FALSE);
    }
    InvalidateRect(Handle(), nullptr, FALSE);
}

RECT TPaletteWindow::FaceArea() const {
    RECT r{0, 0, boxWidth, boxHeight};
    if (bar && IsWindowVisible(bar)) {
        RECT b{};
        GetWindowRect(bar, &b);
        r.right -= b.right - b.left;
    }
    return r;
}

RECT TPaletteWindow::FaceRect(std::size_t i) const {
    const TGridCell cell = faces[i].DefineBounds(layout.width, GridLength(boxHeight), metrics);
    const int top = cell.top - scrollPos;
    return RECT{cell.left, top, cell.left + metrics.button, top + metrics.button};
}

bool TPaletteWindow::FaceVisible(std::size_t i) const {
    const RECT r = FaceRect(i);
    return r.bottom > 0 && r.top < boxHeight;
}

std::size_t TPaletteWindow::FaceAt(POINT p) const {
    const std::size_t i =
        GridHit(p.x, p.y + scrollPos, faces.size(), layout.width, GridLength(boxHeight), metrics);
    return i < faces.size() ? i : NONE;
}

void TPaletteWindow::InvalidateFace(std::size_t i) {
    if (i >= faces.size())
        return;
    const RECT r = FaceRect(i);
    InvalidateRect(Handle(), &r, FALSE);
}

// --- scrolling ----------------------------------------------------------------------------------

void TPaletteWindow::ScrollTo(int pos) {
    pos = std::clamp(pos, 0, std::max(0, contentHeight - boxHeight));
    if (pos == scrollPos)
        return;
    const int dy = scrollPos - pos;
    scrollPos = pos;
    if (bar)
        SetScrollPos(bar, SB_CTL, pos, TRUE);
    // Only the faces move; the scroll bar beside them stays.
    const RECT area = FaceArea();
    ScrollWindowEx(Handle(), 0, dy, &area, &area, nullptr, nullptr, SW_INVALIDATE);
    if (tip)
        UpdateTip();
}

void TPaletteWindow::ScrollBy(int code) {
    const int step = layout.step;
    const int page = std::max(step, boxHeight / step * step);
    switch (code) {
    case SB_LINEUP:
        ScrollTo(scrollPos - step);
        break;
    case SB_LINEDOWN:
        ScrollTo(scrollPos + step);
        break;
    case SB_PAGEUP:
        ScrollTo(scrollPos - page);
        break;
    case SB_PAGEDOWN:
        ScrollTo(scrollPos + page);
        break;
    case SB_TOP:
        ScrollTo(0);
        break;
    case SB_BOTTOM:
        ScrollTo(INT_MAX);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The message carries only 16 bits of position; a long palette needs the full one.
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        if (bar && GetScrollInfo(bar, SB_CTL, &si))
            ScrollTo(si.nTrackPos);
        break;
    }
    }
}

void TPaletteWindow::WMMouseWheel(int delta) {
    // One row per notch; fine-resolution wheels add up until a whole notch.
    wheelRest += delta;
    while (wheelRest >= WHEEL_DELTA) {
        wheelRest -= WHEEL_DELTA;
        ScrollBy(SB_LINEUP);
    }
    while (wheelRest <= -WHEEL_DELTA) {
        wheelRest += WHEEL_DELTA;
        ScrollBy(SB_LINEDOWN);
    }
}

void TPaletteWindow::EnsureVisible(std::size_t i) {
    if (i >= faces.size())
        return;
    const RECT r = FaceRect(i);
    const int height = boxHeight;
    const int margin = metrics.margin;
    if (r.top < margin)
        ScrollTo(scrollPos + r.top - margin);
    else if (r.bottom + margin > height)
        ScrollTo(scrollPos + r.bottom + margin - height);
}

// --- drawing ------------------------------------------------------------------------------------

void TPaletteWindow::DrawFrame(HDC dc, RECT r, bool down, bool isHot) const {
    if (theme) {
        const int state = down ? PBS_PRESSED : isHot ? PBS_HOT : PBS_NORMAL;
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &r, nullptr);
    } else {
        DrawFrameControl(dc, &r, DFC_BUTTON,
                         DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0) | (isHot ? DFCS_HOT : 0));
    }
}

void TPaletteWindow::DrawFace(HDC dc, std::size_t i, int top) {
    TEmotButton& face = faces[i];
    const int side = metrics.button;
    const TGridCell cell = face.DefineBounds(layout.width, GridLength(boxHeight), metrics);
    RECT r{cell.left, top, cell.left + side, top + side};
    const bool down = i == pressed && (i == hot || spacePressed);
    if (down || i == hot) {
        DrawFrame(dc, r, down, i == hot);
    } else {
        // Every other face has the same frame: drawn once, then copied, which is several times
        // cheaper than drawing each frame's edges.
        if (!frame) {
            frame.Reset(CreateCompatibleDC(dc));
            frameBitmap.Reset(CreateCompatibleBitmap(dc, side, side));
            if (frame && frameBitmap) {
                SelectObject(frame.Get(), frameBitmap.Get());
                DrawFrame(frame.Get(), RECT{0, 0, side, side}, false, false);
            }
        }
        if (frame && frameBitmap)
            BitBlt(dc, r.left, r.top, side, side, frame.Get(), 0, 0, SRCCOPY);
        else
            DrawFrame(dc, r, false, false);
    }
    // A pressed face shows its picture one picture pixel down and right, as a pressed button does.
    const int factor = ui::PictureFactor(dpi);
    const int shift = down && !theme ? factor : 0;
    if (picturesRead && face.FLoaded &&
        !pictures.Draw(dc, face.Picture(), r.left + shift, r.top + shift, side, factor))
        face.FLoaded = false; // a damaged picture found only now stays blank
    if (i == focused && HasFocus()) {
        RECT f = r;
        InflateRect(&f, -ScaleTo(3, dpi), -ScaleTo(3, dpi));
        DrawFocusRect(dc, &f);
    }
}

void TPaletteWindow::Paint() {
    ui::TPaint paint(Handle());
    const RECT& area = paint.Area();
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    // Drawn off screen and copied in one piece, so no face flickers.
    ui::TUniqueMemDC mem(CreateCompatibleDC(paint.Dc()));
    ui::TUniqueBitmap buffer(CreateCompatibleBitmap(paint.Dc(), width, height));
    const bool buffered = mem && buffer;
    HDC dc = buffered ? mem.Get() : paint.Dc();
    ui::TSelectObject sel(dc, buffered ? buffer.Get() : GetStockObject(NULL_BRUSH));
    if (buffered)
        SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    // Pictures grow by whole factors, pixel for pixel.
    SetStretchBltMode(dc, COLORONCOLOR);
    // Only the rows that cross the area to paint.
    const int pitch = std::max<int>(1, layout.step);
    const int firstRow =
        std::max(0, static_cast<int>(area.top + scrollPos - metrics.margin) / pitch);
    const int lastRow = static_cast<int>(area.bottom + scrollPos) / pitch;
    const std::size_t columns = TEmotButton::ColumnCount;
    for (long long row = firstRow; row <= lastRow; ++row) {
        for (std::size_t c = 0; c < columns; ++c) {
            const std::size_t i = static_cast<std::size_t>(row) * columns + c;
            if (i >= faces.size())
                break;
            DrawFace(dc, i, FaceRect(i).top);
        }
    }
    if (buffered) {
        SetViewportOrgEx(dc, 0, 0, nullptr);
        BitBlt(paint.Dc(), area.left, area.top, width, height, dc, 0, 0, SRCCOPY);
    }
}

// --- mouse --------------------------------------------------------------------------------------

void TPaletteWindow::SetHot(std::size_t i) {
    if (i == hot)
        return;
    const std::size_t old = hot;
    hot = i;
    InvalidateFace(old);
    InvalidateFace(i);
    UpdateTip();
    if (old != NONE && old < faces.size())
        faces[old].CMMouseLeave();
}

void TPaletteWindow::UpdateTip() {
    if (!tip)
        return;
    // One tool, moved to the face under the mouse: leaving a face hides its tip, and resting on
    // the next one shows that face's hint after the usual delay.
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = Handle();
    ti.uId = 1;
    if (hot != NONE && hot < faces.size())
        ti.rect = FaceRect(hot);
    SendMessageW(tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void TPaletteWindow::WMMouseMove(WPARAM keys, POINT p) {
    if (!tip) {
        // Made on first use: a palette that is never hovered costs no tooltip window.
        tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
        if (tip) {
            SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, ScaleTo(320, dpi)); // long hints wrap
            TTTOOLINFOW ti{};
            ti.cbSize = TTTOOLINFOW_V2_SIZE;
            ti.uFlags = TTF_SUBCLASS;
            ti.hwnd = Handle();
            ti.uId = 1;
            ti.lpszText = LPSTR_TEXTCALLBACKW;
            SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
            // The tooltip missed this first move; hand it over so its timer starts.
            MSG m{Handle(),
                  WM_MOUSEMOVE,
                  keys,
                  MAKELPARAM(p.x, p.y),
                  static_cast<DWORD>(GetMessageTime()),
                  {}};
            SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
        }
    }
    if (!trackingLeave) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, Handle(), 0};
        trackingLeave = TrackMouseEvent(&tme) != FALSE;
    }
    const std::size_t i = FaceAt(p);
    SetHot(i);
    if (i == NONE)
        return;
    POINT screen = p;
    ClientToScreen(Handle(), &screen);
    // Only a mouse press on a face drags: not a button held since a drag ended (Esc) or a press
    // that began elsewhere.
    if (pressed == NONE || spacePressed)
        keys &= ~WPARAM(MK_LBUTTON);
    if (events.FaceMouseMove(faces[i], keys, screen))
        EndPress();
}

void TPaletteWindow::WMLButtonDown(POINT p) {
    const std::size_t i = FaceAt(p);
    if (i == NONE)
        return;
    pressed = i;
    spacePressed = false;
    SetCapture(Handle());
    // A click on the face that has the focus changes nothing but its look.
    if (i != focused || !HasFocus())
        FocusFace(i);
    InvalidateFace(i);
}

void TPaletteWindow::WMLButtonUp(POINT p) {
    const std::size_t was = pressed;
    EndPress();
    if (was != NONE && FaceAt(p) == was)
        Choose(was);
}

void TPaletteWindow::EndPress() {
    const std::size_t was = pressed;
    pressed = NONE;
    spacePressed = false;
    if (GetCapture() == Handle())
        ReleaseCapture();
    InvalidateFace(was);
}

void TPaletteWindow::Choose(std::size_t i) {
    if (i < faces.size())
        events.FaceClick(faces[i]);
}

// --- keyboard -----------------------------------------------------------------------------------

void TPaletteWindow::FocusFace(std::size_t i) {
    if (i >= faces.size())
        return;
    const std::size_t old = focused;
    focused = i;
    InvalidateFace(old);
    if (HasFocus())
        EnterFace();
    else
        SetFocus(Handle()); // WM_SETFOCUS enters the face
}

void TPaletteWindow::EnterFace() {
    EnsureVisible(focused);
    InvalidateFace(focused);
    events.FaceEnter(faces[focused]);
    NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, static_cast<LONG>(focused + 1));
}

void TPaletteWindow::WMSetFocus() {
    if (faces.empty())
        return;
    // Tab enters at the first face and Shift+Tab at the last, as if each face were a control of
    // its own; a click or a return to the window keeps the face that had the focus.
    if (GetKeyState(VK_TAB) < 0)
        focused = GetKeyState(VK_SHIFT) < 0 ? faces.size() - 1 : 0;
    if (focused >= faces.size())
        focused = 0;
    EnterFace();
}

LRESULT TPaletteWindow::WMGetDlgCode(const MSG* m) {
    LRESULT code = DLGC_WANTARROWS;
    if (!m || m->message != WM_KEYDOWN || focused >= faces.size())
        return code;
    // Tab stays inside the palette until it passes the last face (Shift+Tab the first); Enter
    // chooses the focused face instead of pressing a default button.
    if (m->wParam == VK_TAB) {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        if (back ? focused > 0 : focused + 1 < faces.size())
            code |= DLGC_WANTTAB;
    } else if (m->wParam == VK_RETURN) {
        code |= DLGC_WANTMESSAGE;
    }
    return code;
}

bool TPaletteWindow::WMKeyDown(WPARAM key, LPARAM flags) {
    if (focused >= faces.size())
        return false;
    const TEmotButton& face = faces[focused];
    const bool repeat = (flags & (1 << 30)) != 0;
    auto move = [&](TEmotButton::TArrow arrow) {
        if (auto t = face.CMWantSpecialKey(arrow, faces.size()))
            FocusFace(*t);
        return true;
    };
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        // Only while the key is really down: a key message replayed later must not move focus.
        if (GetKeyState(static_cast<int>(key)) < 0)
            move(key == VK_UP ? TEmotButton::akUp : TEmotButton::akDown);
        return true;
    case VK_LEFT:
        return move(TEmotButton::akLeft);
    case VK_RIGHT:
        return move(TEmotButton::akRight);
    case VK_HOME:
        FocusFace(0);
        return true;
    case VK_END:
        FocusFace(faces.size() - 1);
        return true;
    case VK_TAB:
        FocusFace(GetKeyState(VK_SHIFT) < 0 ? (focused ? focused - 1 : 0) : focused + 1);
        return true;
    case VK_RETURN:
        if (!repeat)
            Choose(focused);
        return true;
    case VK_SPACE:
        // Space presses the face and its release chooses it, as with a push button.
        if (!repeat) {
            pressed = focused;
            spacePressed = true;
            InvalidateFace(focused);
        }
        return true;
    }
    return false;
}

LRESULT TPaletteWindow::WMNotify(NMHDR* hdr) {
    if (hdr && hdr->hwndFrom == tip && hdr->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
        tipText = hot < faces.size() ? ui::Widen(faces[hot].Hint()) : std::wstring();
        info->lpszText = tipText.data();
        info->szText[0] = L'\0';
        info->hinst = nullptr;
    }
    return 0;
}

LRESULT TPaletteWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers everything
    case WM_VSCROLL:
        ScrollBy(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        WMMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_MOUSEMOVE:
        WMMouseMove(wParam, p);
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave = false;
        if (GetCapture() != Handle())
            SetHot(NONE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        WMLButtonDown(p);
        return 0;
    case WM_LBUTTONUP:
        WMLButtonUp(p);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != Handle() && pressed != NONE && !spacePressed) {
            InvalidateFace(pressed);
            pressed = NONE;
        }
        return 0;
    case WM_GETDLGCODE:
        return WMGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
        if (WMKeyDown(wParam, lParam))
            return 0;
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE && spacePressed) {
            const std::size_t was = pressed;
            EndPress();
            if (was == focused)
                Choose(was);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        WMSetFocus();
        return 0;
    case WM_KILLFOCUS:
        if (spacePressed)
            EndPress();
        InvalidateFace(focused);
        return 0;
    case WM_PALETTECHOOSE:
        Choose(static_cast<std::size_t>(wParam));
        return 0;
    case WM_NOTIFY:
        return WMNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT)) {
            if (!accessible)
                accessible = TPaletteAccessible::Create(*this);
            if (accessible)
                return accessible->Result(wParam);
        }
        break;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
        if (theme)
            CloseThemeData(theme);
        theme = OpenThemeData(Handle(), L"BUTTON");
        frame.Reset();
        frameBitmap.Reset();
        InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_DESTROY:
        if (accessible) {
            accessible->Disconnect();
            accessible = nullptr;
        }
        if (tip) {
            DestroyWindow(tip);
            tip = nullptr;
        }
        if (theme) {
            CloseThemeData(theme);
            theme = nullptr;
        }
        break;
    }
    return Default(msg, wParam, lParam);
}

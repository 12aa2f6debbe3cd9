// The main window's palette: building and laying out the emoticon buttons, scrolling, showing a
// button's sequence and hint, choosing a button and delivering its text, the single-key commands,
// the hot key and the tracking of the window the user was typing in.
#include "app/Main_win.h"

#include "HookLib.h"
#include "palette/ClipWork_win.h"
#include "palette/Emotbut_win.h"
#include "palette/Grid.h"
#include "palette/Insert.h"
#include "settings/AbsPath.h"

#include <algorithm>
#include <utility>
#include <vector>
#include <commctrl.h>

namespace {

// The tooltip shared by every palette button; owned by the main window, so it goes with it.
HWND PaletteToolTip = nullptr;

// How far the buttons have been scrolled up from their places, in pixels. Kept apart from the
// scroll bar's position, which the resize handling resets before the buttons are laid out again.
int ChildrenScrolledBy = 0;

HWND PaletteTip(HWND owner) {
    if (PaletteToolTip && IsWindow(PaletteToolTip))
        return PaletteToolTip;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    PaletteToolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    if (PaletteToolTip)
        SendMessageW(PaletteToolTip, TTM_SETMAXTIPWIDTH, 0, 320); // long hints wrap
    return PaletteToolTip;
}

// Drag-and-drop of a sequence out of the palette joins later; until then a press and move is no
// drag. Returns true when the text was dropped somewhere.
bool StartDrag(const std::string& text) {
    (void)text;
    return false;
}

std::string WindowTextA(HWND wnd) {
    const int length = GetWindowTextLengthA(wnd);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(wnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

SIZE WindowSize(HWND wnd) {
    RECT r{};
    if (IsIconic(wnd)) {
        // A minimised window reports the size of its icon; the palette follows the restored size.
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(wnd, &wp);
        r = wp.rcNormalPosition;
    } else {
        GetWindowRect(wnd, &r);
    }
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int ClientHeight(HWND wnd) {
    RECT r{};
    GetClientRect(wnd, &r);
    return r.bottom - r.top;
}

void ShowNotice(HWND owner, const std::string& text) {
    MessageBoxA(owner, text.c_str(), MainWindowTitle, 0);
}

// Turns drawing of a window off for a scope and back on (with a full repaint) at its end, also
// when an exception leaves the scope.
class TNoRedraw {
  public:
    explicit TNoRedraw(HWND wnd) : wnd(wnd) { SendMessageW(wnd, WM_SETREDRAW, FALSE, 0); }
    TNoRedraw(const TNoRedraw&) = delete;
    TNoRedraw& operator=(const TNoRedraw&) = delete;
    ~TNoRedraw() {
        SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(wnd, nullptr, nullptr,
                     RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }

  private:
    HWND wnd;
};

// Creates a button for each entry of the list after those already made, each in its cell of a grid
// width x height. Returns how many were made.
std::size_t CreateButtons(TMainForm& form, uint16_t width, uint16_t height, const std::string& path,
                          bool& allLoaded) {
    HWND tip = PaletteTip(form.Handle());
    TFaceCache faces;
    const std::size_t first = form.Buttons.size();
    form.Buttons.reserve(first + form.EmotButtonList.size());
    for (std::size_t i = 0; i < form.EmotButtonList.size(); ++i) {
        const std::string& entry = form.EmotButtonList[i];
        auto button = std::make_unique<TEmotButton>(static_cast<int>(first + i));
        const TGridCell cell = button->DefineBounds(width, height);
        button->FMean = EntrySequence(entry);
        button->SetHint(EntryHint(entry), tip);
        // Window handles are a per-process quota: stop at the first button that cannot be made
        // and keep the ones that were.
        if (!button->Create(form.ButtonScrollBox, EntryPicture(entry), path, cell.left, cell.top,
                            &faces))
            break;
        button->PlacedLeft = cell.left;
        button->PlacedTop = cell.top;
        allLoaded = allLoaded && button->FLoaded;
        button->FOnMouseLeave = [&form](TEmotButton* b) { form.EmotButtonMouseLeave(b); };
        button->OnEnter = [&form](TEmotButton* b) { form.EmotButtonOnEnter(b); };
        button->OnMouseMove = [&form](TEmotButton* b, WPARAM keys, int x, int y) {
            form.EmotButtonMouseMove(b, keys, x, y);
        };
        form.Buttons.push_back(std::move(button));
    }
    return form.Buttons.size() - first;
}

} // namespace

// --- building and layout ------------------------------------------------------------------------

void TMainForm::LoadButtons() {
    if (!ButtonScrollBox)
        return;
    const SIZE outer = WindowSize(Handle());
    SetWindowPos(ScrollPanel, nullptr, 0, 0, std::max(0L, outer.cx - 25),
                 std::max(0L, outer.cy - 130), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(ButtonScrollBox, nullptr, 0, 0, std::max(0L, outer.cx - 29),
                 std::max(0L, outer.cy - 134), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    std::string path = FOptions.sPicturePath;
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    path = AddAbsolutePath(path);

    const SIZE box = WindowSize(ButtonScrollBox);
    const uint16_t boxHeight = GridLength(box.cy);
    const TPaletteLayout layout =
        PaletteLayout(EmotButtonList.size(), GridLength(box.cx), boxHeight);

    std::size_t made = 0;
    bool allLoaded = true;
    {
        // Built without drawing, then shown at once; the buttons are created in their final cells.
        TNoRedraw noRedraw(ButtonScrollBox);
        made = CreateButtons(*this, layout.width, boxHeight, path, allLoaded);
        LayoutButtons();
    }
    if (made < EmotButtonList.size())
        ShowNotice(Handle(), "Only " + std::to_string(made) + " of " +
                                 std::to_string(EmotButtonList.size()) + " buttons could be shown");
    if (!allLoaded)
        ShowNotice(Handle(), "One or more pictures could not be loaded");
}

void TMainForm::KillButtons() {
    // A destroyed focus window leaves the keyboard with nowhere to go: hand it on first.
    if (TEmotButton* focused = ButtonFromHandle(GetFocus()); focused && MinimizeBitBtn)
        SetFocus(MinimizeBitBtn);
    if (ButtonScrollBox) {
        TNoRedraw noRedraw(ButtonScrollBox); // one repaint instead of one per button
        Buttons.clear();
    } else {
        Buttons.clear();
    }
    ChildrenScrolledBy = 0;
    ScrollPos = 0;
    if (ButtonScrollBox) {
        SetScrollPos(ButtonScrollBox, SB_VERT, 0, FALSE);
        ShowScrollBar(ButtonScrollBox, SB_VERT, FALSE);
    }
}

void TMainForm::LayoutButtons() {
    if (!ButtonScrollBox)
        return;
    const SIZE box = WindowSize(ButtonScrollBox);
    const uint16_t boxHeight = GridLength(box.cy);
    const TPaletteLayout layout = PaletteLayout(Buttons.size(), GridLength(box.cx), boxHeight);

    // The buttons that change place move in one batch (one repaint, no flicker); the palette is
    // back at its top. Each window move costs a round trip to the window server, so buttons that
    // stay where they are are left alone.
    const bool wasScrolled = ChildrenScrolledBy != 0;
    ChildrenScrolledBy = 0;
    ScrollPos = 0;
    int contentHeight = 0;
    std::vector<std::pair<TEmotButton*, TGridCell>> moves;
    for (const auto& b : Buttons) {
        const TGridCell cell = b->DefineBounds(layout.width, boxHeight);
        contentHeight = std::max(contentHeight, cell.top + BUTTONSIZE + FROMTOP);
        if (wasScrolled || cell.left != b->PlacedLeft || cell.top != b->PlacedTop)
            moves.emplace_back(b.get(), cell);
    }
    if (!moves.empty()) {
        HDWP batch = BeginDeferWindowPos(static_cast<int>(moves.size()));
        for (const auto& [b, cell] : moves) {
            if (batch)
                batch = DeferWindowPos(batch, b->Handle(), nullptr, cell.left, cell.top, 0, 0,
                                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (!batch || !EndDeferWindowPos(batch)) {
            // The batch could not be kept (out of memory): place the buttons one by one.
            for (const auto& [b, cell] : moves)
                SetWindowPos(b->Handle(), nullptr, cell.left, cell.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        for (const auto& [b, cell] : moves) {
            b->PlacedLeft = cell.left;
            b->PlacedTop = cell.top;
        }
    }

    // The bar shows only when the lowest button reaches below the box.
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(0, contentHeight - 1);
    si.nPage = static_cast<UINT>(std::max(0, ClientHeight(ButtonScrollBox)));
    si.nPos = 0;
    SetScrollInfo(ButtonScrollBox, SB_VERT, &si, TRUE);
    InvalidateRect(ButtonScrollBox, nullptr, TRUE);
}

namespace {

void ScrollBoxTo(HWND box, int& scrollPos, int target) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE;
    if (!GetScrollInfo(box, SB_VERT, &si))
        si = SCROLLINFO{};
    const int maxPos = std::max(0, si.nMax - si.nMin + 1 - static_cast<int>(si.nPage));
    target = std::clamp(target, 0, maxPos);
    if (target == ChildrenScrolledBy && target == scrollPos)
        return;
    ScrollWindowEx(box, 0, ChildrenScrolledBy - target, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    ChildrenScrolledBy = target;
    scrollPos = target;
    SetScrollPos(box, SB_VERT, target, TRUE);
}

} // namespace

void TMainForm::ScrollBoxScroll(int code, int pos) {
    if (!ButtonScrollBox)
        return;
    const int step = ScrollerStep(GridLength(WindowSize(ButtonScrollBox).cy));
    const int page = std::max(step, ClientHeight(ButtonScrollBox) / step * step);
    int target = ScrollPos;
    switch (code) {
    case SB_LINEUP:
        target -= step;
        break;
    case SB_LINEDOWN:
        target += step;
        break;
    case SB_PAGEUP:
        target -= page;
        break;
    case SB_PAGEDOWN:
        target += page;
        break;
    case SB_TOP:
        target = 0;
        break;
    case SB_BOTTOM:
        target = INT_MAX;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The message's own position has only 16 bits; a long palette needs the full one.
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        target = GetScrollInfo(ButtonScrollBox, SB_VERT, &si) ? si.nTrackPos : pos;
        break;
    }
    case WM_MOUSEWHEEL:
        // A wheel turn: pos is the wheel delta; one notch scrolls one row.
        target -= static_cast<int>(static_cast<long long>(pos) * step / WHEEL_DELTA);
        break;
    default:
        return;
    }
    ScrollBoxTo(ButtonScrollBox, ScrollPos, target);
}

TEmotButton* TMainForm::ButtonFromHandle(HWND h) {
    TEmotButton* b = TEmotButton::FromHandle(h);
    return b && GetParent(h) == ButtonScrollBox ? b : nullptr;
}

// --- mouse and focus ----------------------------------------------------------------------------

void TMainForm::EmotButtonMouseMove(TEmotButton* sender, WPARAM keys, int x, int y) {
    if (!sender)
        return;
    TargetQuery();
    RECT r{};
    GetWindowRect(sender->Handle(), &r);
    const POINT p{x + r.left, y + r.top};
    const bool moved = p.x != FOldPoint.x || p.y != FOldPoint.y;
    FOldPoint = p;
    if (!moved)
        return;
    EmotButtonListShowSequence(sender);
    if ((keys & MK_LBUTTON) && FOptions.blDragDrop) {
        if (StartDrag(AddSpaces(sender->FMean)) && FOptions.Style == stMinimizeOnPress)
            AppMinimize();
    }
}

void TMainForm::EmotButtonMouseLeave(TEmotButton* sender) {
    if (!sender)
        return;
    // Only what this button put there is cleared; another button's texts stay.
    if (SequenceEdit && WindowTextA(SequenceEdit) == sender->FMean)
        SetWindowTextA(SequenceEdit, "");
    if (HintEdit && WindowTextA(HintEdit) == sender->Hint())
        SetWindowTextA(HintEdit, "");
    if (!blAppIsActive)
        ClearFocusData();
}

void TMainForm::EmotButtonOnEnter(TEmotButton* sender) {
    if (!sender)
        return;
    EmotButtonListShowSequence(sender);
    // Keyboard focus may land on a button scrolled out of sight: bring it into view.
    RECT r{};
    GetWindowRect(sender->Handle(), &r);
    MapWindowPoints(nullptr, ButtonScrollBox, reinterpret_cast<POINT*>(&r), 2);
    const int height = ClientHeight(ButtonScrollBox);
    if (r.top < FROMTOP)
        ScrollBoxTo(ButtonScrollBox, ScrollPos, ScrollPos + r.top - FROMTOP);
    else if (r.bottom + FROMTOP > height)
        ScrollBoxTo(ButtonScrollBox, ScrollPos, ScrollPos + r.bottom + FROMTOP - height);
}

void TMainForm::EmotButtonListShowSequence(TEmotButton* sender) {
    if (!sender)
        return;
    if (SequenceEdit)
        SetWindowTextA(SequenceEdit, sender->FMean.c_str());
    if (HintEdit)
        SetWindowTextA(HintEdit, sender->Hint().c_str());
}

// --- choosing -----------------------------------------------------------------------------------

std::string TMainForm::AddSpaces(const std::string& s) const {
    return ::AddSpaces(s, FOptions.Spacing);
}

void TMainForm::EmotButtonClick(TEmotButton* sender) {
    if (!sender)
        return;
    const std::string text = AddSpaces(sender->FMean);
    // Throws when the clipboard cannot be had; the choice is then abandoned.
    PutToClipboard(Handle(), text);

    const HWND focus = hActiveFocus;
    const HWND window = hActiveWindow;
    if (FOptions.Insert.blEnabled && focus && IsWindow(focus)) {
        if (FOptions.Insert.blUseClipboard) {
            PostMessageA(focus, WM_PASTE, 0, 0);
        } else {
            for (unsigned code : CharCodes(text))
                PostMessageA(focus, WM_CHAR, code, 0);
        }
    }
    if (FOptions.Style == stMinimizeOnPress) {
        AppMinimize();
        if (window && IsWindow(window) && window != Handle())
            SetWindowZOrder(window, HWND_TOP);
    }
}

bool TMainForm::FormKeyPress(wchar_t key) {
    switch (key) {
    case 27:
        AppMinimize();
        return true;
    case L'a':
    case L'A':
        AppAbout();
        return true;
    case L'c':
    case L'C':
        AppCustomize();
        return true;
    case L'h':
    case L'H':
        HelpBitBtnClick();
        return true;
    case L'o':
    case L'O':
        OrderBitBtnClick();
        return true;
    }
    return false;
}

bool TMainForm::FormKeyDown(WPARAM key) {
    if (key != VK_F1)
        return false;
    if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    HelpBitBtnClick();
    return true;
}

// --- hot key and tracking -----------------------------------------------------------------------

void TMainForm::SetHotKey(bool alt, bool ctrl, bool shift, int32_t virtCode) {
    FOptions.HotKey.blAlt = alt;
    FOptions.HotKey.blCtrl = ctrl;
    FOptions.HotKey.blShift = shift;
    FOptions.HotKey.iVirtCode = virtCode;
    if (KeyboardIsHooked())
        UnHookKeyboard();
    SetKeyboardHook(&FOptions.HotKey, Handle(), WM_EXECACTIVEHOOKHANDLE);
}

void TMainForm::TargetQuery() {
    if (!FOptions.Insert.blEnabled || !FOptions.Insert.blTrackWindows || blFocusFound ||
        hActiveFocus || blAppIsActive)
        return;
    HWND foreground = GetForegroundWindow();
    if (!foreground || !IsWindow(foreground) || foreground == Handle())
        return;
    // None of this program's own windows (a message box, the splash) is a target.
    DWORD pid = 0;
    GetWindowThreadProcessId(foreground, &pid);
    if (pid == GetCurrentProcessId())
        return;
    PostMessageA(foreground, WM_SENDTOHOOK, 0, 0);
    blFocusFound = true;
}

void TMainForm::WMExecActiveHookHandle(WPARAM wParam, LPARAM lParam) {
    hActiveFocus = reinterpret_cast<HWND>(wParam);
    hActiveWindow = reinterpret_cast<HWND>(lParam);
    if (IsIconic(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
}

void TMainForm::WMExecNonActiveHookHandle(WPARAM wParam, LPARAM lParam) {
    hActiveFocus = reinterpret_cast<HWND>(wParam);
    hActiveWindow = reinterpret_cast<HWND>(lParam);
}

void TMainForm::ClearFocusData() {
    blFocusFound = false;
    hActiveFocus = nullptr;
    hActiveWindow = nullptr;
}

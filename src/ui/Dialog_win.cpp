#include "ui/Dialog_win.h"

#include "ui/AppError.h"
#include "ui/Controls_win.h"
#include "ui/Window_win.h"

#include <vector>

namespace ui {

namespace {

// A DLGTEMPLATE with no controls: style, extended style, no items, no position or size (the
// dialog sizes itself in pixels at WM_INITDIALOG), no menu, the default dialog class, the caption.
std::vector<WORD> FrameTemplate(const std::wstring& caption) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    std::vector<WORD> t = {LOWORD(style), HIWORD(style), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    t.insert(t.end(), caption.begin(), caption.end());
    t.push_back(0);
    return t;
}

// Messages whose result a dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg) {
    return (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) || msg == WM_COMPAREITEM ||
           msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM || msg == WM_QUERYDRAGICON ||
           msg == WM_INITDIALOG;
}

} // namespace

TDialog::TDialog(std::wstring caption, int clientWidth, int clientHeight)
    : caption(std::move(caption)), clientWidth(clientWidth), clientHeight(clientHeight) {}

TDialog::~TDialog() {
    if (hwnd)
        DestroyWindow(hwnd);
}

void TDialog::OnCommand(int, int, HWND) {}

bool TDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool TDialog::OnPreviewKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !IsHelpKey(msg.wParam))
        return false;
    OnHelp();
    return true;
}

void TDialog::End(INT_PTR value) {
    result = value;
    ended = true;
    // End may run inside a message sent from another thread, which GetMessage handles without
    // returning: a posted message wakes the loop to see that the run is over.
    if (hwnd)
        PostMessageW(hwnd, WM_NULL, 0, 0);
}

INT_PTR TDialog::RunModal(HWND ownerWindow) {
    owner = ownerWindow ? GetAncestor(ownerWindow, GA_ROOT) : nullptr;
    dpi = ScreenDpi();
    initFailed = false;
    ended = false;
    result = IDCANCEL;
    const std::vector<WORD> frame = FrameTemplate(caption);
    HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                          reinterpret_cast<const DLGTEMPLATE*>(frame.data()), owner,
                                          &TDialog::Thunk, reinterpret_cast<LPARAM>(this));
    if (!dlg)
        throw TAppError("Window creation failed");
    if (initFailed) {
        DestroyWindow(dlg);
        return -1;
    }

    const TWindowList disabled = ThreadWindows(GetCurrentThreadId(), [dlg](HWND w) noexcept {
        return w != dlg && IsWindowVisible(w) && IsWindowEnabled(w);
    });
    for (HWND w : disabled)
        EnableWindow(w, FALSE);
    ShowWindow(dlg, SW_SHOW);
    if (initialFocus && IsWindow(initialFocus))
        SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(initialFocus), TRUE);
    ServeMessages();
    // The windows beneath come back before the dialog goes, so that activation returns to the
    // owner rather than to some other application.
    for (HWND w : disabled)
        EnableWindow(w, TRUE);
    if (hwnd)
        DestroyWindow(hwnd);
    return result;
}

void TDialog::ServeMessages() {
    MSG msg;
    while (!ended && hwnd) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(int(msg.wParam));
            result = IDCANCEL;
            return;
        }
        if (got < 0)
            return;
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST &&
            (msg.hwnd == hwnd || IsChild(hwnd, msg.hwnd))) {
            bool consumed = false;
            try {
                consumed = OnPreviewKey(msg);
            } catch (...) {
                ShowCurrentError(hwnd);
                consumed = true;
            }
            if (consumed)
                continue;
        }
        if (!hwnd || !IsDialogMessageW(hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void TDialog::PlaceFrame() {
    RECT rc{0, 0, ScaleDpi(clientWidth, dpi), ScaleDpi(clientHeight, dpi)};
    AdjustWindowRectEx(&rc, DWORD(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &mi))
        area = mi.rcWork;
    SetWindowPos(hwnd, nullptr, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR TDialog::Init() {
    PlaceFrame();
    initialFocus = OnInit();
    // A default push button made after the dialog was created is unknown to the dialog manager
    // until it is told, and Enter would send IDOK instead of pressing it.
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) {
            SendMessageW(hwnd, DM_SETDEFID, WPARAM(GetDlgCtrlID(c)), 0);
            break;
        }
    }
    return TRUE;
}

INT_PTR TDialog::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG)
        return Init();
    LRESULT answer = 0;
    if (OnMessage(msg, wParam, lParam, answer)) {
        if (ReturnsResultDirectly(msg))
            return INT_PTR(answer);
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    if (msg != WM_COMMAND)
        return FALSE;
    const int id = LOWORD(wParam);
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
    else
        OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    return TRUE;
}

INT_PTR CALLBACK TDialog::Thunk(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TDialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<TDialog*>(lParam);
        self->hwnd = wnd;
        SetWindowLongPtrW(wnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<TDialog*>(GetWindowLongPtrW(wnd, DWLP_USER));
    }
    if (!self)
        return FALSE;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(wnd, DWLP_USER, 0);
        self->hwnd = nullptr;
        self->ended = true;
        return FALSE;
    }
    try {
        return self->Dispatch(msg, wParam, lParam);
    } catch (...) {
        if (msg == WM_INITDIALOG) {
            self->initFailed = true;
            ShowCurrentError(self->owner);
        } else {
            ShowCurrentError(wnd);
        }
    }
    // The message goes on to the dialog's default handling, as if the handler had not been there.
    return FALSE;
}

} // namespace ui

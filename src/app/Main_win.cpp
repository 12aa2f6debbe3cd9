#include "app/Main_win.h"

#include "HookLib.h"
#include "app/Layout.h"
#include "app/Splash_win.h"
#include "app/resource.h"
#include "palette/Emotbut_win.h"
#include "settings/Ini.h"
#include "ui/Application_win.h"
#include "ui/Help_win.h"

#include <algorithm>
#include <commctrl.h>
#include <shellapi.h>

TMainForm* MainForm = nullptr;

void SetWindowZOrder(HWND wnd, HWND insertAfter) {
    // Position and size stay as they are; without SWP_NOACTIVATE the window is also activated.
    SetWindowPos(wnd, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

namespace {

// The sequence and hint fields are disabled so that they never take the focus, but a disabled edit
// draws its text grey whatever its parent asks for. They paint their own text in black on white.
LRESULT CALLBACK ReadOnlyFieldProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR) {
    if (msg != WM_PAINT)
        return DefSubclassProc(wnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT rc;
    GetClientRect(wnd, &rc);
    FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    // A sequence and its hint are at most 198 characters; a fixed buffer keeps this callback free
    // of anything that could throw.
    wchar_t text[256];
    const int len = GetWindowTextW(wnd, text, 256);
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    // The edit control's own left margin and top line.
    rc.left += 2;
    rc.top += 1;
    DrawTextW(dc, text, len, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    EndPaint(wnd, &ps);
    return 0;
}

constexpr wchar_t PanelClass[] = L"TMoodpadPanel";
constexpr wchar_t ScrollBoxClass[] = L"TMoodpadScrollBox";

// The about box arrives later; until then the About button only drops and restores the style.
void ShowAboutBox(const std::string& fileName) {
    (void)fileName;
}

// A frame with a lowered inner bevel that hosts child controls for dialog navigation.
class TPanel : public ui::TWindow {
  public:
    void Create(HWND parent, const TControlDef& def) {
        RegisterWindowClass(PanelClass, 0, GetSysColorBrush(COLOR_BTNFACE));
        CreateHandle(WS_EX_CONTROLPARENT, PanelClass, L"",
                     WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, def.left, def.top,
                     def.width, def.height, parent, reinterpret_cast<HMENU>(INT_PTR(def.id)));
    }

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            RECT r;
            GetClientRect(Handle(), &r);
            DrawEdge(dc, &r, BDR_SUNKENINNER, BF_RECT);
            EndPaint(Handle(), &ps);
            return 0;
        }
        return Default(msg, wParam, lParam);
    }
};

// The scroll box of the palette: vertical scrolling only. It passes scrolling and its buttons'
// clicks to the main window, which owns the palette.
class TScrollBox : public ui::TWindow {
  public:
    explicit TScrollBox(TMainForm& form) : form(form) {}
    void Create(HWND parent) {
        RegisterWindowClass(ScrollBoxClass, 0, GetSysColorBrush(COLOR_BTNFACE));
        CreateHandle(WS_EX_CONTROLPARENT, ScrollBoxClass, L"",
                     WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL, 2, 2, 378, 69, parent);
        ShowScrollBar(Handle(), SB_VERT, FALSE);
    }

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_VSCROLL:
            form.ScrollBoxScroll(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            Wheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && lParam) {
                if (TEmotButton* b = form.ButtonFromHandle(reinterpret_cast<HWND>(lParam)))
                    form.EmotButtonClick(b);
            }
            return 0;
        default:
            return Default(msg, wParam, lParam);
        }
    }

  private:
    // One line per notch; fine-resolution wheels add up until a whole notch.
    void Wheel(int delta) {
        wheelRest += delta;
        while (wheelRest >= WHEEL_DELTA) {
            wheelRest -= WHEEL_DELTA;
            form.ScrollBoxScroll(SB_LINEUP, 0);
        }
        while (wheelRest <= -WHEEL_DELTA) {
            wheelRest += WHEEL_DELTA;
            form.ScrollBoxScroll(SB_LINEDOWN, 0);
        }
    }
    TMainForm& form;
    int wheelRest = 0;
};

HFONT MakeFont(const wchar_t* face, int pixels, bool bold) {
    return CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

std::vector<HWND> OwnedTopmostPopups(HWND owner) {
    struct TSearch {
        HWND owner;
        std::vector<HWND> found;
        static BOOL CALLBACK Visit(HWND wnd, LPARAM lp) {
            auto* s = reinterpret_cast<TSearch*>(lp);
            if (GetWindow(wnd, GW_OWNER) == s->owner &&
                (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST))
                s->found.push_back(wnd);
            return TRUE;
        }
    } search{owner, {}};
    EnumThreadWindows(GetCurrentThreadId(), &TSearch::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int PictureId(TMainControl c) {
    switch (c) {
    case mcMinimize:
        return IDB_MINIMIZE;
    case mcCustom:
        return IDB_CUSTOMIZE;
    case mcOrder:
        return IDB_ORDER;
    case mcAbout:
        return IDB_ABOUT;
    case mcHelp:
        return IDB_HELP;
    default:
        return 0;
    }
}

} // namespace

TMainForm::TMainForm() {
    MainForm = this;
}

TMainForm::~TMainForm() {
    // The window goes first: its last messages still reach this object's handlers.
    DestroyHandle();
    if (MainForm == this)
        MainForm = nullptr;
}

void TMainForm::Create(int nCmdShow) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    RegisterWindowClass(MainWindowClass, 0, GetSysColorBrush(COLOR_BTNFACE),
                        LoadIconW(inst, MAKEINTRESOURCEW(IDI_MAINICON)));
    // Disabled from the start: the window is never usable before the start-up step has run.
    CreateHandle(0, MainWindowClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_DISABLED, 0, 0,
                 MAINMINWIDTH, MAINMINHEIGHT);
    ui::Application.MainWindow = Handle();
    // Key preview: the window's single-key commands see keys before the focused control.
    ui::Application.OnKeyPress = [this](wchar_t key) { return FormKeyPress(key); };
    ui::Application.OnKeyDown = [this](WPARAM key) { return FormKeyDown(key); };
    FormCreate();
    ShowWindow(Handle(), nCmdShow);
    UpdateWindow(Handle());
    // A window that starts minimised does not paint, so the start-up step is asked for here.
    if (IsIconic(Handle()) && !blSplashProcDone)
        PostMessageW(Handle(), WM_HIDESPLASH, 0, 0);
}

void TMainForm::CreateControls() {
    HWND wnd = Handle();
    HINSTANCE inst = GetModuleHandleW(nullptr);
    windowFont.Reset(MakeFont(L"System", 13, false));
    sequenceFont.Reset(MakeFont(L"Arial", 16, true));
    hintFont.Reset(MakeFont(L"Arial", 13, false));
    editBrush.Reset(CreateSolidBrush(RGB(255, 255, 255)));
    SendMessageW(wnd, WM_SETFONT, WPARAM(windowFont.Get()), FALSE);

    // The tooltip has no owner: under Wine a topmost popup owned by the main window keeps the
    // main window itself out of the topmost band. It is destroyed with the main window.
    ToolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, inst, nullptr);

    for (const TControlDef& def : MainControls) {
        HMENU id = reinterpret_cast<HMENU>(INT_PTR(def.id));
        HWND control = nullptr;
        switch (def.kind) {
        case TControlKind::ckPictureButton: {
            HBITMAP picture = nullptr;
            const int pictureId = PictureId(def.control);
            if (FindResourceW(inst, MAKEINTRESOURCEW(pictureId),
                              reinterpret_cast<LPCWSTR>(RT_BITMAP)))
                picture = static_cast<HBITMAP>(LoadImageW(inst, MAKEINTRESOURCEW(pictureId),
                                                          IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
            const std::wstring label = ui::Widen(def.label);
            control = CreateWindowExW(
                0, L"BUTTON", label.c_str(),
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | (picture ? BS_BITMAP : 0),
                def.left, def.top, def.width, def.height, wnd, id, inst, nullptr);
            SendMessageW(control, WM_SETFONT, WPARAM(windowFont.Get()), FALSE);
            if (picture) {
                SendMessageW(control, BM_SETIMAGE, IMAGE_BITMAP, LPARAM(picture));
                toolbarPictures.emplace_back(picture);
            }
            if (ToolTip) {
                std::wstring hint = ui::Widen(def.hint);
                TTTOOLINFOW ti{};
                ti.cbSize = TTTOOLINFOW_V2_SIZE;
                ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
                ti.hwnd = wnd;
                ti.uId = reinterpret_cast<UINT_PTR>(control);
                ti.lpszText = hint.data();
                SendMessageW(ToolTip, TTM_ADDTOOLW, 0, LPARAM(&ti));
            }
            break;
        }
        case TControlKind::ckEdit:
            control =
                CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | WS_DISABLED | ES_READONLY | ES_AUTOHSCROLL,
                                def.left, def.top, def.width, def.height, wnd, id, inst, nullptr);
            SendMessageW(control, WM_SETFONT,
                         WPARAM(def.control == mcSequence ? sequenceFont.Get() : hintFont.Get()),
                         FALSE);
            SetWindowSubclass(control, ReadOnlyFieldProc, 1, 0);
            break;
        case TControlKind::ckPanel: {
            auto panel = std::make_unique<TPanel>();
            panel->Create(wnd, def);
            control = panel->Handle();
            auto box = std::make_unique<TScrollBox>(*this);
            box->Create(control);
            ButtonScrollBox = box->Handle();
            panelWindow = std::move(panel);
            scrollBoxWindow = std::move(box);
            break;
        }
        }
        if (!control)
            throw ui::TAppError("Window creation failed");
        switch (def.control) {
        case mcMinimize:
            MinimizeBitBtn = control;
            break;
        case mcCustom:
            CustomBitBtn = control;
            break;
        case mcOrder:
            OrderBitBtn = control;
            break;
        case mcAbout:
            AboutBitBtn = control;
            break;
        case mcHint:
            HintEdit = control;
            break;
        case mcHelp:
            HelpBitBtn = control;
            break;
        case mcSequence:
            SequenceEdit = control;
            break;
        case mcPanel:
            ScrollPanel = control;
            break;
        case mcCount:
            break;
        }
    }
    focusControl = HelpBitBtn;
}

void TMainForm::FormCreate() {
    ui::Application.Title = ui::Widen(MainWindowTitle);
    blAppIsActive = false;
    try {
        SplashForm = std::make_unique<TSplashForm>();
        SplashForm->Show();
    } catch (...) {
        SplashForm.reset();
    }
    EnableWindow(Handle(), FALSE);
    try {
        exePath = ui::ProgramFileName();
        ui::Application.HelpFile = ui::Widen(exePath.substr(0, exePath.find_last_of('.')) + ".hlp");
        ui::Application.OnMinimize = [this] { WhenAppMinimize(); };
        SetWindowTextW(Handle(), ui::Widen(MainWindowTitle).c_str());
        {
            TEmoticonsIniFile iniFile(exePath);
            iniFile.GetOptions(FOptions);
            EmotButtonList.clear();
            iniFile.GetButtons(EmotButtonList);
        }
        FMaxHSize = MaxHSize(EmotButtonList.size());
        PlaceWindow();
        LoadButtons();
        SetHotKey(FOptions.HotKey.blAlt, FOptions.HotKey.blCtrl, FOptions.HotKey.blShift,
                  FOptions.HotKey.iVirtCode);
        blSplashProcDone = false;
        blFocusFound = false;
        hActiveFocus = nullptr;
        hActiveWindow = nullptr;
        ui::Application.OnDeactivate = [this] { AppDeactivate(); };
        ui::Application.OnActivate = [this] { AppActivate(); };
        FOldPoint = {0, 0};
        if (FOptions.Insert.blEnabled && FOptions.Insert.blTrackWindows)
            SetMessageHook(WM_SENDTOHOOK, 0, 0, Handle(), WM_EXECNONACTIVEHOOKHANDLE);
    } catch (...) {
        // The window still comes up with what was set up so far; the start-up step enables it.
        SplashForm.reset();
    }
}

void TMainForm::PlaceWindow() {
    const TPlacement p = StartPlacement(FOptions.Rect, FMaxHSize, GetSystemMetrics(SM_CXSCREEN),
                                        GetSystemMetrics(SM_CYSCREEN));
    SetWindowPos(Handle(), nullptr, p.left, p.top, p.width, p.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::FormPaint() {
    if (!blSplashProcDone)
        PostMessageW(Handle(), WM_HIDESPLASH, 0, 0);
}

void TMainForm::WMHideSplash() {
    // Paints queue this message until the step has run; it runs once, also when a nested message
    // loop (the shell starting the start-up program) serves a second one while it runs.
    if (blSplashProcDone || hideSplashStarted)
        return;
    hideSplashStarted = true;
    struct TDone {
        bool& flag;
        ~TDone() { flag = true; }
    } done{blSplashProcDone};
    // A start-up program that cannot be started is not reported, and it must not keep the
    // window disabled.
    try {
        if (FOptions.blExeStart && !FOptions.sExePath.empty())
            StartUpLoad();
    } catch (...) {
    }
    KeepSplash(1500);
    // Enabled before the splash goes, so the activation passes from the splash to this window.
    EnableWindow(Handle(), TRUE);
    SplashForm.reset();
    focusControl = MinimizeBitBtn;
    if (GetActiveWindow() == Handle())
        SetFocus(MinimizeBitBtn);
    if (FOptions.Style == stAlwaysOnTop)
        SetStyle(stAlwaysOnTop);
}

void TMainForm::KeepSplash(DWORD ms) {
    // The thread serves no messages meanwhile, except that the splash may repaint itself: some
    // window systems only put a window on screen once its thread looks at the queue.
    const ULONGLONG end = GetTickCount64() + ms;
    HWND splash = SplashForm ? SplashForm->Handle() : nullptr;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MSG m;
        while (splash && PeekMessageW(&m, splash, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageW(&m);
        Sleep(DWORD(std::min<ULONGLONG>(end - now, 20)));
    }
}

void TMainForm::StartUpLoad() {
    // The path is handed to the shell as it is: no command interpreter, no length limit, and a
    // path with blanks stays one path. A failure is not reported.
    ShellExecuteW(Handle(), L"open", ui::Widen(FOptions.sExePath).c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

void TMainForm::FormClose() {
    if (closeDone)
        return;
    closeDone = true;
    if (FOptions.Style == stAlwaysOnTop)
        SetStyle(stNormal);
    if (KeyboardIsHooked())
        UnHookKeyboard();
    if (MessagesAreHooked())
        UnHookMessages();

    RECT r{};
    GetWindowRect(Handle(), &r);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    // Minimised or maximised, the window's own place is its restored one. That is kept in
    // work-area coordinates, so it is moved by the work area's offset on its monitor.
    if ((IsIconic(Handle()) || IsZoomed(Handle())) && GetWindowPlacement(Handle(), &wp)) {
        r = wp.rcNormalPosition;
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY), &mi))
            OffsetRect(&r, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
    }
    FOptions.Rect = SavedRect(r.left, r.top, r.right, r.bottom);

    try {
        TEmoticonsIniFile iniFile(exePath.empty() ? ui::ProgramFileName() : exePath);
        iniFile.SetOptions(FOptions);
        iniFile.SetButtons(EmotButtonList);
        iniFile.Save();
    } catch (...) {
        MessageBoxW(Handle(), L"INI File could not be stored", ui::Widen(MainWindowTitle).c_str(),
                    0);
    }
}

void TMainForm::FormResize() {
    if (!ButtonScrollBox)
        return;
    ScrollPos = 0;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_POS;
    si.nPos = 0;
    SetScrollInfo(ButtonScrollBox, SB_VERT, &si, FALSE);
    ShowScrollBar(ButtonScrollBox, SB_VERT, FALSE);

    RECT r{};
    GetWindowRect(Handle(), &r);
    const TPanelSize s = PanelSize(r.right - r.left, r.bottom - r.top);
    SetWindowPos(ScrollPanel, nullptr, 0, 0, s.panelWidth, s.panelHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(ButtonScrollBox, nullptr, 2, 2, s.boxWidth, s.boxHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutButtons();
}

void TMainForm::WMGetMinMaxInfo(MINMAXINFO* info) {
    if (!info)
        throw ui::TAppError("Min-Max info setup problems");
    info->ptMinTrackSize = {MAINMINWIDTH, MAINMINHEIGHT};
    info->ptMaxTrackSize.y = FMaxHSize;
}

void TMainForm::SetStyle(uint8_t style) {
    if (style != stAlwaysOnTop) {
        SetWindowZOrder(Handle(), HWND_NOTOPMOST);
        return;
    }
    // Wine places a window below its own topmost popups (tooltips) instead of into the topmost
    // band, so those popups are let go while the window moves and owned again afterwards.
    const std::vector<HWND> popups = OwnedTopmostPopups(Handle());
    for (HWND p : popups)
        SetWindowLongPtrW(p, GWLP_HWNDPARENT, 0);
    SetWindowZOrder(Handle(), HWND_TOPMOST);
    for (HWND p : popups)
        SetWindowLongPtrW(p, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(Handle()));
}

void TMainForm::AppMinimize() {
    FOldPoint = {0, 0};
    ShowWindow(Handle(), SW_MINIMIZE);
}

void TMainForm::WhenAppMinimize() {
    FOldPoint = {0, 0};
}

void TMainForm::AppActivate() {
    blAppIsActive = true;
}

void TMainForm::AppDeactivate() {
    ClearFocusData();
    blAppIsActive = false;
}

void TMainForm::AppAbout() {
    SetStyle(stNormal);
    try {
        ShowAboutBox("");
    } catch (...) {
        SetStyle(FOptions.Style);
        throw;
    }
    SetStyle(FOptions.Style);
}

void TMainForm::AppCustomize() {
    SetStyle(stNormal);
    if (MessagesAreHooked())
        UnHookMessages();
    if (KeyboardIsHooked())
        UnHookKeyboard();
    // The options dialog runs here once it exists; the hooks and the style come back in any case.
    if (FOptions.Insert.blEnabled && FOptions.Insert.blTrackWindows)
        SetMessageHook(WM_SENDTOHOOK, 0, 0, Handle(), WM_EXECNONACTIVEHOOKHANDLE);
    SetHotKey(FOptions.HotKey.blAlt, FOptions.HotKey.blCtrl, FOptions.HotKey.blShift,
              FOptions.HotKey.iVirtCode);
    SetStyle(FOptions.Style);
}

void TMainForm::HelpBitBtnClick() {
    ui::Application.ShowHelp(Handle());
}

void TMainForm::OrderBitBtnClick() {
    SetStyle(stNormal);
    // The order dialog runs here once it exists.
    SetStyle(FOptions.Style);
}

void TMainForm::ControlClick(HWND control) {
    if (!control)
        return;
    if (control == MinimizeBitBtn)
        AppMinimize();
    else if (control == CustomBitBtn)
        AppCustomize();
    else if (control == OrderBitBtn)
        OrderBitBtnClick();
    else if (control == AboutBitBtn)
        AppAbout();
    else if (control == HelpBitBtn)
        HelpBitBtnClick();
    else if (TEmotButton* b = ButtonFromHandle(control))
        EmotButtonClick(b);
}

LRESULT TMainForm::WMCommand(WPARAM wParam, LPARAM lParam) {
    // Clicks come as BN_CLICKED from the button. Enter comes from the dialog navigation as IDOK,
    // naming no control: it presses the button that has the focus. Esc (IDCANCEL) is handled by
    // the key preview.
    if (HIWORD(wParam) != BN_CLICKED || LOWORD(wParam) == IDCANCEL)
        return 0;
    HWND control = reinterpret_cast<HWND>(lParam);
    if (LOWORD(wParam) == IDOK && !(control && IsChild(Handle(), control)))
        control = GetFocus();
    if (control && IsChild(Handle(), control))
        ControlClick(control);
    return 0;
}

LRESULT TMainForm::WMCtlColorStatic(HDC dc) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(editBrush.Get());
}

void TMainForm::WMActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus))
            focusControl = focus;
        return;
    }
    if (HIWORD(wParam) || !IsWindowEnabled(Handle()))
        return;
    if (focusControl && IsWindow(focusControl) && IsChild(Handle(), focusControl))
        SetFocus(focusControl);
    else
        SetFocus(Handle());
}

LRESULT TMainForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ui::Application.MainWindowMessage(Handle(), msg, wParam, lParam, &result))
        return result;
    switch (msg) {
    case WM_CREATE:
        CreateControls();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(Handle(), &ps);
        EndPaint(Handle(), &ps);
        FormPaint();
        return 0;
    }
    case WM_HIDESPLASH:
        WMHideSplash();
        return 0;
    case WM_GETMINMAXINFO:
        Default(msg, wParam, lParam);
        WMGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            FormResize();
        return 0;
    case WM_ACTIVATE:
        WMActivate(wParam);
        return 0;
    case WM_COMMAND:
        return WMCommand(wParam, lParam);
    case WM_CTLCOLORSTATIC:
        return WMCtlColorStatic(reinterpret_cast<HDC>(wParam));
    case WM_EXECACTIVEHOOKHANDLE:
        WMExecActiveHookHandle(wParam, lParam);
        return 0;
    case WM_EXECNONACTIVEHOOKHANDLE:
        WMExecNonActiveHookHandle(wParam, lParam);
        return 0;
    case WM_CLOSE:
        FormClose();
        DestroyWindow(Handle());
        return 0;
    case WM_ENDSESSION:
        if (wParam)
            FormClose();
        return 0;
    case WM_DESTROY:
        FormClose();
        if (ToolTip) {
            DestroyWindow(ToolTip);
            ToolTip = nullptr;
        }
        if (ui::Application.MainWindow == Handle())
            ui::Application.MainWindow = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

#include "app/Main_win.h"

#include "about/Engabout_win.h"
#include "app/Splash_win.h"
#include "app/resource.h"
#include "dialogs/OptionsDlg_win.h"
#include "dialogs/OrderDlg_win.h"
#include "dialogs/OrderLst.h"
#include "settings/AbsPath.h"
#include "ui/Application_win.h"
#include "ui/Help_win.h"
#include "ui/Subclass_win.h"

#include <algorithm>
#include <commctrl.h>

namespace {

// The sequence and hint fields are disabled so that they never take the focus, but a disabled edit
// draws its text grey whatever its parent asks for. They paint their own text in black on white.
LRESULT ReadOnlyFieldProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_PAINT)
        return DefSubclassProc(wnd, msg, wParam, lParam);
    ui::TPaint paint(wnd);
    RECT rc;
    GetClientRect(wnd, &rc);
    FillRect(paint.Dc(), &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    // A sequence and its hint are at most 198 characters; a fixed buffer keeps this callback free
    // of anything that could throw.
    wchar_t text[256];
    const int len = GetWindowTextW(wnd, text, 256);
    ui::TSelectObject font(paint.Dc(),
                           reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0)));
    SetTextColor(paint.Dc(), RGB(0, 0, 0));
    SetBkMode(paint.Dc(), TRANSPARENT);
    // The edit control's own left margin and top line.
    rc.left += 2;
    rc.top += 1;
    DrawTextW(paint.Dc(), text, len, &rc,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    return 0;
}

constexpr wchar_t PanelClass[] = L"TMoodpadPanel";

// The hourglass while the palette is rebuilt; the cursor before it comes back however the rebuild
// ends.
class THourglass {
  public:
    THourglass() : previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~THourglass() { SetCursor(previous); }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;

  private:
    HCURSOR previous;
};

// The controls in tab order, at their design places (pixels at 96 dpi, scaled with the window).
// Fonts: 0 the window's, 1 the sequence field's, 2 the hint field's.
constexpr DWORD PICTUREBUTTON = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD READONLYFIELD = WS_DISABLED | ES_READONLY | ES_AUTOHSCROLL;
const std::array<ui::TControlDef, mcCount> MainTable = {{
    {WC_BUTTONW, L"Minimize", MainControlIds[mcMinimize], 8, 3, 89, 28, PICTUREBUTTON, 0, 0,
     IDB_MINIMIZE, L"Minimize window"},
    {WC_BUTTONW, L"Customize", MainControlIds[mcCustom], 106, 3, 89, 28, PICTUREBUTTON, 0, 0,
     IDB_CUSTOMIZE, L"Customize options"},
    {WC_BUTTONW, L"Order", MainControlIds[mcOrder], 203, 3, 89, 28, PICTUREBUTTON, 0, 0, IDB_ORDER,
     L"Order buttons"},
    {WC_BUTTONW, L"About", MainControlIds[mcAbout], 301, 3, 89, 28, PICTUREBUTTON, 0, 0, IDB_ABOUT,
     L"About Moodpad"},
    {WC_EDITW, L"", MainControlIds[mcHint], 8, 68, 382, 24, READONLYFIELD, WS_EX_CLIENTEDGE, 2},
    {WC_BUTTONW, L"Help", MainControlIds[mcHelp], 301, 35, 89, 28, PICTUREBUTTON, 0, 0, IDB_HELP,
     L"Show help file"},
    {WC_EDITW, L"", MainControlIds[mcSequence], 8, 35, 289, 27, READONLYFIELD, WS_EX_CLIENTEDGE, 1},
    {PanelClass, L"", MainControlIds[mcPanel], 8, 96, 382, 73, WS_CLIPCHILDREN,
     WS_EX_CONTROLPARENT},
}};

} // namespace

// A frame with a lowered inner bevel that hosts the palette for dialog navigation.
class TPanel : public ui::TWindow {
  public:
    // The panel is made by the main window's control table, which binds it to this object.
    static void Register() { RegisterWindowClass(PanelClass, 0, GetSysColorBrush(COLOR_BTNFACE)); }

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PAINT) {
            ui::TPaint paint(Handle());
            RECT r;
            GetClientRect(Handle(), &r);
            DrawEdge(paint.Dc(), &r, BDR_SUNKENINNER, BF_RECT);
            return 0;
        }
        return Default(msg, wParam, lParam);
    }
};

TMainForm::TMainForm() = default;

TMainForm::~TMainForm() {
    // The window goes first: its last messages still reach this object's handlers.
    DestroyHandle();
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

void TMainForm::ScaleControls() {
    // The old fonts are let go only when every control holds a new one.
    const std::array<ui::TUniqueFont, 3> old = std::move(fonts);
    fonts = {ui::MakeFont(L"System", 13, dpi), ui::MakeFont(L"Arial", 16, dpi, true),
             ui::MakeFont(L"Arial", 13, dpi)};
    SendMessageW(Handle(), WM_SETFONT, WPARAM(fonts[0].Get()), FALSE);
    const HFONT handles[] = {fonts[0].Get(), fonts[1].Get(), fonts[2].Get()};
    if (controls[mcPanel]) {
        controls.Rescale(handles, dpi);
        return;
    }
    std::array<void*, mcCount> params{};
    params[mcPanel] = panel.get();
    controls.Create(Handle(), MainTable, handles, dpi, params);
}

void TMainForm::CreateControls() {
    dpi = ui::WindowDpi(Handle());
    panel = std::make_unique<TPanel>();
    TPanel::Register();
    ScaleControls();
    for (TMainControl field : {mcSequence, mcHint})
        ui::Subclass(controls[field], ReadOnlyFieldProc);
    const TPanelSize s = PanelSize(ScaleTo(MAINMINWIDTH, dpi), ScaleTo(MAINMINHEIGHT, dpi), dpi);
    palette = std::make_unique<TPaletteWindow>(static_cast<TPaletteEvents&>(*this));
    palette->Create(controls[mcPanel], PALETTEID, ScaleTo(2, dpi), ScaleTo(2, dpi), s.boxWidth,
                    s.boxHeight);
    palette->SetDpi(dpi);
    focusControl = controls[mcHelp];
}

void TMainForm::WMDpiChanged(int newDpi, const RECT* suggested) {
    dpi = newDpi;
    ScaleControls();
    FMaxHSize = MaxHSize(EmotButtonList.size(), dpi);
    palette->SetDpi(dpi);
    SetWindowPos(Handle(), nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The same outer size sends no WM_SIZE, and the panel's place has changed all the same.
    FormResize();
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TMainForm::FormCreate() {
    blAppIsActive = false;
    try {
        splashForm = std::make_unique<TSplashForm>();
        splashForm->Show();
    } catch (...) {
        splashForm.reset();
    }
    EnableWindow(Handle(), FALSE);
    try {
        exePath = ui::ProgramFileNameUtf8();
        ui::Application.OnMinimize = [this] { WhenAppMinimize(); };
        SetWindowTextW(Handle(), ui::Widen(MainWindowTitle).c_str());
        {
            TEmoticonsIniFile iniFile(exePath);
            // A Unicode settings file makes every text of the program UTF-8, the program's own
            // directory included, against which the face directory is resolved.
            ui::SetUtf8Text(iniFile.UnicodeText());
            SetAbsolutePath(ui::ProgramFileName());
            iniFile.GetOptions(FOptions);
            sPostClasses = iniFile.GetPostClasses();
            EmotButtonList.clear();
            iniFile.GetButtons(EmotButtonList);
            blSettingsUnread = iniFile.Unreadable();
        }
        FMaxHSize = MaxHSize(EmotButtonList.size(), dpi);
        PlaceWindow();
        LoadButtons();
        tracker = std::make_unique<TTargetTracker>(Handle());
        blSplashProcDone = false;
        ui::Application.OnDeactivate = [this] { AppDeactivate(); };
        ui::Application.OnActivate = [this] { AppActivate(); };
        FOldPoint = {0, 0};
        tracker->Apply(FOptions);
    } catch (...) {
        // The window still comes up with what was set up so far; the start-up step enables it.
        splashForm.reset();
    }
}

void TMainForm::PlaceWindow() {
    const TPlacement p = StartPlacement(FOptions.Rect, FMaxHSize, GetSystemMetrics(SM_CXSCREEN),
                                        GetSystemMetrics(SM_CYSCREEN), dpi);
    SetWindowPos(Handle(), nullptr, p.left, p.top, p.width, p.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::ShowNotice(const char* text) {
    // The splash is topmost: a notice during start-up is owned by it, which keeps the box above
    // it, or the start would wait on a box the user cannot see.
    MessageBoxA(splashForm ? splashForm->Handle() : Handle(), text, MainWindowTitle, 0);
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
    // The splash stays for 1.5 s; the palette's pictures are read meanwhile, with any notice about
    // them above the splash.
    LARGE_INTEGER freq, now;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&now);
    const long long holdEnd = now.QuadPart + freq.QuadPart * 3 / 2;
    if (picturesPending)
        ReadPictures();
    KeepSplash(holdEnd);
    // Enabled before the splash goes, so the activation passes from the splash to this window.
    EnableWindow(Handle(), TRUE);
    splashForm.reset();
    focusControl = controls[mcMinimize];
    if (GetActiveWindow() == Handle())
        SetFocus(focusControl);
    if (FOptions.Style == stAlwaysOnTop)
        SetStyle(stAlwaysOnTop);
}

void TMainForm::KeepSplash(long long end) {
    // The thread serves no messages meanwhile, except that the splash may repaint itself: some
    // window systems only put a window on screen once its thread looks at the queue. The deadline
    // is measured with the performance counter, so the hold ends on time rather than up to a
    // timer tick late.
    LARGE_INTEGER freq, now;
    QueryPerformanceFrequency(&freq);
    HWND splash = splashForm ? splashForm->Handle() : nullptr;
    for (;;) {
        MSG m;
        while (splash && PeekMessageW(&m, splash, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageW(&m);
        QueryPerformanceCounter(&now);
        if (now.QuadPart >= end)
            return;
        const long long left = (end - now.QuadPart) * 1000 / freq.QuadPart;
        Sleep(static_cast<DWORD>(std::min(left, 20LL)));
    }
}

void TMainForm::StartUpLoad() {
    // The path is handed to the shell as it is: no command interpreter, no length limit, and a
    // path with blanks stays one path. A failure is not reported.
    ShellOpen(Handle(), ui::Widen(FOptions.sExePath));
}

void TMainForm::FormClose() {
    if (closeDone)
        return;
    closeDone = true;
    if (FOptions.Style == stAlwaysOnTop)
        SetStyle(stNormal);
    if (tracker)
        tracker->Suspend();

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
        // What could not be read at start is not ours to replace: the options and buttons in
        // memory are only the defaults.
        if (blSettingsUnread)
            throw TIniWriteError{};
        TEmoticonsIniFile iniFile(exePath.empty() ? ui::ProgramFileNameUtf8() : exePath);
        iniFile.SetOptions(FOptions);
        iniFile.SetPostClasses(sPostClasses);
        iniFile.SetButtons(EmotButtonList);
        iniFile.Save();
    } catch (...) {
        MessageBoxA(Handle(), "INI File could not be stored", MainWindowTitle, 0);
    }
}

void TMainForm::FormResize() {
    RECT r{};
    GetWindowRect(Handle(), &r);
    const TPanelSize s = PanelSize(r.right - r.left, r.bottom - r.top, dpi);
    SetWindowPos(controls[mcPanel], nullptr, 0, 0, s.panelWidth, s.panelHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (palette)
        palette->SetBounds(ScaleTo(2, dpi), ScaleTo(2, dpi), s.boxWidth, s.boxHeight);
}

void TMainForm::WMGetMinMaxInfo(MINMAXINFO* info) {
    if (!info)
        throw ui::TAppError("Min-Max info setup problems");
    info->ptMinTrackSize = {ScaleTo(MAINMINWIDTH, dpi), ScaleTo(MAINMINHEIGHT, dpi)};
    info->ptMaxTrackSize.y = FMaxHSize;
}

void TMainForm::SetStyle(uint8_t style) {
    if (style != stAlwaysOnTop) {
        ui::SetWindowZOrder(Handle(), HWND_NOTOPMOST);
        return;
    }
    // Wine places a window below its own topmost popups (tooltips) instead of into the topmost
    // band, so those popups are let go while the window moves and owned again afterwards.
    const ui::TWindowList popups = ui::OwnedTopmostPopups(Handle());
    for (HWND p : popups)
        SetWindowLongPtrW(p, GWLP_HWNDPARENT, 0);
    ui::SetWindowZOrder(Handle(), HWND_TOPMOST);
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

// A dialog or the about box takes the window out of the topmost band while it is open; the style
// in force comes back however it closes, also when it raises.
class TMainForm::TOutOfTopmost {
  public:
    explicit TOutOfTopmost(TMainForm& form) : form(form) { form.SetStyle(stNormal); }
    TOutOfTopmost(const TOutOfTopmost&) = delete;
    TOutOfTopmost& operator=(const TOutOfTopmost&) = delete;
    ~TOutOfTopmost() { form.SetStyle(form.FOptions.Style); }

  private:
    TMainForm& form;
};

void TMainForm::AppAbout() {
    TOutOfTopmost dialog(*this);
    ShowAboutBox("");
}

bool TMainForm::NewPicturePath(const std::string& path) {
    if (path == FOptions.sPicturePath)
        return false;
    FOptions.sPicturePath = path;
    return true;
}

void TMainForm::AppCustomize() {
    // While the dialog is open the window leaves the topmost band and neither hook is in, so the
    // hot key can be typed into the dialog's field without summoning the palette. Both come back
    // from the options in force when it closes, however it closes.
    TOutOfTopmost dialog(*this);
    tracker->Suspend();
    struct THooksBack {
        TMainForm& form;
        ~THooksBack() { form.tracker->Apply(form.FOptions); }
    } hooksBack{*this};
    TEmoticonsOptions options = FOptions;
    TButtonList order;
    SetOrderList(order);
    if (RunOptionsDialog(Handle(), options, order))
        ApplyOptions(options, order);
}

void TMainForm::ApplyOptions(const TEmoticonsOptions& options, const TButtonList& order) {
    const bool newPath = NewPicturePath(NormalisePicturePath(options.sPicturePath));
    const std::string path = FOptions.sPicturePath;
    // The placement is not edited by the dialog: it is measured anew at the close.
    const TOptionsRect rect = FOptions.Rect;
    FOptions = options;
    FOptions.sPicturePath = path;
    FOptions.Rect = rect;
    const bool newOrder = GetOrderList(order);
    // One rebuild for both changes.
    if (newPath || newOrder)
        RebuildPalette();
}

void TMainForm::RebuildPalette() {
    THourglass wait;
    KillButtons();
    LoadButtons();
}

void TMainForm::HelpBitBtnClick() {
    ui::Application.ShowHelp(Handle());
}

void TMainForm::SetOrderList(TButtonList& list) const {
    list = EmotButtonList;
}

bool TMainForm::GetOrderList(const TButtonList& list) {
    return TakeOrderList(list, EmotButtonList);
}

void TMainForm::OrderBitBtnClick() {
    TButtonList order;
    SetOrderList(order);
    TOutOfTopmost dialog(*this);
    if (RunOrderDialog(Handle(), order) && GetOrderList(order))
        RebuildPalette();
}

void TMainForm::ControlClick(HWND control) {
    using TAction = void (TMainForm::*)();
    static constexpr std::pair<TMainControl, TAction> actions[] = {
        {mcMinimize, &TMainForm::AppMinimize},
        {mcCustom, &TMainForm::AppCustomize},
        {mcOrder, &TMainForm::OrderBitBtnClick},
        {mcAbout, &TMainForm::AppAbout},
        {mcHelp, &TMainForm::HelpBitBtnClick}};
    const auto which = controls.FromHandle(control);
    for (const auto& [c, action] : actions)
        if (which == c)
            return (this->*action)();
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
        ui::TPaint paint(Handle());
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
    case WM_DPICHANGED:
        WMDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_COMMAND:
        return WMCommand(wParam, lParam);
    case WM_CTLCOLORSTATIC:
        // The read-only fields are white, also behind the text they paint themselves.
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
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
        tracker.reset();
        if (ui::Application.MainWindow == Handle())
            ui::Application.MainWindow = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

#include "dialogs/OptionsDlg_win.h"

#include "dialogs/DirSel_win.h"
#include "dialogs/OrderDlg_win.h"
#include "ui/Application_win.h"
#include "ui/Subclass_win.h"
#include "ui/Window_win.h"

#include <commctrl.h>
#include <cderr.h>
#include <commdlg.h>

#include <utility>

namespace {

// Posted by the hot-key field when it loses the focus while empty: the focus goes back once the
// change of focus (and the click that caused it) has been served.
constexpr UINT WM_HOTKEYEXIT = WM_APP + 1;

constexpr DWORD Tab = WS_TABSTOP;
constexpr DWORD Check = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD Group = BS_GROUPBOX | WS_GROUP;
constexpr DWORD Push = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD EditStyle = ES_AUTOHSCROLL | WS_TABSTOP;

// A control at left, top, width, height, inside the entry `origin` when given.
constexpr ui::TControlDef Def(const wchar_t* cls, const wchar_t* text, int id, int left, int top,
                              int width, int height, DWORD style, int origin = -1,
                              DWORD exStyle = 0) {
    return {.cls = cls,
            .text = text,
            .id = id,
            .left = left,
            .top = top,
            .width = width,
            .height = height,
            .style = style,
            .exStyle = exStyle,
            .origin = origin};
}

// In tab order. Controls inside a group box are placed relative to it (origin) but are children
// of the dialog, as the bottom buttons are drawn over the panel.
const std::array<ui::TControlDef, ocOptionsCount> OptionsTable = {{
    Def(WC_BUTTONW, L"Path to button &faces", oiGroup, 8, 8, 305, 49, Group),
    Def(WC_EDITW, L"", oiPicturePath, 8, 16, 209, 20, EditStyle | WS_GROUP, PathGroupBox,
        WS_EX_CLIENTEDGE),
    Def(WC_BUTTONW, L"Bro&wse..", oiBrowsePath, 223, 16, 76, 23, Push, PathGroupBox),
    Def(WC_BUTTONW, L"&Start application on load", oiGroup, 8, 64, 305, 73, Group),
    Def(WC_EDITW, L"", oiApp, 8, 16, 290, 20, EditStyle | WS_GROUP, AppGroupBox, WS_EX_CLIENTEDGE),
    Def(WC_BUTTONW, L"&Enabled", oiStart, 8, 45, 89, 17, Check, AppGroupBox),
    Def(WC_BUTTONW, L"&Clear", oiClear, 142, 40, 76, 23, Push, AppGroupBox),
    Def(WC_BUTTONW, L"B&rowse..", oiBrowseApp, 223, 40, 76, 23, Push, AppGroupBox),
    Def(WC_BUTTONW, L"Hot Ke&y", oiGroup, 8, 144, 209, 49, Group),
    Def(HOTKEY_CLASSW, L"", oiHotKey, 8, 16, 193, 19, Tab | WS_GROUP, HotKeyGroupBox,
        WS_EX_CLIENTEDGE),
    Def(WC_BUTTONW, L"&Order..", oiOrder, 231, 160, 76, 23, Push | WS_GROUP),
    Def(WC_BUTTONW, L"E&xtra spacing", oiGroup, 8, 200, 305, 41, Group),
    Def(WC_BUTTONW, L"Add space &before", oiSpaceBefore, 8, 16, 113, 17, Check | WS_GROUP,
        ExtraBox),
    Def(WC_BUTTONW, L"Add space af&ter", oiSpaceAfter, 152, 16, 121, 17, Check, ExtraBox),
    Def(WC_BUTTONW, L"&Autoinsert", oiGroup, 8, 248, 137, 97, Group),
    Def(WC_BUTTONW, L"E&nabled", oiInsEnable, 8, 13, 113, 17, Check | WS_GROUP, InsertGroupBox),
    Def(WC_BUTTONW, L"Trac&k windows", oiTrack, 8, 32, 113, 17, Check, InsertGroupBox),
    Def(WC_BUTTONW, L"Use cli&pboard", oiClip, 8, 56, 113, 17,
        BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, InsertGroupBox),
    Def(WC_BUTTONW, L"Use key e&vents", oiKey, 8, 74, 113, 17, BS_AUTORADIOBUTTON, InsertGroupBox),
    Def(WC_BUTTONW, L"W&indow style", oiGroup, 152, 248, 161, 73, Group),
    Def(WC_BUTTONW, L"&Usual window", oiStyleUsual, 8, 16, 145, 17,
        BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, WindowStyleGroup),
    Def(WC_BUTTONW, L"A&lways on top", oiStyleOnTop, 8, 34, 145, 17, BS_AUTORADIOBUTTON,
        WindowStyleGroup),
    Def(WC_BUTTONW, L"&Minimize on select", oiStyleMinimize, 8, 52, 145, 17, BS_AUTORADIOBUTTON,
        WindowStyleGroup),
    Def(WC_BUTTONW, L"Allow &Drag-and-Drop", oiDragDrop, 160, 328, 153, 17, Check | WS_GROUP),
    Def(WC_STATICW, L"", oiGroup, 8, 352, 305, 41, SS_ETCHEDFRAME | WS_GROUP),
    Def(WC_BUTTONW, L"OK", IDOK, 69, 363, 76, 23, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP),
    Def(WC_BUTTONW, L"Cancel", IDCANCEL, 150, 363, 76, 23, Push),
    Def(WC_BUTTONW, L"&Help", oiHelp, 231, 363, 76, 23, Push),
    // The one row added below the others, so that every other control keeps its place.
    Def(WC_BUTTONW, L"Type into windows that i&gnore pasting", oiKeyboard, 16, 400, 297, 17,
        Check | WS_GROUP),
}};

constexpr std::array<TOptionsControl, 3> StyleItems = {StyleUsual, StyleOnTop, StyleMinimize};

} // namespace

// The caption is the program's title followed by " Options".
TEmoticonsDlg::TEmoticonsDlg() : TDialog(ui::Widen(MainWindowTitle) + L" Options", 320, 424) {}

HWND TEmoticonsDlg::OnInit() {
    font = ui::MakeFont(L"MS Sans Serif", 11, Dpi());
    const HFONT fonts[] = {font.Get()};
    controls.Create(Handle(), OptionsTable, fonts, Dpi());
    SendMessageW(controls[AppEdit], EM_LIMITTEXT, 255, 0);
    // Every combination is accepted as the control sees it; a bare key is refused by HotKeyProc.
    SendMessageW(controls[HotKey1], HKM_SETRULES, HKCOMB_NONE, 0);
    ui::Subclass(controls[HotKey1], this, &TEmoticonsDlg::HotKeyProc);
    ShowFields(fields);
    return controls[PicturePathEdit];
}

void TEmoticonsDlg::SetEmoticonsOptions(TEmoticonsOptions p_Options) {
    fields = FieldsFromOptions(p_Options);
    if (Handle())
        ShowFields(fields);
}

TEmoticonsOptions TEmoticonsDlg::GetEmoticonsOptions() const {
    return OptionsFromFields(Handle() ? ReadFields() : fields);
}

bool TEmoticonsDlg::Checked(TOptionsControl c) const {
    return SendMessageW(controls[c], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TEmoticonsDlg::Check(TOptionsControl c, bool on) {
    SendMessageW(controls[c], BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TEmoticonsDlg::ShowFields(const TOptionsFields& f) {
    SetWindowTextW(controls[PicturePathEdit], ui::Widen(f.picturePath).c_str());
    SetWindowTextW(controls[AppEdit], ui::Widen(f.exePath).c_str());
    Check(StartCheckBox, f.exeStart);
    StartCheckBoxClick();
    for (std::size_t i = 0; i < StyleItems.size(); ++i)
        Check(StyleItems[i], int(i) == f.styleItem);
    Check(DragDrop, f.dragDrop);
    Check(InsEnableCheckBox, f.insEnabled);
    Check(TrackCheckBox, f.trackWindows);
    Check(ClipRadioButton, f.useClipboard);
    Check(KeyRadioButton, !f.useClipboard);
    Check(KeyboardCheckBox, f.keyboard);
    InsEnableCheckBoxClick();
    SendMessageW(controls[HotKey1], HKM_SETHOTKEY, f.hotKey, 0);
    Check(SpaceBeforeCheckBox, f.spaceBefore);
    Check(SpaceAfterCheckBox, f.spaceAfter);
}

TOptionsFields TEmoticonsDlg::ReadFields() const {
    TOptionsFields f;
    f.picturePath = ui::Narrow(ui::WindowText(controls[PicturePathEdit]));
    f.exePath = ui::Narrow(ui::WindowText(controls[AppEdit]));
    f.exeStart = Checked(StartCheckBox);
    for (std::size_t i = 0; i < StyleItems.size(); ++i)
        if (Checked(StyleItems[i]))
            f.styleItem = int(i);
    f.dragDrop = Checked(DragDrop);
    f.insEnabled = Checked(InsEnableCheckBox);
    f.trackWindows = Checked(TrackCheckBox);
    f.useClipboard = Checked(ClipRadioButton);
    f.keyboard = Checked(KeyboardCheckBox);
    f.hotKey = LOWORD(SendMessageW(controls[HotKey1], HKM_GETHOTKEY, 0, 0));
    f.spaceBefore = Checked(SpaceBeforeCheckBox);
    f.spaceAfter = Checked(SpaceAfterCheckBox);
    return f;
}

void TEmoticonsDlg::StartCheckBoxClick() {
    const bool on = Checked(StartCheckBox);
    for (TOptionsControl c : {AppEdit, BrowseAppButton, ClearButton})
        EnableWindow(controls[c], on);
}

void TEmoticonsDlg::InsEnableCheckBoxClick() {
    const bool on = Checked(InsEnableCheckBox);
    for (TOptionsControl c : {TrackCheckBox, ClipRadioButton, KeyRadioButton, KeyboardCheckBox})
        EnableWindow(controls[c], on);
}

void TEmoticonsDlg::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED)
        return;
    using TClick = void (TEmoticonsDlg::*)();
    static constexpr std::pair<TOptionsControl, TClick> clicks[] = {
        {BrowsePathButton, &TEmoticonsDlg::BrowsePathButtonClick},
        {StartCheckBox, &TEmoticonsDlg::StartCheckBoxClick},
        {ClearButton, &TEmoticonsDlg::ClearButtonClick},
        {BrowseAppButton, &TEmoticonsDlg::BrowseAppButtonClick},
        {OrderButton, &TEmoticonsDlg::OrderButtonClick},
        {InsEnableCheckBox, &TEmoticonsDlg::InsEnableCheckBoxClick},
        {HelpBtn, &TEmoticonsDlg::HelpBitBtnClick}};
    const auto which = controls.FromId(id);
    for (const auto& [c, click] : clicks)
        if (which == c)
            return (this->*click)();
}

void TEmoticonsDlg::OnOK() {
    const TOptionsFields f = ReadFields();
    // Enter right after Backspace emptied the field would otherwise store no hot key at all.
    if (!HotKeyAcceptable(f.hotKey)) {
        MessageBeep(MB_OK);
        SendMessageW(Handle(), WM_NEXTDLGCTL, WPARAM(controls[HotKey1]), TRUE);
        return;
    }
    fields = f;
    End(IDOK);
}

LRESULT TEmoticonsDlg::HotKeyProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT r = DefSubclassProc(wnd, msg, wParam, lParam);
    // The control takes a key from its key press and again from the character it makes.
    const bool key =
        msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_CHAR || msg == WM_SYSCHAR;
    if (!key && msg != WM_KILLFOCUS)
        return r;
    const WORD value = LOWORD(SendMessageW(wnd, HKM_GETHOTKEY, 0, 0));
    if (key && (value & 0xFF) && !HotKeyAcceptable(value))
        SendMessageW(wnd, HKM_SETHOTKEY, 0, 0);
    // Taking the focus back here would cancel the click that moved it (a button loses its
    // capture with the focus), so that waits for the posted message.
    if (msg == WM_KILLFOCUS && !(value & 0xFF))
        PostMessageW(Handle(), WM_HOTKEYEXIT, 0, 0);
    return r;
}

bool TEmoticonsDlg::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != WM_HOTKEYEXIT)
        return false;
    HotKey1Exit();
    result = 0;
    return true;
}

void TEmoticonsDlg::HotKey1Exit() {
    const HWND focus = GetFocus();
    // The focus left the dialog (help, another program), or went to a bottom button whose click
    // must go through: Cancel and Help act, OK refuses the empty field itself.
    if (!focus || !IsChild(Handle(), focus) || focus == controls[HotKey1] ||
        focus == controls[OKButton] || focus == controls[CancelButton] ||
        focus == controls[HelpBtn])
        return;
    if (SendMessageW(controls[HotKey1], HKM_GETHOTKEY, 0, 0) & 0xFF)
        return;
    SendMessageW(Handle(), WM_NEXTDLGCTL, WPARAM(controls[HotKey1]), TRUE);
}

bool TEmoticonsDlg::OnPreviewKey(const MSG& msg) {
    if (TDialog::OnPreviewKey(msg))
        return true;
    // In the hot-key field Alt+letter is a hot key to be typed, not an accelerator of the dialog:
    // the key goes to the field untranslated, so no WM_SYSCHAR reaches the dialog manager.
    if (msg.hwnd == controls[HotKey1] &&
        (msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP || msg.message == WM_SYSCHAR)) {
        if (msg.message != WM_SYSCHAR)
            DispatchMessageW(&msg);
        return true;
    }
    return false;
}

void TEmoticonsDlg::BrowsePathButtonClick() {
    std::string dir = ui::Narrow(ui::WindowText(controls[PicturePathEdit]));
    if (SelectDir(dir, sdNone, Handle()))
        SetWindowTextW(controls[PicturePathEdit], ui::Widen(dir).c_str());
}

void TEmoticonsDlg::BrowseAppButtonClick() {
    std::wstring name = ui::WindowText(controls[AppEdit]).substr(0, 255);
    if (GetEXEFileName(Handle(), name))
        SetWindowTextW(controls[AppEdit], name.c_str());
}

void TEmoticonsDlg::ClearButtonClick() {
    SetWindowTextW(controls[AppEdit], L"");
}

void TEmoticonsDlg::OrderButtonClick() {
    // The order dialog works on a copy: a Cancel there leaves m_OrderList as it was.
    TButtonList order = m_OrderList;
    if (RunOrderDialog(Handle(), order))
        m_OrderList = std::move(order);
}

void TEmoticonsDlg::HelpBitBtnClick() {
    ui::Application.ShowHelp(Handle());
}

bool GetEXEFileName(HWND window, std::wstring& fileName) {
    wchar_t buffer[256] = {};
    lstrcpynW(buffer, fileName.c_str(), 256);
    const auto open = [&] {
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = window;
        ofn.hInstance = GetModuleHandleW(nullptr);
        // The pattern lists what the label says, and .pif besides.
        ofn.lpstrFilter = L"Programs (*.exe, *.com, *.bat)\0*.EXE;*.COM;*.BAT;*.PIF\0"
                          L"All files (*.*)\0*.*\0";
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = buffer;
        ofn.nMaxFile = 256;
        ofn.lpstrTitle = L"Select a Program to Run on the Startup";
        ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
        ofn.lpstrDefExt = L"EXE";
        return GetOpenFileNameW(&ofn) != 0;
    };
    bool chosen = open();
    // A name the dialog cannot take (quotes, '|') makes it fail before it shows.
    if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
        buffer[0] = L'\0';
        chosen = open();
    }
    if (chosen)
        fileName = buffer;
    return chosen;
}

bool RunOptionsDialog(HWND owner, TEmoticonsOptions& options, TButtonList& order) {
    TEmoticonsDlg dlg;
    dlg.SetEmoticonsOptions(options);
    dlg.m_OrderList = order;
    if (dlg.RunModal(owner) != IDOK)
        return false;
    options = dlg.GetEmoticonsOptions();
    order = dlg.m_OrderList;
    return true;
}

#pragma once
// The options dialog: edits a copy of the options record and, through the order dialog, a copy of
// the button list. Nothing outside it changes; the caller applies the result after OK.
#include "dialogs/Options.h"
#include "settings/Ini.h"
#include "ui/Controls_win.h"
#include "ui/Dialog_win.h"
#include "ui/Handles_win.h"

#include <array>
#include <string>
#include <windows.h>

// Control ids of the options dialog (tests find the controls by them).
enum TOptionsId : int {
    oiPicturePath = 301,
    oiBrowsePath,
    oiApp,
    oiStart,
    oiClear,
    oiBrowseApp,
    oiHotKey,
    oiOrder,
    oiSpaceBefore,
    oiSpaceAfter,
    oiInsEnable,
    oiTrack,
    oiClip,
    oiKey,
    oiStyleUsual,
    oiStyleOnTop,
    oiStyleMinimize,
    oiDragDrop,
    oiHelp,
    oiKeyboard,
    oiGroup = 390, // group boxes and the panel (never addressed)
};

enum TOptionsControl {
    PathGroupBox,
    PicturePathEdit,
    BrowsePathButton,
    AppGroupBox,
    AppEdit,
    StartCheckBox,
    ClearButton,
    BrowseAppButton,
    HotKeyGroupBox,
    HotKey1,
    OrderButton,
    ExtraBox,
    SpaceBeforeCheckBox,
    SpaceAfterCheckBox,
    InsertGroupBox,
    InsEnableCheckBox,
    TrackCheckBox,
    ClipRadioButton,
    KeyRadioButton,
    WindowStyleGroup,
    StyleUsual,
    StyleOnTop,
    StyleMinimize,
    DragDrop,
    Panel2,
    OKButton,
    CancelButton,
    HelpBtn,
    KeyboardCheckBox,
    ocOptionsCount
};

class TEmoticonsDlg : public ui::TDialog {
  public:
    TEmoticonsDlg();

    void SetEmoticonsOptions(TEmoticonsOptions p_Options);
    TEmoticonsOptions GetEmoticonsOptions() const;
    // The button list in palette order: filled by the caller, rewritten by the order dialog.
    TButtonList m_OrderList;

  protected:
    HWND OnInit() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnOK() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnPreviewKey(const MSG& msg) override;
    void OnHelp() override { HelpBitBtnClick(); }

  private:
    void ShowFields(const TOptionsFields& f);
    TOptionsFields ReadFields() const;
    void StartCheckBoxClick();
    void InsEnableCheckBoxClick();
    void HotKey1Exit();
    void BrowsePathButtonClick();
    void BrowseAppButtonClick();
    void ClearButtonClick();
    void OrderButtonClick();
    void HelpBitBtnClick();
    LRESULT HotKeyProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool Checked(TOptionsControl c) const;
    void Check(TOptionsControl c, bool on);

    ui::TControlSet<TOptionsControl, ocOptionsCount> controls;
    ui::TUniqueFont font;
    // The values shown once the controls exist (SetEmoticonsOptions may come before the run).
    TOptionsFields fields;
};

// Runs the platform's file-open dialog for the start-up program, owned by `window`. `fileName`
// is the initial name on entry and the chosen file's full path when the result is true. A name the
// dialog cannot take (quotes, '|') is dropped and the dialog opens once more without it.
bool GetEXEFileName(HWND window, std::wstring& fileName);

// Shows the options dialog owned by `owner` on `options` and `order`; on OK both take the edited
// values (the options' Rect is then zero) and the result is true.
bool RunOptionsDialog(HWND owner, TEmoticonsOptions& options, TButtonList& order);

#include "dialogs/OrderDlg_win.h"

#include "dialogs/OrderLst_win.h"
#include "ui/AppError.h"
#include "ui/Application_win.h"
#include "ui/Controls_win.h"
#include "ui/Dialog_win.h"

#include <commctrl.h>

#include <optional>

namespace {

enum TOrderControl {
    ocMovePanel,
    ocTop,
    ocUp,
    ocDown,
    ocBottom,
    ocClosePanel,
    ocOK,
    ocCancel,
    ocHelp,
    ocList,
    ocCount
};

constexpr int BORDERWIDTH = 8;
constexpr int CLIENTWIDTH = 471, CLIENTHEIGHT = 284;
constexpr int IDTOP = 301, IDUP = 302, IDDOWN = 303, IDBOTTOM = 304, IDHELPBTN = 305;
constexpr int IDMOVEPANEL = 310, IDCLOSEPANEL = 311;

// Fonts: 0 the buttons', 1 the list's. The panels are etched frames (lowered outside, raised
// inside) behind their buttons. The list, in a fixed-pitch font so that the columns of the entries
// line up, fills the room left of the panels; it shows whole rows only and is no tab stop, so the
// focus starts on Top.
constexpr DWORD BUTTON = WS_TABSTOP | BS_PUSHBUTTON;
constexpr int MOVEPANELLEFT = 376, MOVEPANELTOP = 5;
const std::array<ui::TControlDef, ocCount> OrderTable = {{
    {WC_STATICW, L"", IDMOVEPANEL, MOVEPANELLEFT, MOVEPANELTOP, 90, 118, SS_ETCHEDFRAME},
    {WC_BUTTONW, L"&Top", IDTOP, 383, 12, 76, 23, BUTTON},
    {WC_BUTTONW, L"&Up", IDUP, 383, 39, 76, 23, BUTTON},
    {WC_BUTTONW, L"&Down", IDDOWN, 383, 66, 76, 23, BUTTON},
    {WC_BUTTONW, L"&Bottom", IDBOTTOM, 383, 93, 76, 23, BUTTON},
    {WC_STATICW, L"", IDCLOSEPANEL, 376, 187, 90, 91, SS_ETCHEDFRAME},
    {WC_BUTTONW, L"OK", IDOK, 383, 194, 76, 23, WS_TABSTOP | BS_DEFPUSHBUTTON},
    {WC_BUTTONW, L"Cancel", IDCANCEL, 383, 221, 76, 23, BUTTON},
    {WC_BUTTONW, L"&Help", IDHELPBTN, 383, 248, 76, 23, BUTTON},
    {WC_LISTBOXW, L"", ORDERLISTID, BORDERWIDTH, MOVEPANELTOP,
     MOVEPANELLEFT - BORDERWIDTH - BORDERWIDTH, CLIENTHEIGHT - MOVEPANELTOP - BORDERWIDTH,
     LBS_EXTENDEDSEL | WS_VSCROLL, WS_EX_CLIENTEDGE, 1},
}};

class TOrderListDlg final : public ui::TDialog {
  public:
    explicit TOrderListDlg(TButtonList& order)
        : TDialog(OrderDialogCaption, CLIENTWIDTH, CLIENTHEIGHT), order(order) {}
    // The window goes before the list object that its list box calls.
    ~TOrderListDlg() override {
        if (Handle())
            DestroyWindow(Handle());
    }

  protected:
    HWND OnInit() override {
        buttonFont = ui::MakeFont(L"MS Sans Serif", 11, Dpi());
        // Fixed pitch asked for as well as by name: where Courier New is missing, the font mapper
        // then picks another fixed-pitch face rather than a proportional one.
        listFont.Reset(CreateFontW(-ui::ScaleDpi(11, Dpi()), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                   FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New"));
        if (!listFont)
            throw ui::TAppError("Font creation failed");
        const HFONT fonts[] = {buttonFont.Get(), listFont.Get()};
        controls.Create(Handle(), OrderTable, fonts, Dpi());
        SmileListBox.emplace(controls[ocList]);
        SmileListBox->Fill(order);
        return nullptr;
    }

    void OnCommand(int id, int code, HWND) override {
        if (code != BN_CLICKED || !SmileListBox)
            return;
        switch (controls.FromId(id).value_or(ocCount)) {
        case ocTop:
            return SmileListBox->ToBeginSelected();
        case ocUp:
            return SmileListBox->UpSelected();
        case ocDown:
            return SmileListBox->DownSelected();
        case ocBottom:
            return SmileListBox->ToEndSelected();
        case ocHelp:
            return HelpBtnClick();
        default:
            return;
        }
    }

    void OnOK() override {
        if (SmileListBox)
            order = SmileListBox->Items();
        End(IDOK);
    }

    void OnHelp() override { HelpBtnClick(); }

  private:
    void HelpBtnClick() { ui::Application.ShowHelp(Handle()); }

    TButtonList& order;
    ui::TUniqueFont buttonFont;
    ui::TUniqueFont listFont;
    ui::TControlSet<TOrderControl, ocCount> controls;
    std::optional<TOrderListBox> SmileListBox;
};

} // namespace

bool RunOrderDialog(HWND owner, TButtonList& order) {
    TOrderListDlg dlg(order);
    return dlg.RunModal(owner) == IDOK;
}

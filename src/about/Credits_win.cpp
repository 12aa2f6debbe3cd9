#include "about/Credits_win.h"

#include "about/AboutResource.h"
#include "ui/Controls_win.h"
#include "ui/Dialog_win.h"
#include "ui/Window_win.h"

#include <commctrl.h>

namespace {

// One row: its top, the role with its width in the design's font, and the name.
struct TCreditRow {
    int top;
    const wchar_t* role;
    int roleWidth;
    const wchar_t* name;
};
constexpr TCreditRow Rows[] = {
    {10, L"Director of Software Development", 160, L"Nora Ellis"},
    {38, L"Quality Assurance", 85, L"Tom Brandt"},
    {66, L"Original Concept", 78, L"Ines Varga"},
    {94, L"Code Implementation", 99, L"Leo Hart"},
    {123, L"Art Work", 42, L"Maya Okafor"},
};
constexpr int ROWS = int(std::size(Rows));

enum TCreditControl {
    ccIcon,
    ccRole,
    ccName = ccRole + ROWS,
    ccLeader = ccName + ROWS,
    ccOK = ccLeader + ROWS,
    ccPanel,
    ccCount
};

// The frame and what stands in it, in the frame's coordinates.
constexpr int PANELLEFT = 10, PANELTOP = 10, NAMERIGHT = 364;
// 96 full stops.
constexpr wchar_t Leader[] = L"...................................................................."
                             L"............................";

// Each row reads role, dots, name: the dotted leader runs under the role and the name, which
// paint their own background over it. A child made earlier lies higher among its siblings, so the
// role and name labels come before the leaders, and the leaders clip themselves to what the
// labels leave free. The frame comes last, beneath everything.
constexpr std::array<ui::TControlDef, ccCount> MakeCreditsTable() {
    std::array<ui::TControlDef, ccCount> t{};
    t[ccIcon] = {.cls = WC_STATICW,
                 .left = PANELLEFT + 10,
                 .top = PANELTOP + 10,
                 .width = 41,
                 .height = 41,
                 .style = SS_ICON | SS_REALSIZECONTROL};
    for (int i = 0; i < ROWS; ++i) {
        const TCreditRow& r = Rows[i];
        const int top = PANELTOP + r.top;
        t[ccRole + i] = {.cls = WC_STATICW,
                         .text = r.role,
                         .left = PANELLEFT + 60,
                         .top = top,
                         .width = r.roleWidth,
                         .height = 13,
                         .style = SS_LEFT | SS_NOPREFIX};
        t[ccName + i] = {.cls = WC_STATICW,
                         .text = r.name,
                         .left = PANELLEFT + NAMERIGHT - 80,
                         .top = top,
                         .width = 80,
                         .height = 13,
                         .style = SS_RIGHT | SS_NOPREFIX};
        t[ccLeader + i] = {.cls = WC_STATICW,
                           .text = Leader,
                           .left = PANELLEFT + 96,
                           .top = top,
                           .width = 265,
                           .height = 13,
                           .style = SS_LEFT | WS_CLIPSIBLINGS};
    }
    t[ccOK] = {WC_BUTTONW, L"OK", IDOK, 164, 172, 76, 23, WS_TABSTOP | BS_DEFPUSHBUTTON};
    t[ccPanel] = {WC_STATICW, L"", 0, PANELLEFT, PANELTOP, 375, 151, SS_ETCHEDFRAME};
    return t;
}
constexpr std::array<ui::TControlDef, ccCount> CreditsTable = MakeCreditsTable();

class TAboutBox final : public ui::TDialog {
  public:
    TAboutBox() : TDialog(ui::Widen(MainWindowTitle) + L" Credits", 394, 201) {}

  protected:
    HWND OnInit() override {
        font = ui::MakeFont(L"MS Sans Serif", 11, Dpi());
        const HFONT fonts[] = {font.Get()};
        controls.Create(Handle(), CreditsTable, fonts, Dpi());
        SendMessageW(controls[ccIcon], STM_SETICON,
                     WPARAM(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_CREDITS))),
                     0);
        // The leader shows between the role and the name only when they are no wider than their
        // texts.
        for (int i = ccRole; i < ccLeader; ++i)
            ui::FitLabelToText(controls[TCreditControl(i)]);
        return nullptr;
    }

  private:
    ui::TUniqueFont font;
    ui::TControlSet<TCreditControl, ccCount> controls;
};

} // namespace

void ShowCredits(HWND owner) {
    TAboutBox box;
    box.RunModal(owner);
}

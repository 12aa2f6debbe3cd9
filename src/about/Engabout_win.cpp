#include "about/Engabout_win.h"

#include "about/Credits_win.h"
#include "about/Engabout.h"
#include "about/AboutResource.h"
#include "settings/Ini.h"
#include "ui/AppError.h"
#include "ui/Application_win.h"
#include "ui/Controls_win.h"
#include "ui/Dialog_win.h"
#include "ui/Window_win.h"

#include <commctrl.h>

namespace {

enum TAboutControl {
    acLogo,
    acProductName,
    acCopyright1,
    acCopyright2,
    acCopyright3,
    acInfoTitle,
    acPhoneTitle,
    acPhone,
    acInternetTitle,
    acInternet,
    acAOLTitle,
    acAOL,
    acTechTitle,
    acTechphoneTitle,
    acTechphone,
    acTechOnlineTitle,
    acTechOnline,
    acButtonPanel,
    acOK,
    acCredits,
    acHelp,
    acCount
};

constexpr int Id(TAboutControl c) {
    return 400 + c;
}
static_assert(ABOUTPRODUCTID == Id(acProductName) && ABOUTCREDITSID == Id(acCredits));

// The fonts, all "MS Sans Serif" in pixels at 96 dpi: 0 the window's, 1 the product line's, 2
// the bold headings', 3 the larger plain one.
struct TFontDef {
    int pixels;
    bool bold;
};
constexpr TFontDef AboutFonts[] = {{11, false}, {16, true}, {12, true}, {12, false}};

// Every label shows an ampersand as it is: the file's texts are no accelerators. The logo fills
// the strip at the left edge, stretched; the four shadow labels draw themselves (DrawShadowLabel).
constexpr DWORD LABEL = SS_NOPREFIX;
constexpr DWORD SHADOW = SS_OWNERDRAW | SS_NOPREFIX;
const std::array<ui::TControlDef, acCount> AboutTable = {{
    {WC_STATICW, L"", Id(acLogo), 0, 0, 100, 267, SS_REALSIZECONTROL, 0, -1, IDB_ABOUTLOGO},
    {WC_STATICW, L"Moodpad(tm)", Id(acProductName), 128, 8, 347, 33, SHADOW, 0, 1},
    {WC_STATICW, L"Copyright (c) 2026 the Moodpad developers", Id(acCopyright1), 124, 35, 349, 25,
     SHADOW},
    {WC_STATICW, L"Moodpad is free to use, to copy and to share.", Id(acCopyright2), 124, 55, 349,
     25, SHADOW},
    {WC_STATICW, L"Faces & pictures drawn for Moodpad.", Id(acCopyright3), 124, 75, 349, 25,
     SHADOW},
    {WC_STATICW, L"For more information about this product, contact:", Id(acInfoTitle), 120, 104,
     278, 13, LABEL | SS_CENTER, 0, 2},
    {WC_STATICW, L"Phone:", Id(acPhoneTitle), 192, 124, 47, 11, LABEL | SS_RIGHT},
    {WC_STATICW, L"+1 555 0100", Id(acPhone), 259, 124, 134, 11, LABEL},
    {WC_STATICW, L"Internet:", Id(acInternetTitle), 184, 140, 55, 21, LABEL | SS_RIGHT},
    {WC_STATICW, L"moodpad.example.org", Id(acInternet), 259, 140, 158, 21, LABEL},
    {WC_STATICW, L"AOL:", Id(acAOLTitle), 200, 156, 39, 21, LABEL | SS_RIGHT},
    {WC_STATICW, L"Moodpad", Id(acAOL), 259, 156, 118, 13, LABEL},
    {WC_STATICW, L"Tech Support:", Id(acTechTitle), 121, 172, 82, 13, LABEL, 0, 2},
    {WC_STATICW, L"Phone:", Id(acTechphoneTitle), 122, 191, 39, 11, LABEL},
    {WC_STATICW, L"+1 555 0199", Id(acTechphone), 179, 191, 75, 13, LABEL, 0, 3},
    {WC_STATICW, L"Online:", Id(acTechOnlineTitle), 120, 206, 35, 11, LABEL | SS_RIGHT},
    {WC_STATICW, L"moodpad.example.org/help", Id(acTechOnline), 179, 206, 198, 19, LABEL},
    {WC_STATICW, L"", Id(acButtonPanel), 248, 224, 249, 39, SS_ETCHEDFRAME},
    {WC_BUTTONW, L"OK", IDOK, 255, 232, 76, 23, WS_TABSTOP | BS_DEFPUSHBUTTON},
    {WC_BUTTONW, L"&Credits...", Id(acCredits), 335, 232, 76, 23, WS_TABSTOP | BS_PUSHBUTTON},
    {WC_BUTTONW, L"&Help", Id(acHelp), 415, 232, 76, 23, WS_TABSTOP | BS_PUSHBUTTON, 0, 3},
}};

// The product line looks raised: its shadow lies one pixel right and below in the highlight
// colour. The notice lines have theirs one pixel up and left in the face colour, where it does
// not show.
struct TShadow {
    TAboutControl control;
    int dx, dy;
    int colour;
};
constexpr TShadow Shadows[] = {{acProductName, 1, 1, COLOR_BTNHIGHLIGHT},
                               {acCopyright1, -1, -1, COLOR_BTNFACE},
                               {acCopyright2, -1, -1, COLOR_BTNFACE},
                               {acCopyright3, -1, -1, COLOR_BTNFACE}};

// The program's directory with its trailing backslash.
std::string ProgramDirectory() {
    std::string path = ui::ProgramFileName();
    path.resize(path.find_last_of('\\') + 1);
    return path;
}

constexpr UINT WM_FILL = WM_APP + 1;

class TAboutForm final : public ui::TDialog {
  public:
    explicit TAboutForm(std::string fileName)
        : TDialog(L"About", 501, 267), FileName(std::move(fileName)) {}
    // The window goes before the logo it shows.
    ~TAboutForm() override {
        if (Handle())
            DestroyWindow(Handle());
    }

  protected:
    HWND OnInit() override {
        HFONT handles[std::size(AboutFonts)];
        for (std::size_t i = 0; i < std::size(AboutFonts); ++i) {
            fonts[i] =
                ui::MakeFont(L"MS Sans Serif", AboutFonts[i].pixels, Dpi(), AboutFonts[i].bold);
            handles[i] = fonts[i].Get();
        }
        controls.Create(Handle(), AboutTable, handles, Dpi());
        FitLabels();
        return nullptr;
    }

    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_DRAWITEM) {
            result = DrawShadowLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return result != FALSE;
        }
        // Filled after the first activation of the showing only, once the activation is over
        // and the window shows: a failure is shown in an error box above it. The mark comes
        // first, as closing that box activates this window again, which must neither append the
        // version a second time nor report the failure again.
        if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && !filled) {
            filled = true;
            PostMessageW(Handle(), WM_FILL, 0, 0);
        } else if (msg == WM_FILL) {
            FormActivate();
            return true;
        }
        return false;
    }

    void OnCommand(int id, int code, HWND) override {
        if (code != BN_CLICKED)
            return;
        if (id == Id(acCredits))
            CredButtonClick();
        else if (id == Id(acHelp))
            HelpBtnClick();
    }

    // Esc closes as OK does.
    void OnCancel() override { End(IDOK); }

    void OnHelp() override { HelpBtnClick(); }

  private:
    void SetText(TAboutControl c, const std::wstring& text) {
        SetWindowTextW(controls[c], text.c_str());
    }

    void FormActivate() {
        TAboutData Data;
        Data.Load(TEmoticonsIniFile::FromIniPath(FileName).Contents(), ProgramDirectory());
        if (!Data.ProductName.empty())
            SetText(acProductName, AboutText(Data.ProductName));
        // The caption is made from the name as the label shows it, read as characters: in a
        // double-byte code page the last byte may be the second half of another character.
        const std::wstring name = ui::WindowText(controls[acProductName]);
        SetWindowTextW(Handle(), AboutCaption(name).c_str());
        SetText(acProductName, ProductLine(name, AboutText(Data.ProductVersion)));
        const std::pair<TAboutControl, const std::string*> fields[] = {
            {acCopyright1, &Data.Copyright1}, {acCopyright2, &Data.Copyright2},
            {acCopyright3, &Data.Copyright3}, {acPhone, &Data.Phone},
            {acInternet, &Data.Internet},     {acAOL, &Data.AOL},
            {acTechphone, &Data.Techphone},   {acTechOnline, &Data.TechOnline}};
        for (const auto& [c, value] : fields)
            if (!value->empty())
                SetText(c, AboutText(*value));
        FitLabels();
        LoadLogo(AboutText(Data.PictureAbout));
    }

    // The plain labels take the width of their texts, so that neither a wider font than the
    // layout was made for nor a longer value from the file cuts or wraps them.
    void FitLabels() {
        for (int c = acInfoTitle; c <= acTechOnline; ++c)
            ui::FitLabelToText(controls[TAboutControl(c)]);
    }

    // Puts the picture of a regular file in place of the built-in logo. No name, a name of
    // nothing or of a folder keep the built-in logo; a file that is no picture raises.
    void LoadLogo(const std::wstring& file) {
        const DWORD attributes =
            file.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(file.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return;
        ui::TUniqueBitmap picture(static_cast<HBITMAP>(
            LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
        if (!picture)
            throw ui::TAppError("Bitmap image is not valid");
        SendMessageW(controls[acLogo], STM_SETIMAGE, IMAGE_BITMAP, LPARAM(picture.Get()));
        logo = std::move(picture);
    }

    // Draws a shadow label: its text centred both ways in its rectangle, wrapped at words, first
    // in the shadow colour moved by the shadow's offset, then in black on top.
    BOOL DrawShadowLabel(const DRAWITEMSTRUCT& item) {
        const auto which = controls.FromHandle(item.hwndItem);
        const TShadow* shadow = nullptr;
        for (const TShadow& s : Shadows)
            if (which == s.control)
                shadow = &s;
        if (!shadow)
            return FALSE;
        HDC dc = item.hDC;
        FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        const std::wstring text = ui::WindowText(item.hwndItem);
        ui::TSelectObject font(dc, HFONT(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
        const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
        RECT rc = item.rcItem, measured = item.rcItem;
        DrawTextW(dc, text.c_str(), int(text.size()), &measured, format | DT_CALCRECT);
        OffsetRect(&rc, 0, (rc.bottom - rc.top - (measured.bottom - measured.top)) / 2);
        RECT shifted = rc;
        OffsetRect(&shifted, shadow->dx, shadow->dy);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(shadow->colour));
        DrawTextW(dc, text.c_str(), int(text.size()), &shifted, format);
        SetTextColor(dc, RGB(0, 0, 0));
        DrawTextW(dc, text.c_str(), int(text.size()), &rc, format);
        return TRUE;
    }

    void HelpBtnClick() { ui::Application.ShowHelp(Handle()); }
    void CredButtonClick() { ShowCredits(Handle()); }

    std::string FileName;
    bool filled = false;
    ui::TUniqueFont fonts[std::size(AboutFonts)];
    ui::TUniqueBitmap logo;
    ui::TControlSet<TAboutControl, acCount> controls;
};

} // namespace

std::wstring AboutText(const std::string& fileText, UINT codePage) {
    if (fileText.empty())
        return {};
    const int n =
        MultiByteToWideChar(codePage, 0, fileText.data(), int(fileText.size()), nullptr, 0);
    std::wstring text(size_t(n), L'\0');
    MultiByteToWideChar(codePage, 0, fileText.data(), int(fileText.size()), text.data(), n);
    return text;
}

void ShowAboutBox(const std::string& fileName) {
    _ShowAboutBox(ui::Application.MainWindow, fileName);
}

void _ShowAboutBox(HWND owner, const std::string& fileName) {
    TAboutForm form(fileName.empty() ? TEmoticonsIniFile::IniFileNameFor(ui::ProgramFileNameUtf8())
                                     : fileName);
    form.RunModal(owner);
}

#include "dialogs/DirSel_win.h"

#include "dialogs/DirList_win.h"
#include "dialogs/DirPath.h"
#include "dialogs/DriveCombo_win.h"
#include "ui/Controls_win.h"
#include "ui/Dialog_win.h"
#include "ui/Window_win.h"

#include <commctrl.h>

namespace {

enum TSelectDirControl {
    DirNameLabel,
    DirName,
    DirectoryLabel,
    Directory_LB,
    DriveLabel,
    Drive_CB,
    OKBtn,
    CancelBtn,
    sdControlCount
};

constexpr int IdDirName = 101, IdDirectory = 102, IdDrive = 103;
// The labels are as wide as their bold text in any substitute of the dialog font, not just the
// width of their normal text in the font itself: nothing stands to their right.
constexpr int LabelWidth = 150;

// In tab order. The drive box's height is that of its drop-down list; the closed box takes the
// height of its font.
constexpr std::array<ui::TControlDef, sdControlCount> SelectDirTable = {{
    {WC_STATICW, L"Directory &Name:", 0, 10, 4, LabelWidth, 13},
    {WC_EDITW, L"", IdDirName, 10, 20, 263, 20, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {WC_STATICW, L"&Directories:", 0, 10, 48, LabelWidth, 13},
    {WC_LISTBOXW, L"", IdDirectory, 10, 67, 263, 159,
     WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
         LBS_NOINTEGRALHEIGHT,
     WS_EX_CLIENTEDGE},
    {WC_STATICW, L"Dri&ve:", 0, 10, 232, LabelWidth, 13},
    {WC_COMBOBOXW, L"", IdDrive, 10, 252, 263, 200, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST},
    {WC_BUTTONW, L"OK", IDOK, 52, 286, 77, 27, WS_TABSTOP | BS_DEFPUSHBUTTON},
    {WC_BUTTONW, L"Cancel", IDCANCEL, 152, 286, 77, 27, WS_TABSTOP},
}};

std::wstring CurrentDirectory() {
    const DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring dir(n, L'\0');
    dir.resize(n ? GetCurrentDirectoryW(n, dir.data()) : 0);
    return dir;
}

bool DirectoryExists(const std::string& path) {
    const DWORD attr = GetFileAttributesW(ui::Widen(path).c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates `path` with every missing parent; the parents that exist make their calls fail.
void CreatePath(const std::string& path) {
    const std::wstring p = ui::Widen(dirpath::Normalize(path));
    for (std::size_t i = p.find(L'\\', 3); i != std::wstring::npos; i = p.find(L'\\', i + 1))
        CreateDirectoryW(p.substr(0, i).c_str(), nullptr);
    CreateDirectoryW(p.c_str(), nullptr);
}

int Box(HWND owner, const wchar_t* text, UINT type) {
    return MessageBoxW(owner, text, ui::Widen(MainWindowTitle).c_str(), type);
}

class TSelectDirForm : public ui::TDialog {
  public:
    TSelectDirForm(TSelectDirOpts options, std::string start)
        : TDialog(L"Select Directory", 281, 320), m_Options(options), start(std::move(start)) {
        FormCreate();
    }
    ~TSelectDirForm() override { FormDestroy(); }

    // The name field's text as it was when OK closed the dialog.
    const std::string& GetDirectory() const { return chosen; }

  protected:
    HWND OnInit() override {
        normalFont = ui::MakeFont(L"MS Sans Serif", 11, Dpi());
        boldFont = ui::MakeFont(L"MS Sans Serif", 11, Dpi(), true);
        const HFONT fonts[] = {normalFont.Get()};
        controls.Create(Handle(), SelectDirTable, fonts, Dpi());
        dirList.Attach(controls[Directory_LB]);
        dirList.OnChange = [this] { Directory_LBChange(); };
        dirList.OnError = [this](const std::string& message) {
            if (!quiet)
                ui::ShowAppError(Handle(), message);
        };
        driveBox.Attach(controls[Drive_CB], dirList);
        SetOptions(m_Options);
        SetDirectory(start);
        return controls[Directory_LB];
    }

    void OnCommand(int id, int code, HWND) override {
        switch (controls.FromId(id).value_or(sdControlCount)) {
        case DirName:
            if (code == EN_SETFOCUS || code == EN_KILLFOCUS)
                SetBold(DirNameLabel, code == EN_SETFOCUS);
            break;
        case Directory_LB:
            if (code == LBN_SETFOCUS || code == LBN_KILLFOCUS)
                SetBold(DirectoryLabel, code == LBN_SETFOCUS);
            break;
        case Drive_CB:
            if (code == CBN_SETFOCUS || code == CBN_KILLFOCUS)
                SetBold(DriveLabel, code == CBN_SETFOCUS);
            driveBox.Notify(code);
            break;
        default:
            break;
        }
    }

    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg != WM_DRAWITEM || wParam != IdDirectory)
            return false;
        dirList.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }

    void OnOK() override { OKBtnClick(); }

  private:
    // Critical-error boxes off for the dialog's life, added to the mode in force, and the current
    // directory saved, since browsing changes it.
    void FormCreate() {
        m_OldErrorMode = GetErrorMode();
        SetErrorMode(m_OldErrorMode | SEM_FAILCRITICALERRORS);
        m_CurDir = CurrentDirectory();
    }

    // Restores the error mode first, so that nothing below runs with boxes off that the program
    // wants on, then the current directory if it still exists, else the program's directory.
    // Nothing here may raise: it runs while the form is freed.
    void FormDestroy() noexcept {
        SetErrorMode(m_OldErrorMode);
        if (m_CurDir.empty() || !SetCurrentDirectoryW(m_CurDir.c_str())) {
            try {
                const std::string exe = ui::ProgramFileName();
                SetCurrentDirectoryW(ui::Widen(exe.substr(0, exe.find_last_of("\\:") + 1)).c_str());
            } catch (...) {
            }
        }
    }

    void SetOptions(TSelectDirOpts options) {
        m_Options = options;
        const HWND edit = controls[DirName];
        const bool editable = m_Options & sdAllowCreate;
        const LONG style = GetWindowLongW(edit, GWL_STYLE);
        SetWindowLongW(edit, GWL_STYLE, editable ? style | WS_TABSTOP : style & ~WS_TABSTOP);
        // A read-only edit is drawn on the dialog's face colour.
        SendMessageW(edit, EM_SETREADONLY, !editable, 0);
    }

    // Shows the drive of `dir` and `dir` in the list; a directory that cannot be shown (also one
    // without a drive letter) is reported and the dialog shows the current directory instead,
    // which the drive switch may already have moved to that drive's current directory.
    void SetDirectory(const std::string& dir) {
        quiet = true;
        if (!dir.empty()) {
            const char drive = dirpath::DriveOf(dir);
            if (!drive || !driveBox.SetDrive(drive) || !dirList.SetDirectory(dir)) {
                quiet = false;
                Box(Handle(), L"The specified directory does not exist.", MB_OK | MB_ICONERROR);
                quiet = true;
                ShowCurrentDirectory();
            }
        } else {
            ShowCurrentDirectory();
        }
        quiet = false;
        driveBox.ShowListDrive();
        Directory_LBChange();
    }

    void ShowCurrentDirectory() {
        const std::string current = ui::Narrow(CurrentDirectory());
        if (const char drive = dirpath::DriveOf(current))
            driveBox.SetDrive(drive);
        else
            dirList.SetDirectory(current);
    }

    void Directory_LBChange() {
        SetWindowTextW(controls[DirName], ui::Widen(dirList.Directory()).c_str());
    }

    void SetBold(TSelectDirControl label, bool bold) {
        SendMessageW(controls[label], WM_SETFONT,
                     reinterpret_cast<WPARAM>(bold ? boldFont.Get() : normalFont.Get()), TRUE);
    }

    // Enter in the list enters the highlighted folder and keeps the dialog open; otherwise the
    // name field's path is taken, after the question whether to create it when it is missing.
    void OKBtnClick() {
        if (GetFocus() == controls[Directory_LB]) {
            dirList.OpenCurrent();
            return;
        }
        const std::string path = ui::Narrow(ui::WindowText(controls[DirName]));
        if ((m_Options & sdAllowCreate) && (m_Options & sdPrompt) && !DirectoryExists(path) &&
            Box(Handle(), L"The specified directory does not exist. Create it?",
                MB_YESNO | MB_ICONQUESTION) == IDYES &&
            (m_Options & sdPerformCreate))
            CreatePath(path);
        // Read here: the name field goes with the window, before the form is freed.
        chosen = path;
        End(IDOK);
    }

    TSelectDirOpts m_Options;
    UINT m_OldErrorMode = 0;
    std::wstring m_CurDir;
    std::string start;
    std::string chosen;
    bool quiet = false;
    ui::TUniqueFont normalFont, boldFont;
    ui::TControlSet<TSelectDirControl, sdControlCount> controls;
    dialogs::TDirList dirList;
    dialogs::TDriveCombo driveBox;
};

} // namespace

bool SelectDir(std::string& dir, TSelectDirOpts options, HWND owner) {
    TSelectDirForm form(options, dir);
    if (form.RunModal(owner) != IDOK)
        return false;
    dir = form.GetDirectory();
    return true;
}

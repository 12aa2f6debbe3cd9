#include "dialogs/DriveCombo_win.h"

#include "dialogs/DirPath.h"

namespace dialogs {

namespace {

const wchar_t* KindName(UINT type) {
    switch (type) {
    case DRIVE_REMOVABLE:
        return L"Removable Disk";
    case DRIVE_FIXED:
        return L"Local Disk";
    case DRIVE_REMOTE:
        return L"Network Drive";
    case DRIVE_CDROM:
        return L"CD Drive";
    case DRIVE_RAMDISK:
        return L"RAM Disk";
    default:
        return L"Drive";
    }
}

} // namespace

std::wstring TDriveCombo::DriveText(char drive) {
    const wchar_t root[] = {wchar_t(drive), L':', L'\\', 0};
    const UINT type = GetDriveTypeW(root);
    std::wstring text = {wchar_t(drive), L':', L' '};
    text += KindName(type);
    wchar_t label[MAX_PATH + 1] = {};
    if (type == DRIVE_FIXED &&
        GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) &&
        label[0])
        text += std::wstring(L" [") + label + L"]";
    return text;
}

void TDriveCombo::Attach(HWND box, TDirList& dirList) {
    combo = box;
    list = &dirList;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i)))
            continue;
        const std::wstring text = DriveText(char('A' + i));
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

char TDriveCombo::Drive() const {
    const LRESULT sel = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    wchar_t text[MAX_PATH + 8] = {};
    if (sel < 0 || SendMessageW(combo, CB_GETLBTEXTLEN, sel, 0) >= LRESULT(std::size(text)))
        return 0;
    SendMessageW(combo, CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(text));
    return text[0] < 128 ? dirpath::DriveOf(std::string{char(text[0]), char(text[1])}) : 0;
}

void TDriveCombo::Select(char drive) {
    const wchar_t prefix[] = {wchar_t(drive), L':', 0};
    SendMessageW(
        combo, CB_SETCURSEL,
        WPARAM(SendMessageW(combo, CB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(prefix))),
        0);
}

void TDriveCombo::ShowListDrive() {
    if (const char drive = dirpath::DriveOf(list->Directory()))
        Select(drive);
}

bool TDriveCombo::SetDrive(char drive) {
    Select(drive);
    const bool entered = list->SetDrive(drive);
    // The box always shows the drive the list is on, also when the new drive could not be entered.
    ShowListDrive();
    return entered;
}

void TDriveCombo::Notify(int code) {
    if (code == CBN_SELCHANGE)
        if (const char drive = Drive(); drive && drive != dirpath::DriveOf(list->Directory()))
            SetDrive(drive);
}

} // namespace dialogs

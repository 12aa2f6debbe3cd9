#include "dialogs/DirList_win.h"

#include "ui/Subclass_win.h"
#include "ui/Window_win.h"

namespace dialogs {

namespace {

constexpr int IndentPixels = 10;

std::vector<std::string> Subfolders(const std::wstring& dir) {
    std::vector<std::string> names;
    std::wstring pattern = dir;
    if (pattern.empty() || pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &fd,
                                   FindExSearchLimitToDirectories, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = fd.cFileName;
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
            names.push_back(ui::Narrow(name));
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return names;
}

std::wstring CurrentDirectory() {
    std::wstring dir(MAX_PATH, L'\0');
    DWORD n = GetCurrentDirectoryW(DWORD(dir.size()), dir.data());
    if (n >= dir.size()) {
        dir.resize(n);
        n = GetCurrentDirectoryW(DWORD(dir.size()), dir.data());
    }
    dir.resize(n < dir.size() ? n : 0);
    return dir;
}

} // namespace

void TDirList::Attach(HWND listBox) {
    list = listBox;
    SendMessageW(list, LB_SETITEMHEIGHT, 0, 16);
    ui::Subclass(list, [this](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        const LRESULT r = DefSubclassProc(wnd, msg, wp, lp);
        if (msg == WM_LBUTTONDBLCLK)
            OpenCurrent();
        return r;
    });
}

bool TDirList::Fail(const std::string& dir) {
    if (OnError)
        OnError("Cannot open the directory " + dir);
    return false;
}

bool TDirList::SetDirectory(const std::string& dir) {
    if (dir.empty() || !SetCurrentDirectoryW(ui::Widen(dir).c_str()))
        return Fail(dir);
    // The system's form of the path: its real case and no "." or "..".
    const std::wstring current = CurrentDirectory();
    directory = dirpath::Normalize(ui::Narrow(current));
    if (const char drive = dirpath::DriveOf(directory)) {
        const wchar_t var[] = {L'=', wchar_t(drive), L':', 0};
        SetEnvironmentVariableW(var, current.c_str());
    }
    items = dirpath::FolderItems(directory, Subfolders(current));
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const dirpath::TFolderItem& item : items)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ui::Widen(item.name).c_str()));
    SendMessageW(list, LB_SETCURSEL, dirpath::CurrentIndex(items), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    if (OnChange)
        OnChange();
    return true;
}

bool TDirList::SetDrive(char drive) {
    // "X:" names the drive's current directory: the one its environment entry remembers.
    const wchar_t relative[] = {wchar_t(drive), L':', 0};
    wchar_t full[MAX_PATH];
    const DWORD n = GetFullPathNameW(relative, MAX_PATH, full, nullptr);
    const std::string dir = n && n < MAX_PATH ? ui::Narrow(full) : std::string{drive, ':', '\\'};
    return SetDirectory(dir);
}

bool TDirList::OpenCurrent() {
    const LRESULT sel = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (sel < 0)
        return false;
    return SetDirectory(dirpath::EnterItem(directory, items, std::size_t(sel)));
}

void TDirList::DrawItem(const DRAWITEMSTRUCT& di) const {
    const bool selected = di.itemState & ODS_SELECTED;
    FillRect(di.hDC, &di.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (di.itemID < items.size()) {
        const dirpath::TFolderItem& item = items[di.itemID];
        RECT rc = di.rcItem;
        rc.left += 2 + item.level * IndentPixels;
        // An open folder is marked with a minus, a closed one with a plus, as in a tree.
        const std::wstring text = (item.open ? L"- " : L"+ ") + ui::Widen(item.name);
        SetBkMode(di.hDC, TRANSPARENT);
        SetTextColor(di.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        DrawTextW(di.hDC, text.c_str(), int(text.size()), &rc,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (di.itemState & ODS_FOCUS)
        DrawFocusRect(di.hDC, &di.rcItem);
}

} // namespace dialogs

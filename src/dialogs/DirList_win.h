#pragma once
// The directory list: a list box (made by the owner's control table with LBS_OWNERDRAWFIXED,
// LBS_HASSTRINGS and LBS_NOTIFY) that shows its directory as an indented list of folders, the
// open folders above and the current folder's subfolders below. Entering a directory makes it the
// process's current directory and that drive's remembered one, as a command prompt does, so that
// the drive box can come back to it. Double-click or OpenCurrent enters the highlighted folder.
// OnChange runs after every change of directory; a directory that cannot be entered leaves
// everything as it was and goes to OnError with a message, never as an exception.
#include "dialogs/DirPath.h"

#include <functional>
#include <string>
#include <vector>
#include <windows.h>

namespace dialogs {

class TDirList {
  public:
    std::function<void()> OnChange;
    std::function<void(const std::string&)> OnError;

    // Binds the list box; its items are drawn by DrawItem, which the owner forwards.
    void Attach(HWND list);
    HWND Handle() const { return list; }

    const std::string& Directory() const { return directory; }
    // Enters `dir`; false (and OnError) when it cannot be entered.
    bool SetDirectory(const std::string& dir);
    // Enters the remembered directory of `drive` ('A' .. 'Z'), the root when none is remembered.
    bool SetDrive(char drive);
    // Enters the highlighted folder.
    bool OpenCurrent();

    // WM_DRAWITEM for the list: the folder's name indented by its level, the open ones marked.
    void DrawItem(const DRAWITEMSTRUCT& item) const;

  private:
    bool Fail(const std::string& dir);

    HWND list = nullptr;
    std::string directory;
    std::vector<dirpath::TFolderItem> items;
};

} // namespace dialogs

#pragma once
// The drive box: a drop-down list combo box (made by the owner's control table) that lists the
// system's drives with their kind, and the volume label of fixed drives ("C: Local Disk [SYSTEM]").
// Labels of other drives are not read: an empty removable drive or a lost network drive stalls
// the read. Choosing a drive switches the linked directory list to that drive's current
// directory; when the list cannot enter it (a drive without a medium), the box goes back to the
// list's drive and the list reports the error.
#include "dialogs/DirList_win.h"

#include <string>
#include <windows.h>

namespace dialogs {

class TDriveCombo {
  public:
    // Binds the combo box and the list it drives, and fills the box with the drives.
    void Attach(HWND combo, TDirList& list);
    HWND Handle() const { return combo; }

    // The selected drive letter, or 0.
    char Drive() const;
    // Selects `drive` and switches the list to its current directory; false when the list could
    // not enter it (the box then shows the list's drive again).
    bool SetDrive(char drive);
    // Selects the drive of the list's directory without switching anything.
    void ShowListDrive();
    // WM_COMMAND notifications of the box, forwarded by the owner: CBN_SELCHANGE switches.
    void Notify(int code);

    // The text a drive is shown with.
    static std::wstring DriveText(char drive);

  private:
    void Select(char drive);

    HWND combo = nullptr;
    TDirList* list = nullptr;
};

} // namespace dialogs

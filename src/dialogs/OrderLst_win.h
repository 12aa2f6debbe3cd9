#pragma once
// TOrderListBox: a list box with extended selection whose selected rows move as a block. It shows
// the button list's entries unchanged, one per row, and hands back the same strings in the new
// order (each row carries the index of its entry, so no text makes a round trip through the
// control). While the list has the focus, Alt+Up, Alt+Down, Alt+Home and Alt+End move the
// selection; other Alt keys go on to the dialog's accelerators.
#include "dialogs/OrderLst.h"

#include <windows.h>

class TOrderListBox final : public TOrderList {
  public:
    // The bit of a GetKeyState result that tells that the key is down.
    static constexpr SHORT SHORTHIGHBITMASK = 0x80;

    // Adopts `list` (a LISTBOX with LBS_EXTENDEDSEL, not sorted), which must not outlive this.
    explicit TOrderListBox(HWND list);
    TOrderListBox(const TOrderListBox&) = delete;
    TOrderListBox& operator=(const TOrderListBox&) = delete;

    // Shows `entries`, one row each, none selected.
    void Fill(const TButtonList& entries);

    int Count() const override;
    std::string Item(int index) const override;
    bool Selected(int index) const override;
    void Select(int index) override;
    void Move(int from, int to) override;

  private:
    LRESULT WMSysKeyDown(HWND wnd, WPARAM key, LPARAM lParam);

    HWND list;
    TButtonList entries;
};

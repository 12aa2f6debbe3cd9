#include "dialogs/OrderLst_win.h"

#include "ui/AppError.h"
#include "ui/Subclass_win.h"
#include "ui/Window_win.h"

#include <utility>

TOrderListBox::TOrderListBox(HWND list) : list(list) {
    // Only the Alt keys touch the object: the control may still send its last messages while the
    // dialog that owns both goes.
    ui::Subclass(list, [this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        return msg == WM_SYSKEYDOWN ? WMSysKeyDown(wnd, wParam, lParam)
                                    : DefSubclassProc(wnd, msg, wParam, lParam);
    });
}

void TOrderListBox::Fill(const TButtonList& given) {
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    entries = given;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LRESULT at =
            SendMessageW(list, LB_ADDSTRING, 0, LPARAM(ui::Widen(entries[i]).c_str()));
        if (at < 0)
            throw ui::TAppError("Out of Memory");
        SendMessageW(list, LB_SETITEMDATA, WPARAM(at), LPARAM(i));
    }
}

int TOrderListBox::Count() const {
    const LRESULT n = SendMessageW(list, LB_GETCOUNT, 0, 0);
    return n > 0 ? int(n) : 0;
}

std::string TOrderListBox::Item(int index) const {
    const auto entry = std::size_t(SendMessageW(list, LB_GETITEMDATA, WPARAM(index), 0));
    return entry < entries.size() ? entries[entry] : std::string();
}

bool TOrderListBox::Selected(int index) const {
    return SendMessageW(list, LB_GETSEL, WPARAM(index), 0) > 0;
}

void TOrderListBox::Select(int index) {
    SendMessageW(list, LB_SETSEL, TRUE, LPARAM(index));
}

void TOrderListBox::Move(int from, int to) {
    const LRESULT len = SendMessageW(list, LB_GETTEXTLEN, WPARAM(from), 0);
    if (len < 0 || from == to)
        return;
    std::wstring text(std::size_t(len) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, WPARAM(from), LPARAM(text.data()));
    const LRESULT data = SendMessageW(list, LB_GETITEMDATA, WPARAM(from), 0);
    // The copy goes in before the original goes out, so a list that cannot grow loses no row.
    const LRESULT at =
        SendMessageW(list, LB_INSERTSTRING, WPARAM(to > from ? to + 1 : to), LPARAM(text.c_str()));
    if (at < 0)
        throw ui::TAppError("Out of Memory");
    SendMessageW(list, LB_SETITEMDATA, WPARAM(at), data);
    SendMessageW(list, LB_DELETESTRING, WPARAM(to > from ? from : from + 1), 0);
}

LRESULT TOrderListBox::WMSysKeyDown(HWND wnd, WPARAM key, LPARAM lParam) {
    using TMove = void (TOrderList::*)();
    static constexpr std::pair<WPARAM, TMove> moves[] = {{VK_END, &TOrderList::ToEndSelected},
                                                         {VK_HOME, &TOrderList::ToBeginSelected},
                                                         {VK_UP, &TOrderList::UpSelected},
                                                         {VK_DOWN, &TOrderList::DownSelected}};
    for (const auto& [k, move] : moves) {
        if (k != key)
            continue;
        if (GetKeyState(int(key)) & SHORTHIGHBITMASK)
            (this->*move)();
        // Answered here either way: the list box's own handling never sees Alt+arrow.
        return 0;
    }
    return DefSubclassProc(wnd, WM_SYSKEYDOWN, key, lParam);
}

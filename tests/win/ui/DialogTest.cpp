// The dialog base driven as a user drives it: real key presses (SendInput) from another thread
// while the test thread runs the dialog modally. Tab follows the control table, Enter presses the
// table's default button, Esc cancels, Alt+letter reaches a control, key preview sees keys first,
// the windows beneath are disabled for the run only, and an exception in a handler is shown while
// the dialog goes on.
#include "ui/AppError.h"
#include "ui/Controls_win.h"
#include "ui/Dialog_win.h"
#include "support/Support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <thread>

using namespace support;

namespace {

constexpr wchar_t Caption[] = L"Probe dialog";
constexpr int IdEdit = 201, IdCheck = 202, IdApply = 203, IdThrow = 204;

enum TProbeControl { pcEdit, pcCheck, pcApply, pcCancel, pcThrow, pcCount };

const std::array<ui::TControlDef, pcCount> ProbeTable = {{
    {WC_EDITW, L"", IdEdit, 8, 8, 150, 20, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {WC_BUTTONW, L"&Check", IdCheck, 8, 34, 80, 17, WS_TABSTOP | BS_AUTOCHECKBOX},
    {WC_BUTTONW, L"Apply", IdApply, 8, 60, 76, 23, WS_TABSTOP | BS_DEFPUSHBUTTON},
    {WC_BUTTONW, L"Cancel", IDCANCEL, 90, 60, 76, 23, WS_TABSTOP},
    {WC_BUTTONW, L"&Throw", IdThrow, 172, 60, 76, 23, WS_TABSTOP},
}};

class TProbeDialog : public ui::TDialog {
  public:
    explicit TProbeDialog(bool throwInInit = false)
        : TDialog(Caption, 260, 90), throwInInit(throwInInit) {}
    std::atomic<int> previewed{0};

  protected:
    HWND OnInit() override {
        controls.Create(Handle(), ProbeTable, {}, Dpi());
        if (throwInInit)
            throw ui::TAppError("Init failure");
        return nullptr;
    }
    void OnCommand(int id, int code, HWND) override {
        const auto c = controls.FromId(id);
        if (c == pcApply && code == BN_CLICKED)
            End(IdApply);
        if (c == pcThrow)
            throw ui::TAppError("Handler failure");
    }
    bool OnPreviewKey(const MSG& msg) override {
        if (msg.message != WM_KEYDOWN || msg.wParam != VK_F2)
            return false;
        ++previewed;
        return true;
    }

  private:
    bool throwInInit;
    ui::TControlSet<TProbeControl, pcCount> controls;
};

int FocusId(HWND d) {
    const HWND focus = FocusOf(d);
    return focus ? GetDlgCtrlID(focus) : 0;
}

// The probe dialog once it shows and has the focus.
HWND WaitDialog() {
    const HWND d = WaitBox(GetCurrentProcessId(), Caption);
    WaitFor([&] { return FocusId(d) != 0; });
    return d;
}

// Presses the keys and waits until the focus is on the control with that id; returns the id it
// ended on.
int Tab(HWND d, std::initializer_list<WORD> keys, int expected) {
    Chord(keys);
    WaitFor([&] { return FocusId(d) == expected; });
    return FocusId(d);
}

} // namespace

TEST(Dialog, RunsModallyWithTheDialogKeysInTableOrderAndShowsExceptionsInHandlersAndInInit) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    std::vector<int> focus;
    bool ownerDisabled = false, checked = false;
    TProbeDialog dlg;
    std::thread user([&] {
        const HWND d = WaitDialog();
        ownerDisabled = !IsWindowEnabled(owner);
        focus.push_back(FocusId(d));
        for (int id : {IdCheck, IdApply, IDCANCEL, IdThrow, IdEdit})
            focus.push_back(Tab(d, {VK_TAB}, id));
        focus.push_back(Tab(d, {VK_SHIFT, VK_TAB}, IdThrow));
        focus.push_back(Tab(d, {VK_TAB}, IdEdit));
        Chord({VK_MENU, 'C'});
        checked = WaitFor(
            [&] { return SendMessageW(GetDlgItem(d, IdCheck), BM_GETCHECK, 0, 0) == BST_CHECKED; });
        focus.push_back(FocusId(d));
        Chord({VK_F2});
        Chord({VK_RETURN});
    });
    const INT_PTR r = dlg.RunModal(owner);
    user.join();

    // Enter presses the table's default button, Alt+C reaches the check box, F2 goes through the
    // key preview, and the owner is disabled for the run only.
    EXPECT_EQ(std::tuple(r, checked, dlg.previewed.load(), ownerDisabled, IsWindowEnabled(owner)),
              std::tuple(INT_PTR(IdApply), true, 1, true, TRUE));
    EXPECT_EQ(focus, (std::vector<int>{IdEdit, IdCheck, IdApply, IDCANCEL, IdThrow, IdEdit, IdThrow,
                                       IdEdit, IdCheck}));
    EXPECT_FALSE(FindWindowW(MAKEINTATOM(32770), Caption));

    // The same object runs again: an exception in a handler is shown, the dialog goes on, and Esc
    // cancels it.
    bool aliveAfterBox = false;
    BoxReader reader;
    std::thread again([&] {
        const HWND d = WaitDialog();
        Chord({VK_MENU, 'T'});
        reader.Join();
        aliveAfterBox = WaitFor([&] { return IsWindowEnabled(d) && FocusId(d); });
        Chord({VK_ESCAPE});
    });
    EXPECT_EQ(dlg.RunModal(owner), IDCANCEL);
    again.join();
    EXPECT_EQ(reader.text, L"Handler failure.");
    EXPECT_TRUE(aliveAfterBox);
    DestroyWindow(owner);

    // A failure while it is built is shown, and no half-built dialog appears.
    BoxReader initReader;
    TProbeDialog broken(true);
    EXPECT_EQ(broken.RunModal(nullptr), -1);
    initReader.Join();
    EXPECT_EQ(initReader.text, L"Init failure.");
    EXPECT_FALSE(FindWindowW(MAKEINTATOM(32770), Caption));
}

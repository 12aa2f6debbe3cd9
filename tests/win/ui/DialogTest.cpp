// The dialog base driven as a user drives it: real key presses (SendInput) from another thread
// while the test thread runs the dialog modally. Tab follows the control table, Enter presses the
// table's default button, Esc cancels, Alt+letter reaches a control, key preview sees keys first,
// the windows beneath are disabled for the run only, and an exception in a handler is shown while
// the dialog goes on.
#include "ui/AppError.h"
#include "ui/Controls_win.h"
#include "ui/Dialog_win.h"
#include "win/ui/BoxReader.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr wchar_t Caption[] = L"Probe dialog";
constexpr int IdEdit = 201, IdCheck = 202, IdApply = 203, IdThrow = 204;

enum TProbeControl { pcEdit, pcCheck, pcApply, pcCancel, pcThrow, pcCount };

const std::array<ui::TControlDef, pcCount> ProbeTable = {{
    {.cls = WC_EDITW,
     .id = IdEdit,
     .left = 8,
     .top = 8,
     .width = 150,
     .height = 20,
     .style = WS_TABSTOP | ES_AUTOHSCROLL,
     .exStyle = WS_EX_CLIENTEDGE},
    {.cls = WC_BUTTONW,
     .text = L"&Check",
     .id = IdCheck,
     .left = 8,
     .top = 8,
     .width = 80,
     .height = 17,
     .style = WS_TABSTOP | BS_AUTOCHECKBOX,
     .origin = pcEdit},
    {.cls = WC_BUTTONW,
     .text = L"Apply",
     .id = IdApply,
     .left = 8,
     .top = 60,
     .width = 76,
     .height = 23,
     .style = WS_TABSTOP | BS_DEFPUSHBUTTON},
    {.cls = WC_BUTTONW,
     .text = L"Cancel",
     .id = IDCANCEL,
     .left = 90,
     .top = 60,
     .width = 76,
     .height = 23,
     .style = WS_TABSTOP},
    {.cls = WC_BUTTONW,
     .text = L"&Throw",
     .id = IdThrow,
     .left = 172,
     .top = 60,
     .width = 76,
     .height = 23,
     .style = WS_TABSTOP},
}};

class TProbeDialog : public ui::TDialog {
  public:
    explicit TProbeDialog(bool throwInInit = false)
        : TDialog(Caption, 260, 90), throwInInit(throwInInit) {}
    std::atomic<int> previewed{0};

  protected:
    HWND OnInit() override {
        font = ui::MakeFont(L"MS Sans Serif", 11, Dpi());
        const HFONT fonts[] = {font.Get()};
        controls.Create(Handle(), ProbeTable, fonts, Dpi());
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
    ui::TUniqueFont font;
    ui::TControlSet<TProbeControl, pcCount> controls;
};

// Polls f until it answers something true or 5 s have passed; returns its last answer.
template <class F> auto Poll(F f) {
    const ULONGLONG deadline = GetTickCount64() + 5000;
    decltype(f()) r{};
    while (!(r = f()) && GetTickCount64() < deadline)
        Sleep(5);
    return r;
}

// Drives the dialog from a thread of its own, as a user at the keyboard.
class TDriver {
  public:
    explicit TDriver(DWORD dialogThread) : thread(dialogThread) {}

    // The dialog once it shows and has the focus.
    HWND WaitDialog() const {
        return Poll([&] {
            HWND d = FindWindowW(MAKEINTATOM(32770), Caption);
            return d && IsWindowVisible(d) && FocusId() ? d : nullptr;
        });
    }
    int FocusId() const {
        GUITHREADINFO gti{};
        gti.cbSize = sizeof gti;
        GetGUIThreadInfo(thread, &gti);
        return gti.hwndFocus ? GetDlgCtrlID(gti.hwndFocus) : 0;
    }
    // Presses the keys in order and releases them in reverse, in one SendInput call.
    static void Keys(std::initializer_list<WORD> keys) {
        std::vector<INPUT> in;
        for (WORD k : keys)
            in.push_back(Key(k, 0));
        for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
            in.push_back(Key(*it, KEYEVENTF_KEYUP));
        SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
    }
    // Presses the keys and waits until the focus is on the control with that id; returns the
    // id it ended on.
    int Tab(std::initializer_list<WORD> keys, int expected) const {
        Keys(keys);
        Poll([&] { return FocusId() == expected; });
        return FocusId();
    }

  private:
    static INPUT Key(WORD vk, DWORD flags) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.dwFlags = flags;
        return i;
    }
    DWORD thread;
};

} // namespace

TEST(Dialog, RunsModallyWithTheDialogKeysInTableOrder) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    TDriver drive(GetCurrentThreadId());
    std::vector<int> focus;
    bool ownerDisabled = false, checked = false;
    TProbeDialog dlg;
    std::thread user([&] {
        HWND d = drive.WaitDialog();
        if (!d)
            return;
        ownerDisabled = !IsWindowEnabled(owner);
        focus.push_back(drive.FocusId());
        for (int id : {IdCheck, IdApply, IDCANCEL, IdThrow, IdEdit})
            focus.push_back(drive.Tab({VK_TAB}, id));
        focus.push_back(drive.Tab({VK_SHIFT, VK_TAB}, IdThrow));
        focus.push_back(drive.Tab({VK_TAB}, IdEdit));
        TDriver::Keys({VK_MENU, 'C'});
        checked = Poll(
            [&] { return SendMessageW(GetDlgItem(d, IdCheck), BM_GETCHECK, 0, 0) == BST_CHECKED; });
        focus.push_back(drive.FocusId());
        TDriver::Keys({VK_F2});
        TDriver::Keys({VK_RETURN});
    });
    const INT_PTR r = dlg.RunModal(owner);
    user.join();

    EXPECT_EQ(r, IdApply) << "Enter presses the default button of the table";
    EXPECT_EQ(focus, (std::vector<int>{IdEdit, IdCheck, IdApply, IDCANCEL, IdThrow, IdEdit, IdThrow,
                                       IdEdit, IdCheck}));
    EXPECT_TRUE(checked) << "Alt+C reaches the check box";
    EXPECT_EQ(dlg.previewed, 1) << "F2 went through the key preview";
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(FindWindowW(MAKEINTATOM(32770), Caption));

    // The same object runs again, and Esc cancels.
    std::thread esc([&] {
        if (drive.WaitDialog())
            TDriver::Keys({VK_ESCAPE});
    });
    EXPECT_EQ(dlg.RunModal(owner), IDCANCEL);
    esc.join();
    DestroyWindow(owner);
}

TEST(Dialog, AnExceptionInAHandlerIsShownAndTheDialogGoesOn) {
    TDriver drive(GetCurrentThreadId());
    TBoxReader reader;
    bool aliveAfterBox = false;
    std::thread user([&] {
        HWND d = drive.WaitDialog();
        if (!d)
            return;
        TDriver::Keys({VK_MENU, 'T'});
        reader.Run();
        aliveAfterBox = Poll([&] { return IsWindowEnabled(d) && drive.FocusId(); });
        TDriver::Keys({VK_ESCAPE});
    });
    TProbeDialog dlg;
    EXPECT_EQ(dlg.RunModal(nullptr), IDCANCEL);
    user.join();
    EXPECT_TRUE(reader.found);
    EXPECT_EQ(reader.text, L"Handler failure.");
    EXPECT_TRUE(aliveAfterBox);

    // A failure while the dialog is built is shown, and no half-built dialog appears.
    TBoxReader initReader;
    std::thread box([&] { initReader.Run(); });
    TProbeDialog broken(true);
    EXPECT_EQ(broken.RunModal(nullptr), -1);
    box.join();
    EXPECT_EQ(initReader.text, L"Init failure.");
    EXPECT_FALSE(FindWindowW(MAKEINTATOM(32770), Caption));
}

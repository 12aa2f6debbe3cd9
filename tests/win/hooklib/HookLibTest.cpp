// HookLib.dll against applications in other processes: our hooktarget.exe (counts what it
// receives) and the system's notepad as a third-party program.
#include "HookLib.h"
#include "palette/Tracker_win.h"
#include "settings/HotKey.h"

#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

namespace {

constexpr UINT kGetCount = WM_APP + 10; // hooktarget's count query
enum Counter {
    kEKeyDown = 0,
    kEKeyOther = 1,
    kMenuActivations = 2,
    kQueries = 3,
    kMaskKeyDown = 4
};

// ---- waiting --------------------------------------------------------------------------------

// Serves this thread's messages until `done` holds or the deadline passes.
template <class Pred> bool PumpUntil(Pred done, int timeoutMs = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// ---- the receiving window -------------------------------------------------------------------

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Received> g_received;

LRESULT CALLBACK ReceiverProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_EXECACTIVEHOOKHANDLE || msg == WM_EXECNONACTIVEHOOKHANDLE ||
        msg == WM_SENDTOHOOK) {
        try {
            g_received.push_back({msg, wParam, lParam});
        } catch (...) {
        }
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

size_t CountReceived(UINT msg) {
    size_t n = 0;
    for (const Received& r : g_received)
        n += r.message == msg;
    return n;
}

// ---- processes ------------------------------------------------------------------------------

std::wstring ExeDir() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L"\\/") + 1);
}

struct FindData {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindTopOfProcess(HWND wnd, LPARAM param) {
    auto* fd = reinterpret_cast<FindData*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == fd->pid && IsWindowVisible(wnd) && !GetWindow(wnd, GW_OWNER)) {
        fd->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// A program started for one test and ended with it, whatever the test's outcome.
class Program {
  public:
    explicit Program(std::wstring commandLine) {
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &si, &pi_))
            return;
        FindData fd{pi_.dwProcessId, nullptr};
        PumpUntil([&] {
            EnumWindows(FindTopOfProcess, reinterpret_cast<LPARAM>(&fd));
            return fd.found != nullptr;
        });
        top_ = fd.found;
    }
    ~Program() {
        if (!pi_.hProcess)
            return;
        TerminateProcess(pi_.hProcess, 0);
        WaitForSingleObject(pi_.hProcess, 5000);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND Top() const { return top_; }

  private:
    PROCESS_INFORMATION pi_ = {};
    HWND top_ = nullptr;
};

HWND FocusOf(HWND top) {
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof gti;
    return GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gti) ? gti.hwndFocus : nullptr;
}

// Brings `top` to the front and waits until a control inside it has the focus; returns that.
HWND BringToFront(HWND top) {
    SetForegroundWindow(top);
    HWND focus = nullptr;
    PumpUntil([&] {
        focus = FocusOf(top);
        return GetForegroundWindow() == top && focus && focus != top &&
               GetAncestor(focus, GA_ROOT) == top;
    });
    return focus;
}

std::string Narrow(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

std::wstring TextOf(HWND edit) {
    wchar_t buf[256] = {};
    DWORD_PTR len = 0;
    SendMessageTimeoutW(edit, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                        2000, &len);
    return buf;
}

LRESULT TargetCount(HWND top, Counter which) {
    DWORD_PTR result = static_cast<DWORD_PTR>(-1);
    SendMessageTimeoutW(top, kGetCount, which, 0, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<LRESULT>(result);
}

// ---- input ------------------------------------------------------------------------------------

INPUT Key(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

// Presses and releases `key` with the modifiers held, all in one SendInput call.
void SendChord(std::initializer_list<WORD> modifiers, WORD key) {
    std::vector<INPUT> in;
    for (WORD m : modifiers)
        in.push_back(Key(m, false));
    in.push_back(Key(key, false));
    in.push_back(Key(key, true));
    for (auto it = modifiers.end(); it != modifiers.begin();)
        in.push_back(Key(*--it, true));
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// Types an X into the foreground edit and waits until the edit shows `expected`. Input arrives
// in order, so once the X is there everything sent before it has been handled; had an Alt
// release opened the menu bar, the X would have gone to the menu instead.
bool TypeXAndExpect(HWND edit, const std::wstring& expected) {
    SendChord({}, 'X');
    return PumpUntil([&] { return TextOf(edit) == expected; });
}

// ---- fixture ------------------------------------------------------------------------------------

class HookLibTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ReceiverProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"HookLibTestReceiver";
        RegisterClassW(&wc); // stays registered for the next test
        receiver_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, wc.hInstance, nullptr);
        ASSERT_NE(receiver_, nullptr);
        g_received.clear();
    }
    void TearDown() override {
        UnHookKeyboard();
        UnHookMessages();
        DestroyWindow(receiver_);
    }

    // Starts hooktarget.exe and brings it to the front with its edit focused.
    void StartTarget() {
        target_ = std::make_unique<Program>(L"\"" + ExeDir() + L"hooktarget.exe\"");
        top_ = target_->Top();
        ASSERT_NE(top_, nullptr) << "hooktarget.exe did not show its window";
        edit_ = FindWindowExW(top_, nullptr, L"Edit", nullptr);
        ASSERT_NE(edit_, nullptr);
        ASSERT_EQ(BringToFront(top_), edit_);
    }

    HWND receiver_ = nullptr;
    std::unique_ptr<Program> target_;
    HWND top_ = nullptr;
    HWND edit_ = nullptr;
};

// ---- keyboard hook ------------------------------------------------------------------------------

TEST_F(HookLibTest, HotKeyReportsFocusAndTopLevelAndIsConsumed) {
    StartTarget();
    THotKey hotKey; // Alt+E
    EXPECT_FALSE(KeyboardIsHooked());
    // A second installation replaces the first: one press must give one message.
    SetKeyboardHook(&hotKey, receiver_, WM_EXECACTIVEHOOKHANDLE);
    SetKeyboardHook(&hotKey, receiver_, WM_EXECACTIVEHOOKHANDLE);
    ASSERT_TRUE(KeyboardIsHooked());

    SendChord({VK_MENU}, 'E');
    ASSERT_TRUE(PumpUntil([] { return CountReceived(WM_EXECACTIVEHOOKHANDLE) >= 1; }));
    EXPECT_EQ(g_received[0].wParam, reinterpret_cast<WPARAM>(edit_));
    EXPECT_EQ(g_received[0].lParam, reinterpret_cast<LPARAM>(top_));

    // The target saw neither the E nor a menu activation from the lone Alt release.
    ASSERT_TRUE(TypeXAndExpect(edit_, L"x")) << "edit holds \"" << Narrow(TextOf(edit_)) << "\"";
    EXPECT_EQ(TargetCount(top_, kEKeyDown), 0);
    EXPECT_EQ(TargetCount(top_, kEKeyOther), 0);
    EXPECT_EQ(TargetCount(top_, kMenuActivations), 0);
    PumpUntil([] { return false; }, 0);
    EXPECT_EQ(CountReceived(WM_EXECACTIVEHOOKHANDLE), 1u);

    UnHookKeyboard();
    EXPECT_FALSE(KeyboardIsHooked());
    UnHookKeyboard(); // harmless when nothing is hooked
}

// Only the last input's receiver may take the foreground: a chord without Alt must be followed by
// the masking key too, or the program could not bring its window to the front.
TEST_F(HookLibTest, CtrlChordIsConsumedReportedAndFollowedByTheMaskKey) {
    StartTarget();
    THotKey hotKey;
    hotKey.blAlt = 0;
    hotKey.blCtrl = 1;
    SetKeyboardHook(&hotKey, receiver_, WM_EXECACTIVEHOOKHANDLE);

    SendChord({VK_CONTROL}, 'E');
    ASSERT_TRUE(PumpUntil([] { return CountReceived(WM_EXECACTIVEHOOKHANDLE) == 1; }));
    EXPECT_EQ(g_received[0].wParam, reinterpret_cast<WPARAM>(edit_));
    EXPECT_EQ(g_received[0].lParam, reinterpret_cast<LPARAM>(top_));
    ASSERT_TRUE(TypeXAndExpect(edit_, L"x")) << "edit holds \"" << Narrow(TextOf(edit_)) << "\"";
    EXPECT_EQ(TargetCount(top_, kMaskKeyDown), 1);
    EXPECT_EQ(TargetCount(top_, kEKeyDown), 0);
    EXPECT_EQ(TargetCount(top_, kEKeyOther), 0);
}

TEST_F(HookLibTest, OnlyTheExactChordOfTheCurrentRecordMatches) {
    StartTarget();
    THotKey hotKey; // installed as Alt+E ...
    SetKeyboardHook(&hotKey, receiver_, WM_EXECACTIVEHOOKHANDLE);
    ASSERT_TRUE(KeyboardIsHooked());
    // ... and changed afterwards: the library reads the record at each key press.
    hotKey.blAlt = 0;
    hotKey.blCtrl = 1;

    // Missing, extra or other modifiers: the application gets the key as usual.
    SendChord({}, 'E');
    SendChord({VK_SHIFT}, 'E');
    SendChord({VK_CONTROL, VK_SHIFT}, 'E');
    ASSERT_TRUE(TypeXAndExpect(edit_, L"eEx"));
    EXPECT_EQ(TargetCount(top_, kEKeyDown), 3);
    EXPECT_EQ(CountReceived(WM_EXECACTIVEHOOKHANDLE), 0u);

    SendChord({VK_CONTROL}, 'E');
    ASSERT_TRUE(PumpUntil([] { return CountReceived(WM_EXECACTIVEHOOKHANDLE) == 1; }));
    EXPECT_EQ(g_received[0].wParam, reinterpret_cast<WPARAM>(edit_));

    // Key code 0 means no hot key: nothing matches, not even the modifiers alone.
    hotKey.iVirtCode = 0;
    SendChord({VK_CONTROL}, 'E');
    SendChord({}, VK_CONTROL);
    ASSERT_TRUE(TypeXAndExpect(edit_, L"eExx"));
    EXPECT_EQ(TargetCount(top_, kEKeyDown), 4);

    // After unhooking the chord reaches the application again and nothing is reported.
    hotKey.iVirtCode = 'E';
    UnHookKeyboard();
    EXPECT_FALSE(KeyboardIsHooked());
    SendChord({VK_CONTROL}, 'E');
    ASSERT_TRUE(TypeXAndExpect(edit_, L"eExxx"));
    EXPECT_EQ(TargetCount(top_, kEKeyDown), 5);
    EXPECT_EQ(CountReceived(WM_EXECACTIVEHOOKHANDLE), 1u);
    EXPECT_EQ(TargetCount(top_, kMenuActivations), 0);
}

// The program's options are replaced whole by the options dialog while the hook may be reading the
// key: the tracker keeps the record the hook reads and changes it only with the hook out.
TEST_F(HookLibTest, TrackerKeepsTheKeyInForceUntilItIsReplaced) {
    StartTarget();
    TEmoticonsOptions options; // Alt+E
    TTargetTracker tracker(receiver_);
    tracker.Apply(options);
    options.HotKey.blAlt = 0;
    options.HotKey.blCtrl = 1;
    SendChord({VK_MENU}, 'E');
    ASSERT_TRUE(PumpUntil([] { return CountReceived(WM_EXECACTIVEHOOKHANDLE) == 1; }));
    tracker.SetHotKey(options.HotKey);
    EXPECT_TRUE(KeyboardIsHooked());
    SendChord({VK_CONTROL}, 'E');
    ASSERT_TRUE(PumpUntil([] { return CountReceived(WM_EXECACTIVEHOOKHANDLE) == 2; }));
}

TEST_F(HookLibTest, HotKeyInNotepadReportsItsEditControl) {
    Program notepad(L"C:\\windows\\notepad.exe");
    HWND top = notepad.Top();
    ASSERT_NE(top, nullptr) << "notepad did not show its window";
    HWND focus = BringToFront(top);
    ASSERT_NE(focus, nullptr);

    THotKey hotKey; // Alt+E: notepad's Edit menu, had the key reached it
    SetKeyboardHook(&hotKey, receiver_, WM_EXECACTIVEHOOKHANDLE);
    SendChord({VK_MENU}, 'E');
    ASSERT_TRUE(PumpUntil([] { return CountReceived(WM_EXECACTIVEHOOKHANDLE) >= 1; }));
    HWND reported = reinterpret_cast<HWND>(g_received[0].wParam);
    wchar_t cls[64] = {};
    GetClassNameW(reported, cls, 64);
    EXPECT_STREQ(cls, L"Edit");
    EXPECT_EQ(reported, focus);
    EXPECT_EQ(GetAncestor(reported, GA_ROOT), top);
    EXPECT_EQ(g_received[0].lParam, reinterpret_cast<LPARAM>(top));
    // Neither the Edit menu nor the menu bar opened, and no E was typed.
    EXPECT_TRUE(TypeXAndExpect(reported, L"x"))
        << "notepad's edit holds \"" << Narrow(TextOf(reported)) << "\"";
}

// ---- message hook
// ---------------------------------------------------------------------------------

TEST_F(HookLibTest, QueryIsAnsweredFromInsideTheOtherApplication) {
    StartTarget();
    EXPECT_FALSE(MessagesAreHooked());
    SetMessageHook(WM_SENDTOHOOK, 0, 0, receiver_, WM_EXECNONACTIVEHOOKHANDLE);
    SetMessageHook(WM_SENDTOHOOK, 0, 0, receiver_, WM_EXECNONACTIVEHOOKHANDLE);
    ASSERT_TRUE(MessagesAreHooked());

    PostMessageW(top_, WM_SENDTOHOOK, 0, 0);
    ASSERT_TRUE(PumpUntil([] { return CountReceived(WM_EXECNONACTIVEHOOKHANDLE) >= 1; }));
    EXPECT_EQ(g_received[0].wParam, reinterpret_cast<WPARAM>(edit_));
    EXPECT_EQ(g_received[0].lParam, reinterpret_cast<LPARAM>(top_));

    // Other parameters are not the query: they reach the window and get no answer. The answer to
    // a query is posted before the target handles the message, so once the target has counted
    // both, any answer would already be waiting here.
    PostMessageW(top_, WM_SENDTOHOOK, 1, 0);
    PostMessageW(top_, WM_SENDTOHOOK, 0, 7);
    ASSERT_TRUE(PumpUntil([&] { return TargetCount(top_, kQueries) == 2; }));
    PumpUntil([] { return false; }, 0);
    EXPECT_EQ(CountReceived(WM_EXECNONACTIVEHOOKHANDLE), 1u) << "answered once, then swallowed";

    // A window of the installing application is not another application.
    PostMessageW(receiver_, WM_SENDTOHOOK, 0, 0);
    ASSERT_TRUE(PumpUntil([] { return CountReceived(WM_SENDTOHOOK) == 1; }));
    EXPECT_EQ(CountReceived(WM_EXECNONACTIVEHOOKHANDLE), 1u);

    UnHookMessages();
    EXPECT_FALSE(MessagesAreHooked());
    PostMessageW(top_, WM_SENDTOHOOK, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return TargetCount(top_, kQueries) == 3; }));
    PumpUntil([] { return false; }, 0);
    EXPECT_EQ(CountReceived(WM_EXECNONACTIVEHOOKHANDLE), 1u);
}

} // namespace

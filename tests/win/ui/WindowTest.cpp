// The wrapper layer against the real window manager: the thunk binds an object to its window for
// exactly the window's life, an exception in a handler becomes the general error display instead
// of unwinding through the system, and the application's notifications arrive after the fact.
#include "ui/Application_win.h"
#include "ui/Handles_win.h"
#include "ui/Window_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT WM_THROW_APP = WM_APP + 10;
constexpr UINT WM_THROW_BADALLOC = WM_APP + 11;
constexpr UINT WM_THROW_OTHER = WM_APP + 12;

class TProbe : public ui::TWindow {
  public:
    void Create() {
        RegisterWindowClass(L"TMoodpadProbe", 0, nullptr);
        CreateHandle(0, L"TMoodpadProbe", L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
    }
    void Destroy() { DestroyHandle(); }
    std::vector<UINT> seen;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(msg);
        switch (msg) {
        case WM_THROW_APP:
            throw ui::TAppError("Clipboard processing error");
        case WM_THROW_BADALLOC:
            throw std::bad_alloc();
        case WM_THROW_OTHER:
            throw 42;
        default:
            return Default(msg, wParam, lParam);
        }
    }
};

bool Saw(const TProbe& p, UINT msg) {
    for (UINT m : p.seen)
        if (m == msg)
            return true;
    return false;
}

// Finds this process's message box captioned "Moodpad", reads its text and whether it shows an
// icon, and presses OK. Runs on its own thread while the window's thread sits in the box.
struct TBoxReader {
    std::wstring text;
    bool icon = false;
    bool found = false;

    void Run() {
        const ULONGLONG deadline = GetTickCount64() + 10000;
        while (GetTickCount64() < deadline) {
            HWND box = FindBox();
            if (box) {
                Read(box);
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                found = true;
                return;
            }
            Sleep(10);
        }
    }

  private:
    static BOOL CALLBACK Visit(HWND wnd, LPARAM lp) {
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        wchar_t cls[32], title[64];
        if (pid == GetCurrentProcessId() && GetClassNameW(wnd, cls, 32) &&
            std::wstring(cls) == L"#32770" && GetWindowTextW(wnd, title, 64) &&
            std::wstring(title) == L"Moodpad") {
            *reinterpret_cast<HWND*>(lp) = wnd;
            return FALSE;
        }
        return TRUE;
    }
    static HWND FindBox() {
        HWND box = nullptr;
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&box));
        return box;
    }
    void Read(HWND box) {
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t cls[32];
            GetClassNameW(c, cls, 32);
            if (lstrcmpiW(cls, L"Static") != 0)
                continue;
            if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                icon = icon || SendMessageW(c, STM_GETICON, 0, 0) != 0;
                continue;
            }
            wchar_t buf[256];
            int n = GetWindowTextW(c, buf, 256);
            if (n > int(text.size()))
                text.assign(buf, size_t(n));
        }
    }
};

} // namespace

TEST(WindowThunk, BindsTheObjectForTheWindowsLifeOnly) {
    TProbe probe;
    probe.Create();
    HWND wnd = probe.Handle();
    ASSERT_TRUE(wnd);
    EXPECT_EQ(ui::TWindow::FromHandle(wnd), &probe);
    // Messages from WM_NCCREATE on reach the object.
    EXPECT_TRUE(Saw(probe, WM_NCCREATE));
    EXPECT_TRUE(Saw(probe, WM_CREATE));

    probe.Destroy();
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(probe.Handle(), nullptr);
    EXPECT_TRUE(Saw(probe, WM_NCDESTROY));
    EXPECT_EQ(ui::TWindow::FromHandle(wnd), nullptr);
    // A window of another kind is never taken for one of ours.
    EXPECT_EQ(ui::TWindow::FromHandle(GetDesktopWindow()), nullptr);
}

TEST(WindowThunk, ExceptionsInHandlersShowTheGeneralErrorAndTheWindowGoesOn) {
    const struct {
        UINT msg;
        const wchar_t* text;
    } cases[] = {
        {WM_THROW_APP, L"Clipboard processing error."},
        {WM_THROW_BADALLOC, L"Out of Memory."},
        {WM_THROW_OTHER, L"Unexpected error."},
    };
    TProbe probe;
    probe.Create();
    for (const auto& c : cases) {
        TBoxReader reader;
        std::thread t([&] { reader.Run(); });
        const LRESULT r = SendMessageW(probe.Handle(), c.msg, 0, 0);
        t.join();
        EXPECT_EQ(r, 0);
        ASSERT_TRUE(reader.found) << "no message box for " << c.msg;
        EXPECT_EQ(reader.text, c.text);
        EXPECT_TRUE(reader.icon) << "the general error display shows the stop icon";
        EXPECT_TRUE(IsWindow(probe.Handle()));
    }
}

TEST(Application, ActivationIsReportedAfterTheChangeAndMinimiseOncePerTransition) {
    TProbe probe;
    probe.Create();
    ui::TApplication app;
    int activated = 0, deactivated = 0, minimised = 0;
    app.OnActivate = [&] { ++activated; };
    app.OnDeactivate = [&] { ++deactivated; };
    app.OnMinimize = [&] { ++minimised; };
    HWND wnd = probe.Handle();
    LRESULT r = 0;
    ASSERT_TRUE(app.MainWindowMessage(wnd, WM_ACTIVATEAPP, FALSE, 0, &r));
    EXPECT_EQ(deactivated, 0) << "delivered by a posted message, not inside WM_ACTIVATEAPP";
    MSG msg;
    while (PeekMessageW(&msg, wnd, WM_APPACTIVATION, WM_APPACTIVATION, PM_REMOVE))
        app.MainWindowMessage(wnd, msg.message, msg.wParam, msg.lParam, &r);
    EXPECT_EQ(deactivated, 1);
    EXPECT_EQ(activated, 0);

    EXPECT_FALSE(app.MainWindowMessage(wnd, WM_SIZE, SIZE_MINIMIZED, 0, &r));
    app.MainWindowMessage(wnd, WM_SIZE, SIZE_MINIMIZED, 0, &r);
    EXPECT_EQ(minimised, 1);
    app.MainWindowMessage(wnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 100), &r);
    app.MainWindowMessage(wnd, WM_SIZE, SIZE_MINIMIZED, 0, &r);
    EXPECT_EQ(minimised, 2);
}

TEST(Handles, OwnersCloseExactlyOnceAndMovesHandOver) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD flags = 0;
    {
        ui::TUniqueHandle a(raw);
        ui::TUniqueHandle b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.Get(), raw);
        ui::TUniqueHandle c;
        c = std::move(b);
        EXPECT_FALSE(b);
        EXPECT_TRUE(GetHandleInformation(raw, &flags)) << "still open while owned";
    }
    EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "closed when the last owner went";

    HANDLE kept = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        ui::TUniqueHandle d(kept);
        EXPECT_EQ(d.Release(), kept);
    }
    EXPECT_TRUE(GetHandleInformation(kept, &flags)) << "released handles stay open";
    CloseHandle(kept);

    // A file that failed to open is empty, not INVALID_HANDLE_VALUE to be closed.
    ui::TUniqueFile missing(
        CreateFileW(L"Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
}

// The wrapper layer against the real window manager: the thunk binds an object to its window for
// exactly the window's life, an exception in a handler becomes the general error display instead
// of unwinding through the system, and the application's notifications arrive after the fact.
#include "ui/Application_win.h"
#include "ui/Subclass_win.h"
#include "ui/Window_win.h"
#include "support/Support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// wParam: a function that throws, called inside the window procedure.
constexpr UINT WM_RAISE = WM_APP + 10;

class TProbe : public ui::TWindow {
  public:
    TProbe() {
        RegisterWindowClass(L"TMoodpadProbe", 0, nullptr);
        CreateHandle(0, L"TMoodpadProbe", L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
    }
    void Destroy() { DestroyHandle(); }
    size_t Saw(UINT msg) const { return std::ranges::count(seen, msg); }

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(msg);
        if (msg == WM_RAISE)
            reinterpret_cast<void (*)()>(wParam)();
        return Default(msg, wParam, lParam);
    }

  private:
    std::vector<UINT> seen;
};

} // namespace

// The thunk binds the object to its window from WM_NCCREATE to WM_NCDESTROY, and an exception in a
// handler becomes the general error display while the window goes on.
TEST(WindowThunk, BindsTheObjectForTheWindowsLifeOnlyAndShowsExceptionsOfItsHandlers) {
    const struct {
        void (*raise)();
        const wchar_t* text;
    } cases[] = {
        {[] { throw ui::TAppError("Clipboard processing error"); }, L"Clipboard processing error."},
        {[] { throw std::bad_alloc(); }, L"Out of Memory."},
        {[] { throw 42; }, L"Unexpected error."},
        // Longer than the display's fixed buffer: cut, not lost.
        {[] { throw ui::TAppError(std::string(5000, 'x')); }, nullptr},
    };
    TProbe probe;
    HWND wnd = probe.Handle();
    ASSERT_TRUE(wnd);
    EXPECT_EQ(ui::TWindow::FromHandle(wnd), &probe);
    EXPECT_TRUE(probe.Saw(WM_NCCREATE) && probe.Saw(WM_CREATE));

    for (const auto& c : cases) {
        support::BoxReader reader;
        const LRESULT r = SendMessageW(wnd, WM_RAISE, reinterpret_cast<WPARAM>(c.raise), 0);
        reader.Join();
        EXPECT_EQ(r, 0);
        const std::wstring cut(std::max<size_t>(reader.text.size(), 501) - 1, L'x');
        EXPECT_EQ(reader.text, c.text ? c.text : cut + L".");
        EXPECT_TRUE(reader.icon) << "the general error display shows the stop icon";
        EXPECT_TRUE(IsWindow(wnd));
    }

    probe.Destroy();
    EXPECT_EQ(std::tuple(IsWindow(wnd), probe.Handle(), probe.Saw(WM_NCDESTROY)),
              std::tuple(FALSE, HWND(nullptr), size_t(1)));
    EXPECT_EQ(ui::TWindow::FromHandle(wnd), nullptr);
    // A window of another kind is never taken for one of ours.
    EXPECT_EQ(ui::TWindow::FromHandle(GetDesktopWindow()), nullptr);
}

TEST(Subclass, HandlersStackCatchExceptionsAndGoWithTheControl) {
    constexpr UINT WM_PROBE = WM_APP + 20;
    TProbe probe;
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 50, 20, probe.Handle(), nullptr,
                                nullptr, nullptr);
    ASSERT_TRUE(edit);
    auto alive = std::make_shared<int>(0);
    int seen[2] = {};
    for (int& count : seen)
        ui::Subclass(edit, [alive, &count](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
            count += msg == WM_PROBE;
            if (msg == WM_RAISE)
                reinterpret_cast<void (*)()>(wParam)();
            return DefSubclassProc(wnd, msg, wParam, lParam);
        });
    EXPECT_EQ(alive.use_count(), 3);

    // Both handlers see a message, and the control's own behaviour is still reached.
    SendMessageW(edit, WM_PROBE, 0, 0);
    EXPECT_TRUE(seen[0] == 1 && seen[1] == 1);
    SetWindowTextW(edit, L"text");
    EXPECT_EQ(support::Text(edit), L"text");

    support::BoxReader reader;
    void (*raise)() = [] { throw ui::TAppError("Subclass failure"); };
    EXPECT_EQ(SendMessageW(edit, WM_RAISE, reinterpret_cast<WPARAM>(raise), 0), 0);
    reader.Join();
    EXPECT_EQ(reader.text, L"Subclass failure.");
    EXPECT_TRUE(IsWindow(edit));

    DestroyWindow(edit);
    EXPECT_EQ(alive.use_count(), 1) << "the handlers are destroyed with the control";
}

TEST(Application, ActivationIsReportedAfterTheChangeAndMinimiseOncePerTransition) {
    TProbe probe;
    ui::TApplication app;
    std::string events;
    app.OnActivate = [&] { events += "activate "; };
    app.OnDeactivate = [&] { events += "deactivate "; };
    app.OnMinimize = [&] { events += "minimise "; };
    HWND wnd = probe.Handle();
    LRESULT r = 0;
    ASSERT_TRUE(app.MainWindowMessage(wnd, WM_ACTIVATEAPP, FALSE, 0, &r));
    EXPECT_EQ(events, "") << "delivered by a posted message, not inside WM_ACTIVATEAPP";
    MSG msg;
    while (PeekMessageW(&msg, wnd, WM_APPACTIVATION, WM_APPACTIVATION, PM_REMOVE))
        app.MainWindowMessage(wnd, msg.message, msg.wParam, msg.lParam, &r);
    EXPECT_FALSE(app.MainWindowMessage(wnd, WM_SIZE, SIZE_MINIMIZED, 0, &r));
    for (WPARAM size : {SIZE_MINIMIZED, SIZE_RESTORED, SIZE_MINIMIZED})
        app.MainWindowMessage(wnd, WM_SIZE, size, MAKELPARAM(100, 100), &r);
    EXPECT_EQ(events, "deactivate minimise minimise ");
}

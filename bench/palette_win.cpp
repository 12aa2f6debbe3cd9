// Palette figures measured from outside the real program (it cannot be instrumented):
//  - building: start-up time with N buttons minus start-up time with none (the splash hold and
//    process start cancel out);
//  - relayout: one resize of the main window from another process, which returns only when the
//    program has handled it, against the cost of one empty cross-process SendMessage;
//  - click to delivery: a face's default action until our target logs the paste (both sides read
//    QueryPerformanceCounter), against the round trip of one posted message between processes;
//  - a palette with more buttons than a process usually may have windows: what the program shows
//    and whether it still answers.
// Usage: palette_win.exe [max buttons, default 5000; 0 skips the large palettes]. Needs Moodpad's
// folder (MOODPAD_DIST_DIR or "dist" beside this program) and target.exe beside this program.
#include "e2e/E2E.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using e2e::Chord;
using e2e::Face;
using e2e::Moodpad;
using e2e::Settings;
using e2e::Target;
using e2e::TempDir;
using e2e::WaitFor;

namespace {

double Ms(LONGLONG ticks) {
    static LARGE_INTEGER f = [] {
        LARGE_INTEGER x;
        QueryPerformanceFrequency(&x);
        return x;
    }();
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(f.QuadPart);
}

LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double Median(std::vector<double> v) {
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One shared face folder with a picture for every button name, written once.
struct Faces {
    TempDir dir;
    int written = 0;
    std::string Ensure(int n) {
        for (; written < n; ++written) {
            std::string name = std::to_string(written);
            name.insert(name.begin(), 'b');
            name += ".bmp";
            e2e::WriteBmp(dir / e2e::Widen(name));
        }
        return e2e::Narrow(dir.path);
    }
};

Settings Palette(Faces& faces, int n) {
    Settings s;
    s.autoInsert = true;
    s.trackWindows = false;
    s.folder = faces.Ensure(n);
    s.faces = e2e::NumberedFaces(n);
    for (Face& b : s.faces)
        b.withPicture = false; // already in the shared folder
    return s;
}

// Milliseconds from process creation to an enabled main window; negative when it never came.
double StartUp(Moodpad& pad, const Settings& s, DWORD timeoutMs, bool* box = nullptr) {
    LONGLONG t0 = Now();
    if (!pad.Start(s))
        return -1;
    bool boxFirst = false;
    bool ok = pad.WaitReady(timeoutMs, &boxFirst);
    if (box)
        *box = boxFirst;
    return ok && !boxFirst ? Ms(Now() - t0) : -1;
}

void BuildTimes(Faces& faces, int maxButtons) {
    std::printf("Palette build (start-up with N buttons minus start-up with none, median):\n");
    double base = 0;
    for (int n : {0, 100, 1000, 5000, 10000}) {
        if (n > maxButtons)
            break;
        const int reps = n >= 5000 ? 1 : 3;
        std::vector<double> times;
        for (int r = 0; r < reps; ++r) {
            Moodpad pad;
            double t = StartUp(pad, Palette(faces, n), 300000);
            if (t >= 0)
                times.push_back(t);
        }
        double m = Median(times);
        if (n == 0)
            base = m;
        if (m < 0)
            std::printf("  %6d buttons: did not start\n", n);
        else
            std::printf("  %6d buttons: start-up %8.1f ms, build %8.1f ms\n", n, m, m - base);
        std::fflush(stdout);
    }
}

void RelayoutTimes(Faces& faces, int maxButtons) {
    std::printf("Relayout on one resize (median of 10, cross-process MoveWindow):\n");
    for (int n : {100, 1000, 5000}) {
        if (n > maxButtons)
            break;
        Moodpad pad;
        if (StartUp(pad, Palette(faces, n), 300000) < 0) {
            std::printf("  %6d buttons: did not start\n", n);
            continue;
        }
        std::vector<double> resize, empty;
        RECT r = e2e::WindowRect(pad.main);
        for (int i = 0; i < 10; ++i) {
            LONGLONG t0 = Now();
            MoveWindow(pad.main, r.left, r.top, i % 2 ? 407 : 460, 209, TRUE);
            resize.push_back(Ms(Now() - t0));
            t0 = Now();
            e2e::Settle(pad.main);
            empty.push_back(Ms(Now() - t0));
        }
        std::printf("  %6d buttons: resize %8.2f ms (empty SendMessage %.3f ms)\n", n,
                    Median(resize), Median(empty));
        std::fflush(stdout);
    }
}

// A window of ours that receives the target's echo replies.
HWND EchoWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MoodpadBenchEcho";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           wc.hInstance, nullptr);
}

void DeliveryTimes(Faces& faces) {
    std::printf("Click to delivery (median of 20):\n");
    Target target;
    Moodpad pad;
    if (!target.Start() || StartUp(pad, Palette(faces, 10), 30000) < 0) {
        std::printf("  could not start the programs\n");
        return;
    }
    if (!target.Activate()) {
        std::printf("  the target did not come to the front\n");
        return;
    }
    Chord({VK_MENU, 'E'});
    if (!WaitFor([&] { return GetForegroundWindow() == pad.main; })) {
        std::printf("  the hot key did not bring the palette forward\n");
        return;
    }
    e2e::Faces buttons(pad.Palette());
    if (buttons.Count() == 0) {
        std::printf("  no buttons found\n");
        return;
    }
    std::vector<double> delivery;
    for (int i = 0; i < 20; ++i) {
        size_t before = target.Count("PASTE");
        LONGLONG t0 = Now();
        if (!buttons.DoDefaultAction(1)) {
            std::printf("  click %d: the palette did not carry out the choice\n", i);
            for (const std::wstring& text : pad.BoxTexts())
                std::printf("  it shows: %ls\n", text.c_str());
            return;
        }
        if (!WaitFor([&] { return target.Count("PASTE") > before; }, 5000)) {
            std::printf("  click %d: nothing delivered\n", i);
            return;
        }
        delivery.push_back(Ms(target.Lines("PASTE").back().qpc - t0));
        // Let the paste finish before the next click, so that no click waits for the clipboard.
        const size_t want = static_cast<size_t>(i + 1) * 5; // " :-) "
        WaitFor([&] { return target.EditText().size() >= want; }, 5000);
    }
    HWND echo = EchoWindow();
    std::vector<double> roundTrip;
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        LONGLONG t0 = Now();
        PostMessageW(target.top, kTargetEcho, reinterpret_cast<WPARAM>(echo), 0);
        bool got = false;
        ULONGLONG deadline = GetTickCount64() + 5000;
        while (!got && GetTickCount64() < deadline) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                if (msg.message == kTargetEchoReply)
                    got = true;
                else
                    DispatchMessageW(&msg);
        }
        if (got)
            roundTrip.push_back(Ms(Now() - t0));
    }
    DestroyWindow(echo);
    std::printf("  choice to WM_PASTE logged by the target: %8.2f ms\n", Median(delivery));
    std::printf("  posted message round trip between two processes: %8.2f ms\n", Median(roundTrip));
}

void OverQuota(Faces& faces, int n) {
    std::printf("Palette of %d buttons (more than the usual per-process window quota):\n", n);
    Moodpad pad;
    bool box = false;
    LONGLONG t0 = Now();
    if (!pad.Start(Palette(faces, n))) {
        std::printf("  could not start\n");
        return;
    }
    bool ready = pad.WaitReady(240000, &box);
    double t = Ms(Now() - t0);
    for (const std::wstring& text : pad.BoxTexts())
        std::printf("  message box after %.0f ms: %ls\n", t, text.c_str());
    for (HWND b : e2e::MessageBoxes(pad.proc.pid))
        e2e::PressOk(b);
    if (box)
        ready = pad.WaitReady(240000);
    if (!ready) {
        std::printf("  main window not ready (process %s)\n",
                    pad.proc.Running() ? "running" : "ended");
        return;
    }
    std::printf("  ready after %.0f ms, %ld buttons made, answers messages: %s\n", Ms(Now() - t0),
                e2e::Faces(pad.Palette()).Count(), e2e::Settle(pad.main) ? "yes" : "no");
}

} // namespace

int main(int argc, char** argv) {
    int maxButtons = argc > 1 ? std::atoi(argv[1]) : 5000;
    std::printf("Moodpad palette benchmark (program folder %ls)\n", e2e::DistDir().c_str());
    Faces faces;
    BuildTimes(faces, maxButtons);
    RelayoutTimes(faces, maxButtons);
    DeliveryTimes(faces);
    if (maxButtons > 0)
        OverQuota(faces, std::max(12000, maxButtons));
    return 0;
}

// Figures of the real program, measured from outside it as a user meets them. Each figure comes
// with its baseline from the same run, so that the machine's speed cancels out:
//   startup.*   process creation until the main window is enabled and the splash gone, less the
//               splash's fixed 1.5 s; the baseline is the smallest window program (emptywin.exe);
//   build.*     start-up with 1,000 faces less start-up with the 57 of the sample, per extra face
//               (every face has a picture file of its own);
//   resize.*    one resize of the main window with 1,000 faces, until it is laid out and painted;
//   big.*       12,000 faces: ready, then closed, and the saved settings file counted;
//   click.*     a click on a face until the target logs the paste, against one posted round trip;
//   mem.*       windows and page-file bytes with 57 and with 1,000 faces.
// Prints "RESULT <key> <value>" lines for scripts/bench, and "NOTE <text>" for what it should say.
//
// Usage: program_win.exe <folder for the face pictures, kept between runs> [seconds to wait for
// 12,000 faces, default 20]. Needs the program folder (MOODPAD_DIST_DIR) and emptywin.exe and
// target.exe beside this program.
#include <windows.h>
#include <oleacc.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kSplashMs = 1500.0;
constexpr int kPanelId = 108, kPaletteId = 109; // the palette window inside the main window's panel
constexpr UINT kTargetEcho = WM_APP + 2, kTargetEchoReply = WM_APP + 3,
               kTargetActivate = WM_APP + 4;

double NowMs() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / perMs;
}

double Median(std::vector<double> v) {
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void Result(const char* key, double value) {
    std::printf("RESULT %s %.4f\n", key, value);
    std::fflush(stdout);
}

// The median of the successful runs; nothing when none succeeded.
void ResultMedian(const char* key, const std::vector<double>& runs) {
    if (!runs.empty())
        Result(key, Median(runs));
}

void Note(const std::string& text) {
    std::printf("NOTE %s\n", text.c_str());
    std::fflush(stdout);
}

// Serves this thread's messages until pred holds or the time is up.
template <class Pred> bool WaitFor(Pred pred, double timeoutMs, DWORD pollMs = 1) {
    const double end = NowMs() + timeoutMs;
    for (;;) {
        if (pred())
            return true;
        if (NowMs() >= end)
            return false;
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&m);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, pollMs, QS_ALLINPUT);
    }
}

fs::path ExeDir() {
    wchar_t buf[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH * 4);
    return fs::path(std::wstring(buf, n)).parent_path();
}

fs::path DistDir() {
    wchar_t buf[MAX_PATH * 4];
    const DWORD n = GetEnvironmentVariableW(L"MOODPAD_DIST_DIR", buf, MAX_PATH * 4);
    return n ? fs::path(std::wstring(buf, n)) : ExeDir() / "dist";
}

// A top-level window of a process by class; visible ones only when asked.
HWND WindowOf(DWORD pid, const wchar_t* cls, bool visibleOnly = false) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w;
         w = FindWindowExW(nullptr, w, cls, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && (!visibleOnly || IsWindowVisible(w)))
            return w;
    }
    return nullptr;
}

// A process started for a measurement and ended with it.
class Process {
  public:
    bool Start(const fs::path& exe, const std::wstring& args = L"") {
        std::wstring cmd = L"\"" + exe.wstring() + L"\" " + args;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        return CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              exe.parent_path().c_str(), &si, &pi_) != 0;
    }
    ~Process() { Kill(); }
    void Kill() {
        if (!pi_.hProcess)
            return;
        TerminateProcess(pi_.hProcess, 1);
        WaitForSingleObject(pi_.hProcess, 5000);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
        pi_ = {};
    }
    bool WaitExit(double ms) {
        return WaitFor([&] { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0; }, ms,
                       10);
    }
    DWORD pid() const { return pi_.dwProcessId; }
    HANDLE handle() const { return pi_.hProcess; }

  private:
    PROCESS_INFORMATION pi_{};
};

// ---- settings files and faces ------------------------------------------------------------------

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << text;
}

// prefix followed by n (built without `"literal" + std::string`, which GCC 12 warns about).
std::string Numbered(const char* prefix, int n) {
    std::string s = prefix;
    s += std::to_string(n);
    return s;
}

std::string Padded(std::string s, size_t width) {
    if (s.size() < width)
        s.resize(width, ' ');
    return s;
}

// A 28 x 28 24-bit picture whose colour follows its number, so that no two files are alike.
void WriteFace(const fs::path& file, int n) {
    constexpr int side = 28, stride = side * 3;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = ih.biHeight = side;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = stride * side;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof fh);
    bytes.append(reinterpret_cast<const char*>(&ih), sizeof ih);
    for (int i = 0; i < side * side; ++i) {
        bytes += static_cast<char>(n & 0xFF);
        bytes += static_cast<char>((n >> 8) & 0xFF);
        bytes += static_cast<char>(i & 0xFF);
    }
    WriteFile(file, bytes);
}

// The program in a folder of its own, with the sample's options and faces to choose from.
struct Folder {
    fs::path dir;
    std::string sampleIni; // the shipped settings file

    explicit Folder(const fs::path& d) : dir(d) {
        fs::create_directories(dir);
        for (const char* f : {"Moodpad.exe", "HookLib.dll"})
            fs::copy_file(DistDir() / f, dir / f, fs::copy_options::overwrite_existing);
        fs::copy(DistDir() / "Faces", dir / "Faces",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        sampleIni = ReadFile(DistDir() / "MOODPAD.INI");
    }
    fs::path Exe() const { return dir / "Moodpad.exe"; }
    fs::path Ini() const { return dir / "MOODPAD.INI"; }

    // The sample's options with `n` numbered faces from `faces`, each with its own picture.
    std::string Synthetic(int n, const fs::path& faces) const {
        std::string text = sampleIni.substr(0, sampleIni.find("[Buttons]"));
        const size_t path = text.find("[ButtonPath]\r\nValue=");
        const size_t eol = text.find("\r\n", path + 20);
        text.replace(path + 20, eol - path - 20, faces.string());
        text += "[Buttons]\r\n";
        for (int i = 0; i < n; ++i) {
            text += Padded(Numbered("f", i), 19) + "=" + Padded(Numbered(":-", i), 19);
            text += Numbered("Face number ", i) + "\r\n";
        }
        return text;
    }
};

// Pictures f0.bmp ... in `dir`, kept between runs: under Wine each new file costs about 2 ms.
void EnsureFaces(const fs::path& dir, int n) {
    const fs::path done = dir / "complete.txt";
    if (ReadFile(done) == std::to_string(n))
        return;
    fs::create_directories(dir);
    for (int i = 0; i < n; ++i)
        WriteFace(dir / (Numbered("f", i) + ".bmp"), i);
    WriteFile(done, std::to_string(n));
}

// ---- the program --------------------------------------------------------------------------------

struct Pad {
    Process proc;
    HWND main = nullptr;
    double readyMs = -1; // from process creation
    std::vector<std::wstring> boxes;
};

std::wstring BoxText(HWND box) {
    std::wstring text;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32], buf[512];
        GetClassNameW(c, cls, 32);
        if (lstrcmpiW(cls, L"Static") == 0 && GetWindowTextW(c, buf, 512) > 0)
            text += buf;
    }
    return text;
}

// Starts the program and waits until it is ready: the main window visible and enabled, the
// splash gone. A message box on the way is noted and closed, as a user would.
bool StartPad(Pad& pad, const Folder& folder, double timeoutMs) {
    const double t0 = NowMs();
    if (!pad.proc.Start(folder.Exe()))
        return false;
    const DWORD pid = pad.proc.pid();
    return WaitFor(
        [&] {
            if (HWND box = WindowOf(pid, L"#32770", true)) {
                pad.boxes.push_back(BoxText(box));
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                WaitFor([&] { return !IsWindow(box); }, 2000);
            }
            HWND main = WindowOf(pid, L"TMainForm", true);
            if (!main || !IsWindowEnabled(main) || WindowOf(pid, L"TSplashForm"))
                return false;
            pad.main = main;
            pad.readyMs = NowMs() - t0;
            return true;
        },
        timeoutMs);
}

double EmptyWindowStart() {
    Process p;
    const double t0 = NowMs();
    if (!p.Start(ExeDir() / "emptywin.exe"))
        return -1;
    return WaitFor([&] { return WindowOf(p.pid(), L"EmptyWin", true) != nullptr; }, 10000)
               ? NowMs() - t0
               : -1;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountTop(HWND w, LPARAM param) {
    auto* q = reinterpret_cast<std::pair<DWORD, int>*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == q->first) {
        ++q->second;
        EnumChildWindows(w, CountChild, reinterpret_cast<LPARAM>(&q->second));
    }
    return TRUE;
}

// Windows of the process (Wine has no GetGuiResources) and its page-file bytes (Wine reports
// PrivateUsage as 0).
void Resources(const Pad& pad, const char* faces) {
    std::pair<DWORD, int> q{pad.proc.pid(), 0};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&q));
    Result((std::string("mem.windows.") + faces).c_str(), q.second);
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(pad.proc.handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                             sizeof pmc))
        Result((std::string("mem.pagefile_kb.") + faces).c_str(), pmc.PagefileUsage / 1024.0);
    const DWORD user = GetGuiResources(pad.proc.handle(), GR_USEROBJECTS);
    const DWORD gdi = GetGuiResources(pad.proc.handle(), GR_GDIOBJECTS);
    if (user || gdi) {
        Result((std::string("mem.user_objects.") + faces).c_str(), user);
        Result((std::string("mem.gdi_objects.") + faces).c_str(), gdi);
    }
}

// ---- figures ------------------------------------------------------------------------------------

void StartUp(Folder& folder, const fs::path& faces) {
    std::vector<double> sample, empty, many;
    for (int i = 0; i < 5; ++i) {
        WriteFile(folder.Ini(), folder.sampleIni); // every run reads the same file
        Pad pad;
        if (StartPad(pad, folder, 20000))
            sample.push_back(pad.readyMs - kSplashMs);
        if (i == 4 && pad.main)
            Resources(pad, "57");
        const double e = EmptyWindowStart();
        if (e >= 0)
            empty.push_back(e);
    }
    ResultMedian("startup.sample_ms", sample);
    ResultMedian("startup.empty_ms", empty);

    const std::string thousand = folder.Synthetic(1000, faces);
    for (int i = 0; i < 3; ++i) {
        WriteFile(folder.Ini(), thousand);
        Pad pad;
        if (StartPad(pad, folder, 60000))
            many.push_back(pad.readyMs - kSplashMs);
        for (const std::wstring& b : pad.boxes)
            Note("1,000 faces: the program showed \"" + std::string(b.begin(), b.end()) + "\"");
        if (i < 2 || !pad.main)
            continue;
        Resources(pad, "1000");

        // One resize: SetWindowPos from this process returns once the program's thread has
        // handled the move and size messages it sends (the layout runs in WM_SIZE); the forced
        // update then has it paint what the resize invalidated, and the WM_NULL round trip
        // returns once everything sent to it before has been served. The width alternates so
        // that every step changes the number of columns. The baseline is that round trip alone.
        RECT r;
        GetWindowRect(pad.main, &r);
        std::vector<double> resize, roundTrip;
        DWORD_PTR res;
        for (int k = 0; k < 10; ++k) {
            const double t0 = NowMs();
            SetWindowPos(pad.main, nullptr, 0, 0, k % 2 ? 407 : 480, r.bottom - r.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            RedrawWindow(pad.main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            SendMessageTimeoutW(pad.main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &res);
            resize.push_back(NowMs() - t0);
            const double t1 = NowMs();
            SendMessageTimeoutW(pad.main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &res);
            roundTrip.push_back(NowMs() - t1);
        }
        ResultMedian("resize.ms", resize);
        ResultMedian("resize.round_trip_ms", roundTrip);
    }
    ResultMedian("build.startup_1000_ms", many);
    if (!many.empty() && !sample.empty())
        Result("build.per_face_ms", (Median(many) - Median(sample)) / (1000 - 57));
}

// The [Buttons] lines of a settings file.
int CountButtons(const std::string& ini) {
    const size_t start = ini.find("[Buttons]");
    if (start == std::string::npos)
        return 0;
    int n = 0;
    std::istringstream lines(ini.substr(start + 9));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] == '[')
            break;
        n += line.find('=') != std::string::npos;
    }
    return n;
}

void BigPalette(Folder& folder, const fs::path& faces, double timeoutMs) {
    WriteFile(folder.Ini(), folder.Synthetic(12000, faces));
    Pad pad;
    const bool ready = StartPad(pad, folder, timeoutMs);
    for (const std::wstring& b : pad.boxes)
        Note("12,000 faces: the program showed \"" + std::string(b.begin(), b.end()) + "\"");
    if (!ready) {
        Result("big.not_ready_after_s", timeoutMs / 1000);
        return;
    }
    Result("big.ready_ms", pad.readyMs - kSplashMs);
    PostMessageW(pad.main, WM_CLOSE, 0, 0);
    WaitFor(
        [&] {
            if (HWND box = WindowOf(pad.proc.pid(), L"#32770", true)) {
                const std::wstring t = BoxText(box);
                Note("12,000 faces, on close: \"" + std::string(t.begin(), t.end()) + "\"");
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                WaitFor([&] { return !IsWindow(box); }, 2000);
            }
            return WaitForSingleObject(pad.proc.handle(), 0) == WAIT_OBJECT_0;
        },
        30000, 10);
    Result("big.saved_buttons", CountButtons(ReadFile(folder.Ini())));
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

std::vector<double> PostedRoundTrips(HWND target) {
    HWND echo = EchoWindow();
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
        const double t0 = NowMs();
        PostMessageW(target, kTargetEcho, reinterpret_cast<WPARAM>(echo), 0);
        bool got = false;
        // Waits as a message loop does: asleep until a message is posted to this thread.
        for (const double end = t0 + 5000; !got && NowMs() < end;) {
            MSG m;
            got = PeekMessageW(&m, echo, kTargetEchoReply, kTargetEchoReply, PM_REMOVE);
            if (!got)
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
        }
        if (got)
            times.push_back(NowMs() - t0);
    }
    DestroyWindow(echo);
    return times;
}

// QueryPerformanceCounter values of the pastes the target logged, in milliseconds.
std::vector<double> PasteTimes(const fs::path& log) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    std::vector<double> out;
    std::istringstream lines(ReadFile(log));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream s(line);
        long long qpc;
        std::string kind;
        if (s >> qpc >> kind && kind == "PASTE")
            out.push_back(static_cast<double>(qpc) * 1000.0 / static_cast<double>(f.QuadPart));
    }
    return out;
}

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
    std::vector<INPUT> in;
    for (auto [vk, up] : keys) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void ClickAt(int x, int y) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in[3] = {};
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        // Rounded up, or the pointer lands one pixel short.
        i.mi.dx = static_cast<LONG>((static_cast<long long>(x) * 65536 + w - 1) / w);
        i.mi.dy = static_cast<LONG>((static_cast<long long>(y) * 65536 + h - 1) / h);
        i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    in[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, in, sizeof(INPUT));
}

// The screen rectangle of the first face, found through the palette's accessibility interface
// as a screen reader finds it.
bool FirstFace(HWND main, RECT& cell) {
    HWND palette = GetDlgItem(GetDlgItem(main, kPanelId), kPaletteId);
    if (!palette)
        return false;
    IAccessible* acc = nullptr;
    if (FAILED(AccessibleObjectFromWindow(palette, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&acc))))
        return false;
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = 1;
    long x = 0, y = 0, w = 0, h = 0;
    const bool ok = SUCCEEDED(acc->accLocation(&x, &y, &w, &h, child)) && w > 0 && h > 0;
    acc->Release();
    cell = {x, y, x + w, y + h};
    return ok;
}

void ClickToPaste(Folder& folder, const fs::path& work) {
    Process target;
    const fs::path log = work / "target.log";
    fs::remove(log);
    if (!target.Start(ExeDir() / "target.exe", L"\"" + log.wstring() + L"\" 20 20 400 240")) {
        Note("click: target.exe did not start");
        return;
    }
    HWND top = nullptr;
    WaitFor([&] { return (top = WindowOf(target.pid(), L"MoodpadTarget", true)) != nullptr; },
            10000);
    // The sample's faces and options, the window beside the target and not tracking the mouse.
    std::string ini = folder.sampleIni;
    const auto set = [&](const std::string& key, const std::string& value) {
        const size_t at = ini.find("\r\n" + key + "=");
        if (at != std::string::npos)
            ini.replace(at + key.size() + 3, ini.find("\r\n", at + 2) - at - key.size() - 3, value);
    };
    set("TrackWindows", "0");
    set("Left", "500");
    set("Top", "300");
    set("Width", "407");
    set("Height", "209");
    WriteFile(folder.Ini(), ini);
    Pad pad;
    if (!top || !StartPad(pad, folder, 20000)) {
        Note("click: the programs did not start");
        return;
    }
    ResultMedian("click.round_trip_ms", PostedRoundTrips(top));
    RECT cell;
    if (!FirstFace(pad.main, cell)) {
        Note("click: no face found through the palette's accessibility interface (id 109)");
        return;
    }
    PostMessageW(top, kTargetActivate, 0, 0);
    WaitFor([&] { return GetForegroundWindow() == top; }, 5000);
    SendKeys({{VK_MENU, false}, {'E', false}, {'E', true}, {VK_MENU, true}}); // the hot key
    if (!WaitFor([&] { return GetForegroundWindow() == pad.main; }, 5000)) {
        Note("click: the hot key did not bring the palette to the front");
        return;
    }
    std::vector<double> delivery;
    for (int i = 0; i < 15; ++i) {
        const size_t before = PasteTimes(log).size();
        const double t0 = NowMs();
        ClickAt((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        std::vector<double> pastes;
        if (!WaitFor([&] { return (pastes = PasteTimes(log)).size() > before; }, 5000)) {
            std::string boxes;
            if (HWND box = WindowOf(pad.proc.pid(), L"#32770", true))
                for (wchar_t c : BoxText(box))
                    boxes += c < 128 ? static_cast<char>(c) : '?';
            Note("click " + std::to_string(i) + ": no paste arrived" +
                 (boxes.empty() ? "" : ", a box says: " + boxes) +
                 (GetForegroundWindow() == pad.main ? "" : ", the palette is not in front"));
            return;
        }
        delivery.push_back(pastes.back() - t0);
        Sleep(50); // let the paste finish before the next click
    }
    ResultMedian("click.ms", delivery);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: program_win <face folder> [seconds for 12,000 faces]\n");
        return 2;
    }
    const fs::path faces = argv[1];
    const double bigTimeoutMs = (argc > 2 ? std::atof(argv[2]) : 20.0) * 1000.0;
    CoInitialize(nullptr);
    wchar_t tmp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, tmp);
    const fs::path work =
        fs::path(tmp) / ("moodpad-bench-" + std::to_string(GetCurrentProcessId()));
    int status = 0;
    try {
        EnsureFaces(faces, 12000);
        Folder folder(work / "program");
        StartUp(folder, faces);
        ClickToPaste(folder, work);
        BigPalette(folder, faces, bigTimeoutMs);
    } catch (const std::exception& e) {
        Note(std::string("stopped: ") + e.what());
        status = 1;
    }
    std::error_code ec;
    for (int i = 0; i < 50 && fs::exists(work, ec); ++i) {
        fs::remove_all(work, ec); // files of a program just ended may stay locked a moment
        if (ec)
            Sleep(100);
    }
    CoUninitialize();
    return status;
}

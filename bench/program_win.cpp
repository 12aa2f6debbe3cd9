// Figures of the real program, measured from outside it as a user meets them. Each figure comes
// with its baseline from the same run, so that the machine's speed cancels out:
//   startup.*   process creation until the main window is enabled and the splash gone, less the
//               splash's fixed 1.5 s; the baseline is the smallest window program (emptywin.exe);
//               emptywin_libs.exe, the same after starting the system libraries Moodpad starts
//               before its first window, shows how much of the difference those take;
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
// target.exe beside this program. It drives them with the tests' support library.
#include "support/Support.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace support;

namespace {

constexpr double kSplashMs = 1500.0;

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

// Polls pred every millisecond until it holds or the time is up, serving this thread's messages.
bool WaitFor(const std::function<bool()>& pred, double timeoutMs) {
    return support::WaitFor(pred, static_cast<DWORD>(timeoutMs), 1);
}

// ---- settings files and faces ------------------------------------------------------------------

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
        const fs::path dist = DistDir();
        for (const char* f : {"Moodpad.exe", "HookLib.dll"})
            fs::copy_file(dist / f, dir / f, fs::copy_options::overwrite_existing);
        fs::copy(dist / "Faces", dir / "Faces",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        sampleIni = ReadFile(dist / "MOODPAD.INI");
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

// Starts the program and waits until it is ready: the main window visible and enabled, the
// splash gone. A message box on the way is noted and closed, as a user would.
bool StartPad(Pad& pad, const Folder& folder, double timeoutMs) {
    const double t0 = NowMs();
    if (!pad.proc.Start(folder.Exe(), L"", folder.dir))
        return false;
    const DWORD pid = pad.proc.pid;
    return WaitFor(
        [&] {
            if (HWND box = TopWindow(pid, L"#32770", nullptr, true)) {
                pad.boxes.push_back(MessageBoxText(box));
                PressOk(box);
                WaitFor([&] { return !IsWindow(box); }, 2000);
            }
            HWND main = TopWindow(pid, L"TMainForm", nullptr, true);
            if (!main || !IsWindowEnabled(main) || TopWindow(pid, L"TSplashForm"))
                return false;
            pad.main = main;
            pad.readyMs = NowMs() - t0;
            return true;
        },
        timeoutMs);
}

double EmptyWindowStart(const wchar_t* exe = L"emptywin.exe") {
    Process p;
    const double t0 = NowMs();
    if (!p.Start(ExeDir() + L"\\" + exe, L"", ExeDir()))
        return -1;
    return WaitFor([&] { return TopWindow(p.pid, L"EmptyWin", nullptr, true) != nullptr; }, 10000)
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
    std::pair<DWORD, int> q{pad.proc.pid, 0};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&q));
    Result((std::string("mem.windows.") + faces).c_str(), q.second);
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(pad.proc.handle, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                             sizeof pmc))
        Result((std::string("mem.pagefile_kb.") + faces).c_str(), pmc.PagefileUsage / 1024.0);
    const DWORD user = GetGuiResources(pad.proc.handle, GR_USEROBJECTS);
    const DWORD gdi = GetGuiResources(pad.proc.handle, GR_GDIOBJECTS);
    if (user || gdi) {
        Result((std::string("mem.user_objects.") + faces).c_str(), user);
        Result((std::string("mem.gdi_objects.") + faces).c_str(), gdi);
    }
}

// ---- figures ------------------------------------------------------------------------------------

void StartUp(Folder& folder, const fs::path& faces) {
    std::vector<double> sample, empty, libs, many;
    // In turns, so that a drift of the machine's speed meets all three alike.
    constexpr int runs = 9;
    for (int i = 0; i < runs; ++i) {
        WriteFile(folder.Ini(), folder.sampleIni); // every run reads the same file
        Pad pad;
        if (StartPad(pad, folder, 20000))
            sample.push_back(pad.readyMs - kSplashMs);
        if (i == runs - 1 && pad.main)
            Resources(pad, "57");
        const double e = EmptyWindowStart();
        if (e >= 0)
            empty.push_back(e);
        const double l = EmptyWindowStart(L"emptywin_libs.exe");
        if (l >= 0)
            libs.push_back(l);
    }
    ResultMedian("startup.sample_ms", sample);
    ResultMedian("startup.empty_ms", empty);
    ResultMedian("startup.libs_ms", libs);

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
            if (HWND box = TopWindow(pad.proc.pid, L"#32770", nullptr, true)) {
                Note("12,000 faces, on close: \"" + Narrow(MessageBoxText(box)) + "\"");
                PressOk(box);
                WaitFor([&] { return !IsWindow(box); }, 2000);
            }
            return !pad.proc.Running();
        },
        30000);
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
std::vector<double> PasteTimes(const Target& target) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    std::vector<double> out;
    for (const LogLine& l : target.Lines("PASTE"))
        out.push_back(static_cast<double>(l.qpc) * 1000.0 / static_cast<double>(f.QuadPart));
    return out;
}

void ClickToPaste(Folder& folder) {
    Target target;
    if (!target.Start()) {
        Note("click: target.exe did not start");
        return;
    }
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
    if (!StartPad(pad, folder, 20000)) {
        Note("click: the program did not start");
        return;
    }
    ResultMedian("click.round_trip_ms", PostedRoundTrips(target.top));
    // The first face, found through the palette's accessibility interface as a screen reader
    // finds it.
    const POINT face = Centre(
        Faces(GetDlgItem(GetDlgItem(pad.main, MainControlIds[mcPanel]), PALETTEID)).Location(1));
    if (face.x == 0 && face.y == 0) {
        Note("click: no face found through the palette's accessibility interface");
        return;
    }
    target.Activate();
    Chord({VK_MENU, 'E'}); // the hot key
    if (!WaitFor([&] { return GetForegroundWindow() == pad.main; }, 5000)) {
        Note("click: the hot key did not bring the palette to the front");
        return;
    }
    std::vector<double> delivery;
    for (int i = 0; i < 15; ++i) {
        const size_t before = PasteTimes(target).size();
        const double t0 = NowMs();
        Click(face);
        std::vector<double> pastes;
        if (!WaitFor([&] { return (pastes = PasteTimes(target)).size() > before; }, 5000)) {
            std::string why = GetForegroundWindow() == pad.main ? "" : ", the palette not in front";
            if (HWND box = WaitBox(pad.proc.pid, nullptr, 0))
                why += ", a box saying \"" + Narrow(MessageBoxText(box)) + "\"";
            Note("click " + std::to_string(i) + ": no paste arrived" + why);
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
        ClickToPaste(folder);
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

#include "support/Support.h"

#include <algorithm>
#include <psapi.h>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace support {

namespace {

void Send(std::vector<INPUT> in) {
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

INPUT Key(WORD vk, bool up) {
    INPUT in{INPUT_KEYBOARD, {}};
    in.ki = {vk, WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), up ? DWORD(KEYEVENTF_KEYUP) : 0, 0, 0};
    return in;
}

INPUT Mouse(POINT p, DWORD flags) {
    const long long w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{INPUT_MOUSE, {}};
    // In 1/65536 of the screen, rounded up, or the pointer lands one pixel short.
    in.mi.dx = LONG((p.x * 65536 + w - 1) / w);
    in.mi.dy = LONG((p.y * 65536 + h - 1) / h);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return in;
}

std::wstring NewTempDir(const std::wstring& parent) {
    static unsigned counter = 0;
    const fs::path p = (parent.empty() ? fs::temp_directory_path() : fs::path(parent)) /
                       (L"moodpad-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++counter));
    fs::remove_all(p);
    fs::create_directories(p);
    return p.wstring();
}

} // namespace

void Chord(const std::vector<WORD>& keys) {
    std::vector<INPUT> in;
    for (WORD k : keys)
        in.push_back(Key(k, false));
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        in.push_back(Key(*it, true));
    Send(in);
}

void SendKey(WORD vk, bool up) {
    Send({Key(vk, up)});
}

void MoveMouse(POINT p) {
    Send({Mouse(p, 0)});
}

void MouseButton(POINT p, bool down) {
    Send({Mouse(p, 0), Mouse(p, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP)});
}

void Click(POINT p) {
    Send({Mouse(p, 0), Mouse(p, MOUSEEVENTF_LEFTDOWN), Mouse(p, MOUSEEVENTF_LEFTUP)});
}

std::string ClipboardText() {
    if (!WaitFor([] { return OpenClipboard(nullptr) != 0; }, 3000))
        return "<clipboard busy>";
    std::string s;
    if (HANDLE h = GetClipboardData(CF_TEXT))
        if (const char* p = static_cast<const char*>(GlobalLock(h)))
            s = p, GlobalUnlock(h);
    CloseClipboard();
    return s;
}

TempDir::TempDir(const std::wstring& parent) : path(NewTempDir(parent)) {}

TempDir::~TempDir() {
    std::error_code ec;
    // Files left read-only by a test would block the removal, and the files of a process that has
    // just been ended can stay locked for a moment.
    for (auto it = fs::recursive_directory_iterator(path, ec); !ec && it != decltype(it)();
         it.increment(ec))
        SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    WaitFor([&] { return fs::remove_all(path, ec), !fs::exists(path, ec); }, 2000);
}

std::wstring ExeDir() {
    wchar_t buf[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    return fs::path(std::wstring(buf, n)).parent_path().wstring();
}

// Counts the windows of process `first` into `second`: EnumWindows and EnumChildWindows both.
static BOOL CALLBACK CountWindows(HWND w, LPARAM lp) {
    auto* tally = reinterpret_cast<std::pair<DWORD, long>*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == tally->first) {
        ++tally->second;
        if (GetAncestor(w, GA_PARENT) == GetDesktopWindow())
            EnumChildWindows(w, CountWindows, lp);
    }
    return TRUE;
}

Usage UsageOf(const Process& p) {
    Usage u;
    std::pair<DWORD, long> tally{p.pid, 0};
    EnumWindows(CountWindows, reinterpret_cast<LPARAM>(&tally));
    u.windows = tally.second;
    GetProcessHandleCount(p.handle, &u.handles);
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(p.handle, &pmc, sizeof pmc))
        u.pagefile = pmc.PagefileUsage;
    return u;
}

// The static controls of a message box: its message and its icon.
static std::vector<HWND> Statics(HWND box) {
    std::vector<HWND> found;
    wchar_t cls[16];
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (GetClassNameW(c, cls, 16) && _wcsicmp(cls, L"Static") == 0)
            found.push_back(c);
    return found;
}

std::wstring MessageBoxText(HWND box) {
    // The message is the static control with the longest text (the icon is a static too).
    std::wstring best;
    for (HWND c : Statics(box))
        if (std::wstring t = Text(c); t.size() > best.size())
            best = t;
    return best;
}

BoxReader::BoxReader()
    : thread([this] {
          // Found by the program's name in its caption, unlike a dialog under test.
          if (const HWND box = WaitBox(GetCurrentProcessId(), L"Moodpad")) {
              text = MessageBoxText(box);
              icon = std::ranges::any_of(Statics(box), [](HWND c) {
                  return (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                         SendMessageW(c, STM_GETICON, 0, 0) != 0;
              });
              PressOk(box);
          }
      }) {}

std::string Settings::Text() const {
    std::ostringstream s;
    s << "[AutoInsert]\r\nEnabled=" << autoInsert << "\r\nTrackWindows=" << trackWindows
      << "\r\nUseClipboard=" << useClipboard << "\r\nKeyboard=" << keyboard
      << "\r\n[ButtonPath]\r\nValue=faces"
      << "\r\n[Startup]\r\nEnabled=" << startup << "\r\nName=" << startupName
      << "\r\n[Hotkey]\r\nAlt=1\r\nCtrl=0\r\nShift=0\r\nKey=69\r\n[DragDrop]\r\nEnabled="
      << dragDrop << "\r\n[Window]\r\nLeft=" << left << "\r\nTop=" << top << "\r\nWidth=" << width
      << "\r\nHeight=" << height << "\r\nCode=" << style
      << "\r\n[ExtraSpacing]\r\nBefore=1\r\nAfter=1\r\n[Buttons]\r\n";
    for (const Face& f : faces)
        s << f.picture << "=" << f.sequence << " " << f.hint << "\r\n";
    return s.str();
}

bool Moodpad::Prepare(const Settings* s) {
    std::error_code ec;
    fs::copy(DistDir(), dir.path,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec || !FileExists(Exe()))
        return false;
    // The sample settings file must not leak into a test's prepared state.
    fs::remove(Ini(), ec);
    if (!s)
        return true;
    // Every face with a picture gets a copy of a shipped one.
    const fs::path folder = fs::path(dir.path) / "faces";
    const fs::path picture = fs::directory_iterator(fs::path(dir.path) / "Faces", ec)->path();
    fs::create_directories(folder, ec);
    for (const Face& f : s->faces)
        if (f.withPicture && !fs::copy_file(picture, folder / (f.picture + ".bmp"), ec))
            return false;
    return WriteFile(Ini(), s->Text());
}

std::vector<LogLine> Target::Lines(const std::string& kind) const {
    std::vector<LogLine> out;
    std::istringstream in(ReadFile(dir / L"target.log"));
    for (LogLine l; in >> l.qpc >> l.kind >> l.a >> l.b;)
        if (kind.empty() || l.kind == kind)
            out.push_back(l);
    return out;
}

} // namespace support

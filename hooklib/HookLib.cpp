// HookLib.dll: a system-wide hot key and a query answered from inside other applications.
//
// Keyboard: a low-level keyboard hook on a thread of this library with its own message loop. The
// caller's GUI thread may be busy for seconds (the program sleeps during start-up), and Windows
// drops a low-level hook whose thread does not answer in time; a thread that does nothing else
// always answers at once.
//
// Messages: a global WH_GETMESSAGE hook. Its procedure runs inside every GUI process that takes
// messages from its queue, so what it must know (message numbers, the window to answer) lives in
// a named shared mapping that every copy of the library opens when it is loaded.
//
// The library is built without exceptions, RTTI or any runtime library: it calls nothing that can
// throw, its entry point is DllMain itself, and it imports from kernel32 and user32 only. It stays
// a few kilobytes, and it is loaded into every process that takes a message.
#include "HookLib.h"

#include <atomic>
#include <cstdint>
#include <cstring>

namespace {

HMODULE g_module = nullptr;

// ---- the hot-key record ------------------------------------------------------------------------

// The caller's record: 8 bytes, the same on every architecture.
struct HotKeyRecord {
    uint8_t alt;
    uint8_t ctrl;
    uint8_t shift;
    uint8_t reserved;
    int32_t virtCode;
};
static_assert(sizeof(HotKeyRecord) == 8, "the hot-key record is 8 bytes");

// Modifier keys as seen by the keyboard hook.
struct Modifiers {
    bool alt = false;
    bool ctrl = false;
    bool shift = false;
    bool win = false;
};

// A chord matches when its key is the record's key and the modifiers are exactly those the record
// asks for. A Windows key held down makes it a different chord. Key code 0 (no hot key) and codes
// outside the virtual-key range never match.
bool ChordMatches(const HotKeyRecord& hk, DWORD vk, const Modifiers& m) {
    if (hk.virtCode <= 0 || hk.virtCode > 0xFE || static_cast<DWORD>(hk.virtCode) != vk)
        return false;
    return m.alt == (hk.alt != 0) && m.ctrl == (hk.ctrl != 0) && m.shift == (hk.shift != 0) &&
           !m.win;
}

// ---- keyboard hook thread -----------------------------------------------------------------------

// What the hook reports to; written only while no hook thread runs.
struct KeyboardTarget {
    HotKeyRecord hotKey{};
    bool hooked = false;
    HWND window = nullptr;
    UINT message = 0;
};
KeyboardTarget g_kbTarget;

// The key injected after every matched chord, a code no keyboard layout turns into a character or
// a command. It does two things. Windows lets a process take the foreground only when it received
// the last input event; the hot key itself is swallowed here, so without a later event the
// caller's SetForegroundWindow would merely flash its taskbar button. And after an Alt chord,
// releasing Alt no longer looks like Alt pressed alone, which would open the menu bar. Wine does
// not enforce the foreground rule, so under Wine only the menu bar shows the difference. The
// extra-info tag tells the hook its own injected key apart.
constexpr WORD kMaskKey = 0xFF;
constexpr ULONG_PTR kMaskTag = 0x4D6F6F64; // "Mood"

// State owned by the hook thread alone.
enum : unsigned {
    kLShift = 1u << 0,
    kRShift = 1u << 1,
    kLCtrl = 1u << 2,
    kRCtrl = 1u << 3,
    kLAlt = 1u << 4,
    kRAlt = 1u << 5,
    kLWin = 1u << 6,
    kRWin = 1u << 7,
};
unsigned g_modsDown = 0;
// The hot key's virtual key while it is held after a match: its repeats and its release are
// swallowed too, so the application never sees a stray key-up or an auto-repeat.
DWORD g_swallowedVk = 0;

unsigned ModifierBit(DWORD vk) {
    switch (vk) {
    case VK_SHIFT:
    case VK_LSHIFT:
        return kLShift;
    case VK_RSHIFT:
        return kRShift;
    case VK_CONTROL:
    case VK_LCONTROL:
        return kLCtrl;
    case VK_RCONTROL:
        return kRCtrl;
    case VK_MENU:
    case VK_LMENU:
        return kLAlt;
    case VK_RMENU:
        return kRAlt;
    case VK_LWIN:
        return kLWin;
    case VK_RWIN:
        return kRWin;
    default:
        return 0;
    }
}

bool AsyncDown(int vk) {
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

// The modifier state comes from the hook's own events: the flags of the low-level event do not
// report Alt everywhere. The asynchronous state adds modifiers that were already held when the
// hook was installed.
Modifiers CurrentModifiers() {
    Modifiers m;
    m.alt = (g_modsDown & (kLAlt | kRAlt)) != 0 || AsyncDown(VK_MENU);
    m.ctrl = (g_modsDown & (kLCtrl | kRCtrl)) != 0 || AsyncDown(VK_CONTROL);
    m.shift = (g_modsDown & (kLShift | kRShift)) != 0 || AsyncDown(VK_SHIFT);
    m.win = (g_modsDown & (kLWin | kRWin)) != 0 || AsyncDown(VK_LWIN) || AsyncDown(VK_RWIN);
    return m;
}

bool ReadHotKey(HotKeyRecord& out) {
    if (!g_kbTarget.hooked)
        return false;
    out = g_kbTarget.hotKey;
    return true;
}

void InjectMaskKey() {
    INPUT in[2] = {};
    for (INPUT& i : in) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = kMaskKey;
        i.ki.dwExtraInfo = kMaskTag;
    }
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

// Posts the foreground application's focus window and top-level window to the caller.
void ReportForeground() {
    HWND fg = GetForegroundWindow();
    HWND focus = nullptr;
    HWND top = nullptr;
    if (fg) {
        GUITHREADINFO gti = {};
        gti.cbSize = sizeof gti;
        DWORD tid = GetWindowThreadProcessId(fg, nullptr);
        if (tid && GetGUIThreadInfo(tid, &gti))
            focus = gti.hwndFocus ? gti.hwndFocus : gti.hwndActive;
        if (!focus)
            focus = fg;
        top = GetAncestor(fg, GA_ROOT);
        if (!top)
            top = fg;
    }
    PostMessageW(g_kbTarget.window, g_kbTarget.message, reinterpret_cast<WPARAM>(focus),
                 reinterpret_cast<LPARAM>(top));
}

// Returns true when the event is consumed.
bool HandleKey(WPARAM msg, const KBDLLHOOKSTRUCT& k) {
    if ((k.flags & LLKHF_INJECTED) && k.dwExtraInfo == kMaskTag)
        return false;
    const bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
    const DWORD vk = k.vkCode;
    if (unsigned bit = ModifierBit(vk)) {
        if (down)
            g_modsDown |= bit;
        else
            g_modsDown &= ~bit;
        return false;
    }
    if (!down) {
        if (vk != g_swallowedVk)
            return false;
        g_swallowedVk = 0;
        return true;
    }
    if (vk == g_swallowedVk)
        return true; // auto-repeat of the hot key
    // Another key went down: the hot key's release can no longer be pending in a way that matters.
    g_swallowedVk = 0;

    HotKeyRecord hk;
    if (!ReadHotKey(hk))
        return false;
    const Modifiers mods = CurrentModifiers();
    if (!ChordMatches(hk, vk, mods) || !IsWindow(g_kbTarget.window))
        return false;
    g_swallowedVk = vk;
    InjectMaskKey();
    ReportForeground();
    return true;
}

LRESULT CALLBACK LowLevelKeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && HandleKey(wParam, *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)))
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct ThreadStart {
    HANDLE ready;
    bool hooked;
};

// Holds a reference on this module (taken by the starter) and drops it as it ends, so the code it
// runs cannot be unloaded under it.
DWORD WINAPI KeyboardThread(void* param) {
    auto* start = static_cast<ThreadStart*>(param);
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // creates the message queue
    g_modsDown = 0;
    g_swallowedVk = 0;
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, LowLevelKeyboardProc, g_module, 0);
    start->hooked = hook != nullptr;
    SetEvent(start->ready); // `start` belongs to the starter from here on
    if (hook) {
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        UnhookWindowsHookEx(hook);
    }
    FreeLibraryAndExitThread(g_module, 0);
}

// ---- message hook configuration shared by every process -------------------------------------

// Lives in a named mapping; plain 32-bit fields so that 32- and 64-bit copies agree on the layout
// (window handles are 32 bits wide on both).
struct SharedConfig {
    std::atomic<uint32_t> active;
    std::atomic<uint32_t> installerPid;
    std::atomic<uint32_t> message;
    std::atomic<uint32_t> wParam;
    std::atomic<uint32_t> lParam;
    std::atomic<uint32_t> window;
    std::atomic<uint32_t> answer;
};
static_assert(std::atomic<uint32_t>::is_always_lock_free, "shared across processes");

constexpr const wchar_t* kSharedName = L"Local\\Moodpad.HookLib.MessageHook.1";
HANDLE g_sharedMapping = nullptr;
SharedConfig* g_shared = nullptr;

void OpenShared() {
    g_sharedMapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                         sizeof(SharedConfig), kSharedName);
    if (!g_sharedMapping)
        return;
    g_shared = static_cast<SharedConfig*>(
        MapViewOfFile(g_sharedMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedConfig)));
}

void CloseShared() {
    if (g_shared)
        UnmapViewOfFile(g_shared);
    if (g_sharedMapping)
        CloseHandle(g_sharedMapping);
    g_shared = nullptr;
    g_sharedMapping = nullptr;
}

HWND HandleFrom32(uint32_t v) {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<int32_t>(v)));
}

uint32_t HandleTo32(HWND h) {
    return static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(h));
}

// Answers the query if `msg` is one. The procedure may also run in the installing process on
// behalf of a thread of another process (Windows does that for processes of the other bitness),
// so everything is looked up from the window the message was posted to, not from the current
// thread.
void AnswerQuery(MSG& msg) {
    SharedConfig* cfg = g_shared;
    if (!cfg || cfg->active.load(std::memory_order_acquire) == 0)
        return;
    if (msg.message != cfg->message.load(std::memory_order_relaxed) ||
        msg.wParam != cfg->wParam.load(std::memory_order_relaxed) ||
        static_cast<uint32_t>(msg.lParam) != cfg->lParam.load(std::memory_order_relaxed))
        return;
    DWORD pid = 0;
    DWORD tid = 0;
    if (msg.hwnd) {
        tid = GetWindowThreadProcessId(msg.hwnd, &pid);
    } else {
        tid = GetCurrentThreadId();
        pid = GetCurrentProcessId();
    }
    if (tid == 0 || pid == cfg->installerPid.load(std::memory_order_relaxed))
        return;
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof gti;
    HWND focus = nullptr;
    if (GetGUIThreadInfo(tid, &gti))
        focus = gti.hwndFocus ? gti.hwndFocus : gti.hwndActive;
    if (!focus && tid == GetCurrentThreadId())
        focus = GetFocus();
    if (!focus)
        focus = msg.hwnd;
    HWND top = focus ? GetAncestor(focus, GA_ROOT) : nullptr;
    if (!top)
        top = focus;
    PostMessageW(HandleFrom32(cfg->window.load(std::memory_order_relaxed)),
                 cfg->answer.load(std::memory_order_relaxed), reinterpret_cast<WPARAM>(focus),
                 reinterpret_cast<LPARAM>(top));
    msg.message = WM_NULL;
    msg.wParam = 0;
    msg.lParam = 0;
}

LRESULT CALLBACK GetMessageProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE)
        AnswerQuery(*reinterpret_cast<MSG*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// ---- state of the installing process ------------------------------------------------------------

SRWLOCK g_lock = SRWLOCK_INIT;
HANDLE g_kbThread = nullptr;
DWORD g_kbThreadId = 0;
HHOOK g_messageHook = nullptr;

struct Locked {
    Locked() { AcquireSRWLockExclusive(&g_lock); }
    ~Locked() { ReleaseSRWLockExclusive(&g_lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

void StopKeyboardThread() {
    if (!g_kbThread)
        return;
    PostThreadMessageW(g_kbThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(g_kbThread, INFINITE);
    CloseHandle(g_kbThread);
    g_kbThread = nullptr;
    g_kbThreadId = 0;
}

void StartKeyboardThread() {
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&KeyboardThread), &self))
        return;
    ThreadStart start{CreateEventW(nullptr, TRUE, FALSE, nullptr), false};
    if (!start.ready) {
        FreeLibrary(self);
        return;
    }
    DWORD tid = 0;
    HANDLE thread = CreateThread(nullptr, 0, KeyboardThread, &start, 0, &tid);
    if (!thread) {
        CloseHandle(start.ready);
        FreeLibrary(self);
        return;
    }
    HANDLE waits[2] = {start.ready, thread};
    DWORD w = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    CloseHandle(start.ready);
    if (w == WAIT_OBJECT_0 && start.hooked) {
        g_kbThread = thread;
        g_kbThreadId = tid;
        return;
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

void RemoveMessageHook() {
    if (!g_messageHook)
        return;
    if (g_shared && g_shared->installerPid.load() == GetCurrentProcessId())
        g_shared->active.store(0, std::memory_order_release);
    UnhookWindowsHookEx(g_messageHook);
    g_messageHook = nullptr;
}

} // namespace

extern "C" {

void __stdcall SetKeyboardHook(const THotKey* hotKey, HWND window, WORD message) {
    Locked lock;
    StopKeyboardThread();
    // A copy, taken while no hook thread runs: the caller may change or free its record at once.
    g_kbTarget = {};
    if (hotKey) {
        std::memcpy(&g_kbTarget.hotKey, hotKey, sizeof g_kbTarget.hotKey);
        g_kbTarget.hooked = true;
    }
    g_kbTarget.window = window;
    g_kbTarget.message = message;
    StartKeyboardThread();
}

void __stdcall UnHookKeyboard(void) {
    Locked lock;
    StopKeyboardThread();
}

BOOL __stdcall KeyboardIsHooked(void) {
    Locked lock;
    return g_kbThread && WaitForSingleObject(g_kbThread, 0) == WAIT_TIMEOUT;
}

void __stdcall SetMessageHook(WORD message, WORD wParam, DWORD lParam, HWND window, WORD answer) {
    Locked lock;
    RemoveMessageHook();
    if (!g_shared)
        return; // without the shared configuration no copy of the hook could answer
    SharedConfig& cfg = *g_shared;
    cfg.active.store(0, std::memory_order_release);
    cfg.installerPid.store(GetCurrentProcessId());
    cfg.message.store(message);
    cfg.wParam.store(wParam);
    cfg.lParam.store(lParam);
    cfg.window.store(HandleTo32(window));
    cfg.answer.store(answer);
    cfg.active.store(1, std::memory_order_release);
    g_messageHook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageProc, g_module, 0);
    if (!g_messageHook)
        cfg.active.store(0, std::memory_order_release);
}

void __stdcall UnHookMessages(void) {
    Locked lock;
    RemoveMessageHook();
}

BOOL __stdcall MessagesAreHooked(void) {
    Locked lock;
    return g_messageHook != nullptr;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        g_module = instance;
        OpenShared();
        break;
    case DLL_PROCESS_DETACH:
        // The keyboard thread holds a reference on this module, so an unload never finds it
        // running, and at process exit it has already been ended. The message hook is removed
        // here when the library is unloaded; at process exit the system removes it.
        if (g_messageHook) {
            if (g_shared && g_shared->installerPid.load() == GetCurrentProcessId())
                g_shared->active.store(0, std::memory_order_release);
            if (!reserved)
                UnhookWindowsHookEx(g_messageHook);
            g_messageHook = nullptr;
        }
        CloseShared();
        break;
    default:
        break;
    }
    return TRUE;
}

} // extern "C"

#include "palette/Deliver_win.h"

#include "palette/ClipWork_win.h"
#include "palette/Insert.h"
#include "ui/Window_win.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

bool QueryTokenElevation(DWORD pid) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return false;
    bool elevated = false;
    HANDLE token = nullptr;
    if (OpenProcessToken(process, TOKEN_QUERY, &token)) {
        TOKEN_ELEVATION e{};
        DWORD size = 0;
        elevated =
            GetTokenInformation(token, TokenElevation, &e, sizeof e, &size) && e.TokenIsElevated;
        CloseHandle(token);
    } else {
        // Only a program with higher rights than this one keeps its token from it.
        elevated = GetLastError() == ERROR_ACCESS_DENIED;
    }
    CloseHandle(process);
    return elevated;
}

// A process keeps its rights for its life: this program's own are asked once, which saves every
// choice five calls into the system.
bool QueryElevation(DWORD pid) {
    static const bool self = QueryTokenElevation(GetCurrentProcessId());
    return pid ? QueryTokenElevation(pid) : self;
}

// The key the hook library also injects: no layout makes it a character or a command.
constexpr WORD MASKKEY = 0xFF;
// The budget for the target to come to the front with the focus in its control.
constexpr DWORD FRONTMS = 200;

// One key event; out of line, as a dozen inlined copies of the structure cost more than calls.
[[gnu::noinline]] void SetKey(INPUT& in, WORD vk, WORD scan, DWORD flags) {
    in = INPUT{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
}

// Waits until done(arg) holds or the deadline (GetTickCount64) passes. Messages sent to this
// thread are served meanwhile: a window changing the activation may send this program's windows
// theirs.
bool WaitUntil(ULONGLONG deadline, bool (*done)(const void*), const void* arg) {
    for (;;) {
        if (done(arg))
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        MSG m;
        PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        Sleep(5);
    }
}

constexpr struct {
    WORD vk;
    bool extended;
} MODIFIERS[] = {{VK_LMENU, false},  {VK_RMENU, true},   {VK_LCONTROL, false}, {VK_RCONTROL, true},
                 {VK_LSHIFT, false}, {VK_RSHIFT, false}, {VK_LWIN, true},      {VK_RWIN, true}};

bool NoModifierDown(const void*) {
    for (const auto& m : MODIFIERS)
        if (GetAsyncKeyState(m.vk) < 0)
            return false;
    return true;
}

// Lets go of the modifiers the user still holds (the Alt of the hot key, say), so that none of
// them combines with the keys typed next. The neutral key first makes the release of Alt or the
// Windows key no press of its own, which would open a menu. This program is still in front, so
// the releases reach it and not the target.
void ReleaseModifiers(ULONGLONG deadline) {
    INPUT in[2 + std::size(MODIFIERS)];
    UINT n = 0;
    for (const auto& m : MODIFIERS) {
        if (GetAsyncKeyState(m.vk) >= 0)
            continue;
        if (n == 0) {
            SetKey(in[n++], MASKKEY, 0, 0);
            SetKey(in[n++], MASKKEY, 0, KEYEVENTF_KEYUP);
        }
        SetKey(in[n++], m.vk, 0, KEYEVENTF_KEYUP | (m.extended ? KEYEVENTF_EXTENDEDKEY : 0));
    }
    if (n == 0)
        return;
    SendInput(n, in, sizeof(INPUT));
    // Once the system has taken the releases, they are queued for this program's window.
    WaitUntil(deadline, NoModifierDown, nullptr);
}

bool InFront(const void* top) {
    return GetForegroundWindow() == top;
}

// Brings the target's top-level window to the front and gives its control the focus again; false
// when that did not happen within the budget.
bool BringTarget(HWND focus, HWND window, ULONGLONG deadline) {
    const HWND top = window && IsWindow(window) ? window : GetAncestor(focus, GA_ROOT);
    // Giving the focus below sends the target's thread messages and waits for them: a target
    // that does not answer at once (it hangs, or is busy) keeps its posted messages instead.
    DWORD_PTR answer = 0;
    const DWORD left = DWORD(deadline - std::min(deadline, GetTickCount64()));
    if (!SendMessageTimeoutW(focus, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, left, &answer))
        return false;
    if (IsIconic(top))
        ShowWindowAsync(top, SW_RESTORE);
    SetForegroundWindow(top);
    if (!WaitUntil(deadline, InFront, top))
        return false;
    // While this thread shares the target's input, SetFocus reaches the target's control, and the
    // key state is the target's: it may still hold the Alt of the hot key, whose release went to
    // this program, and would then take Ctrl+V for Ctrl+Alt+V. The modifiers are let go there too.
    const DWORD self = GetCurrentThreadId(), thread = GetWindowThreadProcessId(focus, nullptr);
    if (!AttachThreadInput(self, thread, TRUE))
        return false;
    SetFocus(focus);
    const bool focused = GetFocus() == focus;
    BYTE keys[256];
    if (GetKeyboardState(keys)) {
        for (const auto& m : MODIFIERS)
            keys[m.vk] = 0;
        keys[VK_SHIFT] = keys[VK_CONTROL] = keys[VK_MENU] = 0;
        SetKeyboardState(keys);
    }
    AttachThreadInput(self, thread, FALSE);
    return focused;
}

// Ctrl+V, or every UTF-16 unit of the text as a character of its own, in as few input calls as
// possible (one for any face's text) so that no key of the user's comes between.
void Type(const std::string& text, bool clipboard) {
    INPUT in[64];
    UINT n = 0;
    if (clipboard) {
        static constexpr struct {
            WORD vk;
            DWORD flags;
        } ctrlV[] = {
            {VK_CONTROL, 0}, {'V', 0}, {'V', KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}};
        for (const auto& k : ctrlV)
            SetKey(in[n++], k.vk, 0, k.flags);
    } else {
        for (wchar_t unit : ui::Widen(text)) {
            if (n == std::size(in)) {
                SendInput(n, in, sizeof(INPUT));
                n = 0;
            }
            SetKey(in[n++], 0, WORD(unit), KEYEVENTF_UNICODE);
            SetKey(in[n++], 0, WORD(unit), KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
        }
    }
    SendInput(n, in, sizeof(INPUT));
}

void Post(HWND focus, const std::string& text, bool clipboard) {
    if (clipboard) {
        PostMessageW(focus, WM_PASTE, 0, 0);
        return;
    }
    // A Unicode window gets UTF-16 units, a character outside the basic plane as its two
    // surrogate halves; an ANSI window the bytes of the ANSI code page.
    const std::wstring wide = ui::Widen(text);
    if (IsWindowUnicode(focus)) {
        for (wchar_t unit : wide)
            PostMessageW(focus, WM_CHAR, WPARAM(unit), 0);
        return;
    }
    for (unsigned code : CharCodes(ui::Utf8Text() ? ui::AnsiText(wide) : text))
        PostMessageA(focus, WM_CHAR, code, 0);
}

} // namespace

bool (*ProcessElevated)(DWORD pid) = QueryElevation;

TDelivery DeliverText(HWND owner, const std::string& text, HWND focus, HWND window,
                      const TEmoticonsAutoInsert& insert, std::string_view postClasses) {
    PutToClipboard(owner, text);
    if (!insert.blEnabled || !focus || !IsWindow(focus))
        return dvNone;
    DWORD pid = 0;
    GetWindowThreadProcessId(focus, &pid);
    // The system drops, without a word, what a program sends to one with higher rights.
    if (!ProcessElevated(0) && ProcessElevated(pid))
        return dvElevated;
    // Class names are plain ASCII in practice; anything else cannot match a listed name anyway.
    wchar_t wide[256];
    char cls[256];
    const int length = GetClassNameW(focus, wide, 256);
    for (int i = 0; i < length; ++i)
        cls[i] = wide[i] < 0x80 ? char(wide[i]) : '?';
    if (!insert.blKeyboard || pid == GetCurrentProcessId() ||
        ClassListed(postClasses, std::string_view(cls, std::size_t(length > 0 ? length : 0)))) {
        Post(focus, text, insert.blUseClipboard);
        return dvPosted;
    }
    const ULONGLONG deadline = GetTickCount64() + FRONTMS;
    ReleaseModifiers(deadline);
    // Keys go to the window in front: when the target cannot be had there, it gets posted
    // messages, which cannot land anywhere else.
    if (!BringTarget(focus, window, deadline)) {
        Post(focus, text, insert.blUseClipboard);
        return dvPosted;
    }
    Type(text, insert.blUseClipboard);
    return dvTyped;
}

#include "palette/Emotbut_win.h"

#include "ui/Window_win.h"

#include <commctrl.h>
#include <new>
#include <unordered_map>
#include <vector>

namespace {

constexpr UINT_PTR SUBCLASS_ID = 0x45425554; // any value unique among this window's subclasses

// Button windows and their objects. Kept in the process rather than in a window property, as every
// property or window-long change costs a round trip to the window server.
std::unordered_map<HWND, TEmotButton*>& Registry() {
    static std::unordered_map<HWND, TEmotButton*> registry;
    return registry;
}

} // namespace

uint16_t TEmotButton::ColumnCount = 0;

std::shared_ptr<ui::TUniqueBitmap> TFaceCache::Get(const std::string& fileName) {
    auto found = faces.find(fileName);
    if (found != faces.end())
        return found->second;
    std::shared_ptr<ui::TUniqueBitmap> face;
    auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, fileName.c_str(), IMAGE_BITMAP, 0, 0,
                                                  LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (bitmap)
        face = std::make_shared<ui::TUniqueBitmap>(bitmap);
    faces.emplace(fileName, face);
    return face;
}

TEmotButton::TEmotButton(int index) : FIndex(index) {}

TEmotButton::~TEmotButton() {
    RemoveTool();
    if (hwnd && IsWindow(hwnd))
        DestroyWindow(hwnd);
    // The face bitmap is released only now, after the window that showed it is gone.
}

std::string TEmotButton::PicturePath(const std::string& path, const std::string& fileName) {
    std::string full = path;
    if (!full.empty() && full.back() != '\\')
        full += '\\';
    return full + fileName + ".bmp";
}

bool TEmotButton::Create(HWND parent, const std::string& fileName, const std::string& path, int x,
                         int y, TFaceCache* faces) {
    const auto id = static_cast<UINT_PTR>(1000 + FIndex % 30000);
    hwnd = CreateWindowExA(0, "BUTTON", WindowText().c_str(),
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP, x, y,
                           BUTTONSIZE, BUTTONSIZE, parent, reinterpret_cast<HMENU>(id),
                           GetModuleHandleA(nullptr), nullptr);
    if (!hwnd)
        return false;
    if (!SetWindowSubclass(hwnd, &TEmotButton::SubclassProc, SUBCLASS_ID,
                           reinterpret_cast<DWORD_PTR>(this))) {
        DestroyWindow(hwnd);
        hwnd = nullptr;
        return false;
    }
    Registry()[hwnd] = this;

    const std::string file = PicturePath(path, fileName);
    if (faces) {
        picture = faces->Get(file);
    } else {
        auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0,
                                                      LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (bitmap)
            picture = std::make_shared<ui::TUniqueBitmap>(bitmap);
    }
    FLoaded = picture && *picture;
    if (FLoaded)
        SendMessageW(hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture->Get()));
    return true;
}

TGridCell TEmotButton::DefineBounds(uint16_t width, uint16_t height) {
    const TGridCell cell = GridCell(static_cast<std::size_t>(FIndex), width, height);
    ColumnCount = cell.columns;
    return cell;
}

std::string TEmotButton::WindowText() const {
    return hint.empty() ? FMean : FMean + " " + hint;
}

void TEmotButton::SetHint(const std::string& newHint, HWND tip) {
    RemoveTool();
    hint = newHint;
    toolTip = tip;
    if (hwnd)
        SetWindowTextA(hwnd, WindowText().c_str());
}

void TEmotButton::AddTool() {
    if (toolAdded || !toolTip || hint.empty() || !IsWindow(toolTip))
        return;
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = GetParent(hwnd);
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
    ti.lpszText = const_cast<char*>(hint.c_str());
    toolAdded = SendMessageA(toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != FALSE;
}

void TEmotButton::RemoveTool() {
    if (!toolAdded)
        return;
    toolAdded = false;
    if (!hwnd || !toolTip || !IsWindow(toolTip))
        return;
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = GetParent(hwnd);
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
    SendMessageA(toolTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

TEmotButton* TEmotButton::FromHandle(HWND wnd) {
    if (!wnd)
        return nullptr;
    auto found = Registry().find(wnd);
    return found == Registry().end() ? nullptr : found->second;
}

LRESULT CALLBACK TEmotButton::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<TEmotButton*>(refData);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(wnd, &TEmotButton::SubclassProc, SUBCLASS_ID);
        Registry().erase(wnd);
        if (self->hwnd == wnd)
            self->hwnd = nullptr;
        return DefSubclassProc(wnd, msg, wParam, lParam);
    }
    try {
        return self->ButtonProc(msg, wParam, lParam);
    } catch (...) {
        ui::ShowCurrentError(GetAncestor(wnd, GA_ROOT));
    }
    return 0;
}

LRESULT TEmotButton::ButtonProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND wnd = hwnd;
    switch (msg) {
    case WM_GETDLGCODE: {
        LRESULT code = DefSubclassProc(wnd, msg, wParam, lParam);
        // Claim the arrows and Enter so the dialog navigation of the message loop hands them to
        // the button instead of acting on them itself.
        const auto* m = reinterpret_cast<const MSG*>(lParam);
        if (m && m->message == WM_KEYDOWN) {
            switch (m->wParam) {
            case VK_UP:
            case VK_DOWN:
            case VK_LEFT:
            case VK_RIGHT:
            case VK_RETURN:
                code |= DLGC_WANTMESSAGE;
                break;
            }
        }
        return code;
    }
    case WM_KEYDOWN:
        if (KeyDown(wParam, lParam))
            return 0;
        break;
    case WM_MOUSEMOVE: {
        LRESULT r = DefSubclassProc(wnd, msg, wParam, lParam);
        if (!trackingLeave) {
            if (!toolAdded) {
                AddTool();
                if (toolAdded) {
                    // The tooltip missed this first move; hand it over so its timer starts.
                    MSG m{wnd, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
                    SendMessageA(toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
                }
            }
            TRACKMOUSEEVENT tme{};
            tme.cbSize = sizeof tme;
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = wnd;
            trackingLeave = TrackMouseEvent(&tme) != FALSE;
        }
        if (OnMouseMove)
            OnMouseMove(this, wParam, static_cast<short>(LOWORD(lParam)),
                        static_cast<short>(HIWORD(lParam)));
        return r;
    }
    case WM_MOUSELEAVE:
        trackingLeave = false;
        if (FOnMouseLeave)
            FOnMouseLeave(this);
        break;
    case WM_SETFOCUS: {
        LRESULT r = DefSubclassProc(wnd, msg, wParam, lParam);
        if (OnEnter)
            OnEnter(this);
        return r;
    }
    }
    return DefSubclassProc(wnd, msg, wParam, lParam);
}

bool TEmotButton::KeyDown(WPARAM key, LPARAM flags) {
    HWND parent = GetParent(hwnd);
    switch (key) {
    case VK_UP:
    case VK_DOWN: {
        // Only while the key is really down: a key message replayed later must not move focus.
        if (GetKeyState(static_cast<int>(key)) < 0) {
            std::vector<HWND> siblings;
            for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                siblings.push_back(c);
            const std::size_t t = ArrowTarget(static_cast<std::size_t>(FIndex), siblings.size(),
                                              ColumnCount, key == VK_UP);
            if (t < siblings.size())
                FocusSibling(siblings[t]);
        }
        return true;
    }
    case VK_LEFT: {
        HWND prev = GetWindow(hwnd, GW_HWNDPREV);
        FocusSibling(prev ? prev : GetWindow(hwnd, GW_HWNDLAST));
        return true;
    }
    case VK_RIGHT: {
        HWND next = GetWindow(hwnd, GW_HWNDNEXT);
        FocusSibling(next ? next : GetWindow(hwnd, GW_HWNDFIRST));
        return true;
    }
    case VK_RETURN:
        // Enter chooses the button like Space does; auto-repeat does not choose it again.
        if (!(flags & (1 << 30)))
            SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd) & 0xFFFF, BN_CLICKED),
                         reinterpret_cast<LPARAM>(hwnd));
        return true;
    }
    return false;
}

void TEmotButton::FocusSibling(HWND target) {
    if (target && target != hwnd && FromHandle(target))
        SetFocus(target);
}

#pragma once
// Controls made from a table. A window describes its controls once, in tab order, as an array of
// TControlDef with positions and sizes in pixels at 96 dpi; TControlSet creates the whole table in
// one loop (scaling by dpi/96 there and nowhere else) into an array of handles indexed by the
// window's own enum, and maps a control id or handle back to that enum. It serves plain windows
// and dialogs alike.
//
//   enum TOrderControl { ocList, ocOK, ocCancel, ocCount };
//   constexpr std::array<ui::TControlDef, ocCount> OrderTable = {{
//       {.cls = WC_LISTBOXW, .id = 201, .left = 8, .top = 8, .width = 455, .height = 230,
//        .style = LBS_EXTENDEDSEL | WS_VSCROLL, .exStyle = WS_EX_CLIENTEDGE, .font = 1},
//       {.cls = WC_BUTTONW, .text = L"OK", .id = IDOK, ..., .style = BS_DEFPUSHBUTTON |
//       WS_TABSTOP},
//       ...
//   }};
//   ui::TControlSet<TOrderControl, ocCount> controls;
//   controls.Create(Handle(), OrderTable, fonts, dpi);
//   if (auto c = controls.FromId(id)) ...       // which control sent WM_COMMAND
#include "ui/Handles_win.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>
#include <windows.h>

namespace ui {

struct TControlDef {
    const wchar_t* cls = nullptr; // window class: WC_BUTTONW, WC_EDITW, a registered class, ...
    const wchar_t* text = L"";
    int id = 0;
    // Pixels at 96 dpi in the parent's client area, or relative to the top-left corner of the
    // entry `origin` (an index into the same table that comes earlier), so that controls inside
    // a group box keep the group's coordinates while remaining children of the window itself.
    int left = 0, top = 0, width = 0, height = 0;
    DWORD style = 0; // WS_CHILD and WS_VISIBLE are always added
    DWORD exStyle = 0;
    int font = 0;                 // index into the caller's font array; out of range: no WM_SETFONT
    int picture = 0;              // bitmap resource of the program; 0: none
    const wchar_t* tip = nullptr; // tooltip text; nullptr: none
    int origin = -1;
};

// The screen's dots per inch, the unit of every scaled size (96 when it cannot be read).
int ScreenDpi() noexcept;
// The dots per inch of the monitor a window is on (GetDpiForWindow where the system has it, which
// is Windows 10 on; else the screen's).
int WindowDpi(HWND wnd) noexcept;
// The whole factor by which pixel art is enlarged at `dpi`: floor(dpi/96), at least 1. A whole
// factor with nearest-neighbour sampling keeps every picture pixel a sharp square.
inline int PictureFactor(int dpi) noexcept {
    return dpi >= 192 ? dpi / 96 : 1;
}
// A copy of `picture` enlarged `factor` times by repeating pixels; null when the factor is below 2
// or the copy cannot be made.
HBITMAP EnlargeBitmap(HBITMAP picture, int factor) noexcept;
// A length in pixels at 96 dpi, scaled to dpi.
inline int ScaleDpi(int pixels96, int dpi) noexcept {
    return MulDiv(pixels96, dpi, 96);
}
// A font `pixels96` high (character height, as a negative LOGFONT height) at 96 dpi, scaled.
TUniqueFont MakeFont(const wchar_t* face, int pixels96, int dpi, bool bold = false);

// Sizes a static label to the width of its text in its own font, as a label that sizes itself
// does: a right-aligned label keeps its right edge, a centred one its centre (its left edge when
// the text is wider than its place), any other its left edge. The height stays. Labels laid out
// for one font so keep their text whole in another.
void FitLabelToText(HWND label);

// What a created table owns besides its controls: the pictures put on them and the one tooltip
// control for the whole table. Non-template part of TControlSet.
class TControlResources {
  public:
    TControlResources() = default;
    TControlResources(TControlResources&&) = default;
    TControlResources& operator=(TControlResources&&) = default;

    // Creates each control of `table`, in table order, as a child of `parent`, storing each
    // handle at its index in `out`; a handle already there is moved and sized instead (a new dpi),
    // keeping its text or picture kind. A picture that loads turns a button into a bitmap button
    // (a static into a bitmap static); one that does not load leaves the text showing. The
    // tooltip control is made on the first entry with a tip; it has no owner (under Wine a topmost
    // popup owned by a window keeps that window out of the topmost band) and is destroyed with this
    // object. `params[i]`, when given, is the creation parameter of entry i (for windows of our own
    // classes, whose thunk binds the object passed there). Throws TAppError when a control cannot
    // be created.
    void Create(HWND parent, std::span<const TControlDef> table, std::span<const HFONT> fonts,
                int dpi, std::span<HWND> out, std::span<void* const> params = {});

    HWND Tooltip() const { return tooltip.Get(); }

  private:
    std::vector<TUniqueBitmap> pictures;
    TUniqueWindow tooltip;
};

// The index in `table` of the control whose id is `id`, or -1.
int ControlIndex(std::span<const TControlDef> table, int id) noexcept;

// A window's controls made from one table and indexed by the window's enum E (0 .. N-1).
template <class E, std::size_t N> class TControlSet {
  public:
    // `defs` is kept by reference for FromId: a constant table that outlives the set.
    void Create(HWND parent, const std::array<TControlDef, N>& defs, std::span<const HFONT> fonts,
                int dpi, const std::array<void*, N>& params = {}) {
        table = &defs;
        handles = {};
        resources.Create(parent, defs, fonts, dpi, handles, params);
    }
    // Moves and sizes the controls for another dpi and hands them `fonts` and their pictures at
    // that dpi (the window went to a monitor of another scale).
    void Rescale(std::span<const HFONT> fonts, int dpi) {
        if (table)
            resources.Create(nullptr, *table, fonts, dpi, handles);
    }

    HWND operator[](E e) const { return handles[static_cast<std::size_t>(e)]; }
    const std::array<HWND, N>& Handles() const { return handles; }
    HWND Tooltip() const { return resources.Tooltip(); }

    // The control with this id (as WM_COMMAND and WM_NOTIFY report it), if it is one of ours.
    std::optional<E> FromId(int id) const {
        const int i = table ? ControlIndex(*table, id) : -1;
        return i < 0 ? std::nullopt : std::optional<E>(static_cast<E>(i));
    }
    std::optional<E> FromHandle(HWND wnd) const {
        for (std::size_t i = 0; i < N; ++i)
            if (wnd && handles[i] == wnd)
                return static_cast<E>(i);
        return std::nullopt;
    }

  private:
    const std::array<TControlDef, N>* table = nullptr;
    std::array<HWND, N> handles{};
    TControlResources resources;
};

} // namespace ui

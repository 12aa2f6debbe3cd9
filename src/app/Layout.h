#pragma once
// The main window's geometry as plain numbers: its size limits, where the saved placement puts
// it, how the palette frame follows the window's size, and the table of its controls.
#include "settings/Ini.h"

#include <array>
#include <cstddef>
#include <cstdint>

constexpr int MAINMINWIDTH = 407;
constexpr int MAINMINHEIGHT = 209;

// The greatest window height for a palette of `count` buttons: two rows fit the smallest window,
// every further row of ten adds one button pitch. Kept in 16 bits as the window stores it,
// saturating rather than wrapping.
uint16_t MaxHSize(std::size_t count);

struct TPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where the window starts: the saved rectangle (Left, Top, width in Right, height in Bottom) when
// it has a positive width and height, else MAINMINWIDTH x maxHeight centred on the screen.
TPlacement StartPlacement(const TOptionsRect& saved, uint16_t maxHeight, int screenWidth,
                          int screenHeight);

// The rectangle to save from a window's screen rectangle.
TOptionsRect SavedRect(int left, int top, int right, int bottom);

// The palette frame for a window of the given outer size, and the scroll box inside its bevels.
struct TPanelSize {
    int panelWidth = 0;
    int panelHeight = 0;
    int boxWidth = 0;
    int boxHeight = 0;
};
TPanelSize PanelSize(int windowWidth, int windowHeight);

enum class TControlKind { ckPictureButton, ckEdit, ckPanel };

enum TMainControl {
    mcMinimize,
    mcCustom,
    mcOrder,
    mcAbout,
    mcHint,
    mcHelp,
    mcSequence,
    mcPanel,
    mcCount
};

// The palette window inside the panel.
constexpr int PALETTEID = 109;

struct TControlDef {
    TMainControl control;
    TControlKind kind;
    int left, top, width, height;
    int id;            // control identifier, clear of IDOK and IDCANCEL
    const char* hint;  // tooltip of a picture button, else nullptr
    const char* label; // caption shown when the button's picture is missing
};

// The main window's controls in tab order; creating them in this order gives that order.
extern const std::array<TControlDef, mcCount> MainControls;

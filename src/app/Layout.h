#pragma once
// The main window's geometry as plain numbers: its size limits, where the saved placement puts
// it, how the palette frame follows the window's size, and the identifiers of its controls. Sizes
// are given at 96 dpi; each function takes the window's dpi and scales them by dpi/96.
#include "palette/Grid.h"
#include "settings/Ini.h"

#include <array>
#include <cstddef>
#include <cstdint>

constexpr int MAINMINWIDTH = 407;
constexpr int MAINMINHEIGHT = 209;

// The greatest window height for a palette of `count` buttons: two rows fit the smallest window,
// every further row of ten adds one button pitch. Kept in 16 bits as the window stores it,
// saturating rather than wrapping.
uint16_t MaxHSize(std::size_t count, int dpi = 96);

struct TPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where the window starts: the saved rectangle (Left, Top, width in Right, height in Bottom) when
// it has a positive width and height (pixels, whatever the dpi), else the smallest width x
// maxHeight centred on the screen. A
// height beyond the screen's is cut to it: a long palette must not start with its window's lower
// edge, and the faces there, out of reach below the screen.
TPlacement StartPlacement(const TOptionsRect& saved, uint16_t maxHeight, int screenWidth,
                          int screenHeight, int dpi = 96);

// The rectangle to save from a window's screen rectangle.
TOptionsRect SavedRect(int left, int top, int right, int bottom);

// The palette frame for a window of the given outer size, and the scroll box inside its bevels.
struct TPanelSize {
    int panelWidth = 0;
    int panelHeight = 0;
    int boxWidth = 0;
    int boxHeight = 0;
};
TPanelSize PanelSize(int windowWidth, int windowHeight, int dpi = 96);

// The main window's controls, in tab order.
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

// Their control identifiers, clear of IDOK and IDCANCEL; tests find the controls by them.
constexpr std::array<int, mcCount> MainControlIds = {101, 102, 103, 104, 105, 106, 107, 108};
// The palette window inside the panel.
constexpr int PALETTEID = 109;

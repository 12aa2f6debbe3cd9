#pragma once
// TEmotButton: one palette button, a 36 x 36 push button child of the palette's scroll box that
// shows a face bitmap and stands for a text sequence. Its window text is "<sequence> <hint>" so
// that screen readers announce it, but only the picture is drawn (BS_BITMAP).
#include "palette/Grid.h"
#include "ui/Handles_win.h"

#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <windows.h>

// Face bitmaps loaded from files, shared by every button that names the same file, so a large
// palette with repeated faces costs one GDI bitmap per distinct picture.
class TFaceCache {
  public:
    // The bitmap of `fileName`, or an empty pointer when it cannot be loaded (missing, unreadable
    // or not a bitmap). A failure is remembered too: the file is tried once per cache.
    std::shared_ptr<ui::TUniqueBitmap> Get(const std::string& fileName);

  private:
    std::map<std::string, std::shared_ptr<ui::TUniqueBitmap>> faces;
};

class TEmotButton {
  public:
    using TMouseLeave = std::function<void(TEmotButton*)>;
    using TMouseMove = std::function<void(TEmotButton*, WPARAM keys, int x, int y)>;
    using TEnter = std::function<void(TEmotButton*)>;

    explicit TEmotButton(int index);
    TEmotButton(const TEmotButton&) = delete;
    TEmotButton& operator=(const TEmotButton&) = delete;
    ~TEmotButton();

    // Makes the button window at (x, y) in `parent`, with FMean and the hint as its text, and loads
    // its face from "<path>\<fileName>.bmp" (through `faces` when given). Returns false when the
    // window cannot be made (for instance when the process has used up its window handles). A
    // picture that does not load leaves FLoaded false and a blank face; nothing is reported here.
    bool Create(HWND parent, const std::string& fileName, const std::string& path, int x = 0,
                int y = 0, TFaceCache* faces = nullptr);

    // The button's grid cell in a box of width x height; records the column count for the arrow
    // keys. The caller moves the window, so that a whole palette moves in one batch.
    TGridCell DefineBounds(uint16_t width, uint16_t height);

    // Sets the hint: the tooltip text (shown by `toolTip`, if given) and, after FMean, the window
    // text. The tooltip learns of the button only when the mouse first reaches it, so a large
    // palette is built and destroyed without one tooltip call per button.
    void SetHint(const std::string& hint, HWND toolTip);
    const std::string& Hint() const { return hint; }

    HWND Handle() const { return hwnd; }
    // The button that owns `wnd`, or nullptr for any other window.
    static TEmotButton* FromHandle(HWND wnd);

    // "<path>\<fileName>.bmp"; a path that is empty or already ends in '\' gets no second one.
    static std::string PicturePath(const std::string& path, const std::string& fileName);

    // Column count of the most recent layout; read by the up and down arrows.
    static uint16_t ColumnCount;

    // Where the layout last put the button (client coordinates of the box at scroll position 0);
    // lets a new layout leave buttons alone that stay where they are.
    int PlacedLeft = INT_MIN;
    int PlacedTop = INT_MIN;

    std::string FMean;
    int FIndex;
    bool FLoaded = true;
    TMouseLeave FOnMouseLeave;
    TMouseMove OnMouseMove;
    TEnter OnEnter;

  private:
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);
    LRESULT ButtonProc(UINT msg, WPARAM wParam, LPARAM lParam);
    bool KeyDown(WPARAM key, LPARAM flags);
    void FocusSibling(HWND target);

    std::string WindowText() const;
    void AddTool();
    void RemoveTool();

    HWND hwnd = nullptr;
    HWND toolTip = nullptr;
    bool toolAdded = false;
    std::shared_ptr<ui::TUniqueBitmap> picture;
    std::string hint;
    bool trackingLeave = false;
};

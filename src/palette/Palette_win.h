#pragma once
// TPaletteWindow: the palette of faces as one window. It draws every face as a push button of 36 x
// 36 pixels at 96 dpi (scaled with the window's dpi) with its picture, finds the face under a point
// with the grid arithmetic, scrolls vertically by rows, keeps a keyboard focus among the faces,
// shows one tooltip that follows the face under the mouse, and exposes each face to screen readers
// as an accessible push button. What a face means (showing its texts, choosing it, dragging it out)
// is left to the owner through TPaletteEvents.
#include "palette/Emotbut.h"
#include "palette/Faces_win.h"
#include "settings/Ini.h"
#include "ui/Window_win.h"

#include <cstddef>
#include <string>
#include <vector>
#include <windows.h>

class TPaletteAccessible;

class TPaletteEvents {
  public:
    // The mouse moved over a face (screen position, MK_* keys; the left button only while it
    // presses a face). Returns true when the move ran a drag, which then took the press.
    virtual bool FaceMouseMove(TEmotButton& face, WPARAM keys, POINT screen) = 0;
    // A face got the keyboard focus.
    virtual void FaceEnter(TEmotButton& face) = 0;
    // A face was chosen: clicked, Space or Enter, or its accessible default action.
    virtual void FaceClick(TEmotButton& face) = 0;

  protected:
    ~TPaletteEvents() = default;
};

class TPaletteWindow : public ui::TWindow {
  public:
    static constexpr size_t NONE = static_cast<size_t>(-1);

    explicit TPaletteWindow(TPaletteEvents& events);
    ~TPaletteWindow() override;

    void Create(HWND parent, int id, int x, int y, int width, int height);

    // Makes one face per entry of `list`, pictures from `dir`, in place of any faces there were.
    // The directory is only listed here; the faces are drawn without pictures until
    // ReadPicturesInView.
    void Load(const TButtonList& list, const std::string& dir);
    // Reads the pictures of the faces in view (the others are read when they come into view) and
    // draws them. False when a face's picture is missing, or unreadable among those read.
    bool ReadPicturesInView();
    void Clear();
    // Moves and sizes the palette; a change of size lays the faces out again from the top, the
    // same size (a restore from minimised) keeps the scroll position.
    void SetBounds(int x, int y, int width, int height);
    // Lays the faces out for a screen of `dpi`: buttons, margins and the scroll step scale by
    // dpi/96, pictures grow by its whole factor.
    void SetDpi(int dpi);

    std::size_t Count() const { return faces.size(); }
    TEmotButton& Face(std::size_t i) { return faces[i]; }
    // The face with the keyboard focus (NONE when the palette is empty).
    std::size_t FocusedFace() const { return focused; }
    // The face under the mouse, or NONE.
    std::size_t HotFace() const { return hot; }
    // Whether the palette window itself has the keyboard focus.
    bool HasFocus() const { return GetFocus() == Handle(); }
    // A face's rectangle in client coordinates at the current scroll position.
    RECT FaceRect(std::size_t i) const;
    // Whether any part of the face is in view.
    bool FaceVisible(std::size_t i) const;
    // The face at a client point, or NONE.
    std::size_t FaceAt(POINT client) const;
    // Gives the keyboard focus to a face and scrolls it into view.
    void FocusFace(std::size_t i);
    // Chooses a face as a click would.
    void Choose(std::size_t i);

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void Layout(bool toTop);
    void ScrollTo(int pos);
    void ScrollBy(int code);
    void EnsureVisible(std::size_t i);
    // Shows that the focused face has the focus: in view, drawn focused, told to the owner and
    // to screen readers.
    void EnterFace();
    void InvalidateFace(std::size_t i);
    void SetHot(std::size_t i);
    void EndPress();
    void Paint();
    void DrawFrame(HDC dc, RECT r, bool down, bool isHot) const;
    void DrawFace(HDC dc, std::size_t i, int top);
    // The part of the window the faces are drawn in: all of it but the scroll bar.
    RECT FaceArea() const;

    void WMMouseMove(WPARAM keys, POINT p);
    void WMLButtonDown(POINT p);
    void WMLButtonUp(POINT p);
    bool WMKeyDown(WPARAM key, LPARAM flags);
    LRESULT WMGetDlgCode(const MSG* m);
    void WMSetFocus();
    void WMMouseWheel(int delta);
    LRESULT WMNotify(NMHDR* hdr);
    void UpdateTip();

    TPaletteEvents& events;
    std::vector<TEmotButton> faces;
    TFacePictures pictures;
    TPaletteAccessible* accessible = nullptr;
    HWND tip = nullptr;
    HWND bar = nullptr; // the vertical scroll bar, shown when the faces reach below the window
    std::wstring tipText;
    HANDLE theme = nullptr;
    // A face's frame in its usual look, for copying (frameBitmap is selected into frame).
    ui::TUniqueBitmap frameBitmap;
    ui::TUniqueMemDC frame;
    int boxWidth = 0, boxHeight = 0;
    int dpi = 96;
    TGridMetrics metrics;
    TPaletteLayout layout;
    int scrollPos = 0;
    int contentHeight = 0;
    int wheelRest = 0;
    std::size_t hot = NONE, pressed = NONE, focused = NONE;
    bool spacePressed = false;
    bool picturesRead = false;
    bool trackingLeave = false;

    friend class TPaletteAccessible;
};

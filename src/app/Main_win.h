#pragma once
// TMainForm: the main window. It owns the options and the button list for the program's life, the
// toolbar, the sequence and hint fields, the palette window and the target tracker. Lifecycle
// (creation, splash, start-up step, close) and window behaviour live in Main_win.cpp; what the
// palette's faces do (showing, choosing, delivering) and the hook reports in MainPalette_win.cpp.
#include "HookLib.h"
#include "app/Layout.h"
#include "palette/Palette_win.h"
#include "palette/Tracker_win.h"
#include "settings/Ini.h"
#include "ui/Controls_win.h"
#include "ui/Handles_win.h"
#include "ui/Window_win.h"

#include <array>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

class TSplashForm;
class TPanel;

constexpr const wchar_t* MainWindowClass = L"TMainForm";

class TMainForm : public ui::TWindow, private TPaletteEvents {
  public:
    TMainForm();
    ~TMainForm() override;
    // Creates the window (runs FormCreate) and shows it.
    void Create(int nCmdShow);

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    // --- lifecycle (Main_win.cpp)
    void FormCreate();
    // The fonts and the control table at the window's dpi: made at the first call; moved, sized
    // and handed new fonts and pictures at later ones.
    void ScaleControls();
    void CreateControls();
    void PlaceWindow();
    void FormPaint();
    void WMHideSplash();
    // Serves only the splash's paints until the performance counter reaches `end`.
    void KeepSplash(long long end);
    void StartUpLoad();
    void FormClose();
    void ShowNotice(const char* text);

    // --- layout and window behaviour (Main_win.cpp)
    void FormResize();
    void WMGetMinMaxInfo(MINMAXINFO* info);
    // The window went to a monitor of another scale: fonts, controls and palette follow, and the
    // window takes the rectangle the system suggests. The saved placement stays in pixels.
    void WMDpiChanged(int newDpi, const RECT* suggested);
    void SetStyle(uint8_t style);
    void AppMinimize();
    void WhenAppMinimize();
    void AppActivate();
    void AppDeactivate();
    void AppAbout();
    void AppCustomize();
    // Makes the options dialog's result the options in force; rebuilds the palette once when the
    // face directory or the order changed.
    void ApplyOptions(const TEmoticonsOptions& options, const TButtonList& order);
    // KillButtons and LoadButtons under the hourglass.
    void RebuildPalette();
    class TOutOfTopmost;
    // True when `path` (normalised) differs from the face directory in force, which it then
    // becomes.
    bool NewPicturePath(const std::string& path);
    void HelpBitBtnClick();
    void OrderBitBtnClick();
    // Copies the button list into `list`; takes `list` over when it holds another order and
    // reports whether it did.
    void SetOrderList(TButtonList& list) const;
    bool GetOrderList(const TButtonList& list);
    void ControlClick(HWND control);
    LRESULT WMCommand(WPARAM wParam, LPARAM lParam);
    void WMActivate(WPARAM wParam);

    // --- palette, choosing and the hook reports (MainPalette_win.cpp)
    void LoadButtons();
    void KillButtons();
    // Reads the pictures of the faces in view; one notice when any picture could not be had.
    void ReadPictures();
    bool FaceMouseMove(TEmotButton& face, WPARAM keys, POINT screen) override;
    void FaceEnter(TEmotButton& face) override;
    void FaceClick(TEmotButton& face) override;
    bool EmotButtonMouseMove(TEmotButton& sender, WPARAM keys, POINT screen);
    void EmotButtonMouseLeave(TEmotButton& sender);
    void EmotButtonListShowSequence(TEmotButton& sender);
    void EmotButtonClick(TEmotButton& sender);
    std::string AddSpaces(const std::string& s) const;
    // Returns true when the key was a command of the main window.
    bool FormKeyPress(wchar_t key);
    bool FormKeyDown(WPARAM key);
    void WMExecActiveHookHandle(WPARAM wParam, LPARAM lParam);
    void WMExecNonActiveHookHandle(WPARAM wParam, LPARAM lParam);
    void ClearFocusData();

    ui::TControlSet<TMainControl, mcCount> controls;
    std::unique_ptr<TSplashForm> splashForm;
    std::unique_ptr<TPanel> panel;
    std::unique_ptr<TPaletteWindow> palette;
    std::unique_ptr<TTargetTracker> tracker;

    TEmoticonsOptions FOptions;
    TButtonList EmotButtonList;
    uint16_t FMaxHSize = MAINMINHEIGHT;
    // The dots per inch of the window's monitor; every design size is scaled by dpi/96.
    int dpi = 96;
    POINT FOldPoint{0, 0};
    bool blAppIsActive = false;
    bool blSplashProcDone = false;
    // The settings file could not be read at start: the close must not write over it.
    bool blSettingsUnread = false;

    // The window's, the sequence field's and the hint field's fonts, as the control table numbers
    // them.
    std::array<ui::TUniqueFont, 3> fonts;
    // The control that gets the focus back when the window is activated again.
    HWND focusControl = nullptr;
    bool hideSplashStarted = false;
    // The palette's pictures are still to be read (during the start-up step).
    bool picturesPending = false;
    // The window classes that take posted messages, kept in the settings file only.
    std::string sPostClasses;
    // The last target that runs as administrator and was told about: the user hears of it once.
    HWND elevatedTold = nullptr;
    bool closeDone = false;
    std::string exePath; // in UTF-8: the settings file's name is made from it
};

#pragma once
// TMainForm: the palette window. Lifecycle (creation, splash, start-up step, close) lives in
// Main_win.cpp; the palette, choosing and inserting, hot key and tracking in MainPalette_win.cpp.
#include "settings/Ini.h"
#include "ui/Handles_win.h"
#include "ui/Window_win.h"

#include <memory>
#include <string>
#include <vector>
#include <windows.h>

class TEmotButton;
class TSplashForm;

constexpr const char* MainWindowTitle = "Moodpad";
constexpr const wchar_t* MainWindowClass = L"TMainForm";
constexpr UINT WM_HIDESPLASH = WM_USER + 114;

// Moves a window in the z-order at its own position and size; as no flags are given, this also
// activates it.
void SetWindowZOrder(HWND wnd, HWND insertAfter);

class TMainForm : public ui::TWindow {
  public:
    TMainForm();
    ~TMainForm() override;
    // Creates the window (runs FormCreate) and shows it.
    void Create(int nCmdShow);

    // --- lifecycle (Main_win.cpp)
    void FormCreate();
    void FormPaint();
    void WMHideSplash();
    void StartUpLoad();
    void FormClose();

    // --- layout and window behaviour
    void FormResize();
    void WMGetMinMaxInfo(MINMAXINFO* info);
    void SetStyle(uint8_t style);
    void AppMinimize();
    void WhenAppMinimize();
    void AppActivate();
    void AppDeactivate();
    void AppAbout();
    void AppCustomize();
    void HelpBitBtnClick();
    void OrderBitBtnClick();

    // --- palette (MainPalette_win.cpp)
    void LoadButtons();
    void KillButtons();
    // Places the palette buttons in ButtonScrollBox after its size changed.
    void LayoutButtons();
    // A scroll request of ButtonScrollBox (SB_* code and thumb position) or a wheel turn.
    void ScrollBoxScroll(int code, int pos);
    // The palette button that owns a child window of ButtonScrollBox, or nullptr.
    TEmotButton* ButtonFromHandle(HWND h);
    void EmotButtonMouseMove(TEmotButton* sender, WPARAM keys, int x, int y);
    void EmotButtonMouseLeave(TEmotButton* sender);
    void EmotButtonOnEnter(TEmotButton* sender);
    void EmotButtonListShowSequence(TEmotButton* sender);
    void EmotButtonClick(TEmotButton* sender);
    std::string AddSpaces(const std::string& s) const;
    // Returns true when the key was a command of the main window.
    bool FormKeyPress(wchar_t key);
    bool FormKeyDown(WPARAM key);

    // --- hot key and tracking (MainPalette_win.cpp)
    void SetHotKey(bool alt, bool ctrl, bool shift, int32_t virtCode);
    void WMExecActiveHookHandle(WPARAM wParam, LPARAM lParam);
    void WMExecNonActiveHookHandle(WPARAM wParam, LPARAM lParam);
    void ClearFocusData();
    void TargetQuery();

    // Controls.
    HWND SequenceEdit = nullptr;
    HWND ScrollPanel = nullptr;
    HWND ButtonScrollBox = nullptr;
    HWND CustomBitBtn = nullptr;
    HWND MinimizeBitBtn = nullptr;
    HWND HintEdit = nullptr;
    HWND AboutBitBtn = nullptr;
    HWND HelpBitBtn = nullptr;
    HWND OrderBitBtn = nullptr;
    HWND ToolTip = nullptr;

    // Fields.
    bool blSplashProcDone = false;
    bool blAppIsActive = false;
    HWND hActiveFocus = nullptr;
    HWND hActiveWindow = nullptr;
    TEmoticonsOptions FOptions;
    uint16_t FMaxHSize = 209;
    POINT FOldPoint{0, 0};
    TButtonList EmotButtonList;
    bool blFocusFound = false;

    // Palette buttons, in list order (children of ButtonScrollBox).
    std::vector<std::unique_ptr<TEmotButton>> Buttons;
    int ScrollPos = 0;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void CreateControls();
    void PlaceWindow();
    void KeepSplash(DWORD ms);
    // Runs the action of a toolbar or palette button (a click, or Enter while it has the focus).
    void ControlClick(HWND control);
    LRESULT WMCommand(WPARAM wParam, LPARAM lParam);
    LRESULT WMCtlColorStatic(HDC dc);
    void WMActivate(WPARAM wParam);

    std::unique_ptr<TSplashForm> SplashForm;
    std::unique_ptr<ui::TWindow> panelWindow;
    std::unique_ptr<ui::TWindow> scrollBoxWindow;
    ui::TUniqueFont windowFont;
    ui::TUniqueFont sequenceFont;
    ui::TUniqueFont hintFont;
    ui::TUniqueBrush editBrush;
    std::vector<ui::TUniqueBitmap> toolbarPictures;
    // The control that gets the focus back when the window is activated again.
    HWND focusControl = nullptr;
    bool hideSplashStarted = false;
    bool closeDone = false;
    std::string exePath;
};

extern TMainForm* MainForm;

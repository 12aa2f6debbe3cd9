#pragma once
// The dialog base of the wrapper layer. A dialog is one small class with one entry function:
//
//   bool RunOrderDialog(HWND owner, std::vector<std::string>& order) {
//       TOrderDialog dlg(order);
//       return dlg.RunModal(owner) == IDOK;
//   }
//
// The window is a system dialog made from an in-memory template that holds only the frame (style
// and caption). Its controls are created in OnInit from a control table (Controls_win.h) in pixels
// scaled by dpi/96, so the design's pixel positions stay exact instead of being rounded to dialog
// units; the template carries no font because nothing is measured in dialog units. The dialog
// manager (IsDialogMessage in our modal loop) gives Tab and Shift+Tab in creation order, Enter for
// the default button (the BS_DEFPUSHBUTTON the table made), Esc for Cancel and Alt+letter for the
// controls' accelerators.
//
// One static thunk binds the object at WM_INITDIALOG, clears it at WM_NCDESTROY and dispatches to
// the virtual handlers below. Every exception is caught there and shown with the general error
// display; the dialog goes on. An exception from OnInit ends the run before the dialog shows.
#include <string>
#include <windows.h>

namespace ui {

class TDialog {
  public:
    TDialog(const TDialog&) = delete;
    TDialog& operator=(const TDialog&) = delete;
    virtual ~TDialog();

    // Shows the dialog centred on the screen of `owner`, owned by owner's top-level window, and
    // serves messages until End is called. While it runs every other visible top-level window of
    // the thread is disabled, so no window beneath it takes input; they are enabled again before
    // the dialog goes. Returns the value given to End, or -1 when OnInit raised (the error has been
    // shown). A WM_QUIT that arrives ends the run with IDCANCEL and is posted again for the outer
    // loop. Throws TAppError when the window cannot be created.
    INT_PTR RunModal(HWND owner);

    HWND Handle() const { return hwnd; }
    // The dots per inch that the run scales by.
    int Dpi() const { return dpi; }

  protected:
    // The caption and the client area's size in pixels at 96 dpi.
    TDialog(std::wstring caption, int clientWidth, int clientHeight);

    // Creates the controls and fills them. Returns the control that takes the focus first, or
    // nullptr for the first tab stop.
    virtual HWND OnInit() { return nullptr; }
    // WM_COMMAND from any control other than IDOK and IDCANCEL.
    virtual void OnCommand(int id, int code, HWND control);
    // IDOK (the OK button, or Enter when no other button is the default) and IDCANCEL (the Cancel
    // button, Esc, the close box).
    virtual void OnOK() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    // Sees every message after WM_INITDIALOG before the handlers above. Returns true when it
    // handled the message, with the message's result in `result`.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Key preview: every keyboard message (WM_KEYDOWN .. WM_SYSDEADCHAR) for the dialog or one of
    // its controls, before the control or the dialog manager sees it. True consumes it. This one
    // turns F1 into OnHelp.
    virtual bool OnPreviewKey(const MSG& msg);
    // F1 without Shift, Ctrl or Alt.
    virtual void OnHelp() {}

    // Ends the modal run with `result` once the current message has been handled.
    void End(INT_PTR result);

  private:
    static INT_PTR CALLBACK Thunk(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Init();
    void PlaceFrame();
    void ServeMessages();

    HWND hwnd = nullptr;
    HWND owner = nullptr;
    std::wstring caption;
    int clientWidth;
    int clientHeight;
    int dpi = 96;
    HWND initialFocus = nullptr;
    bool initFailed = false;
    bool ended = false;
    INT_PTR result = IDCANCEL;
};

} // namespace ui

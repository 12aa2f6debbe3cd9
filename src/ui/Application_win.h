#pragma once
// The application object: its title and help file, the notifications that the program as a whole
// became active, inactive or minimised, and the message loop with keyboard preview and dialog
// navigation for the main window.
//
// The main window owns the taskbar button and minimises itself; there is no hidden application
// window. Activation changes are learnt from the main window's WM_ACTIVATEAPP and delivered by a
// posted message, so the handlers run after the activation change has completed.
#include <functional>
#include <string>
#include <windows.h>

#include "Messages.h"

namespace ui {

class TApplication {
  public:
    std::function<void()> OnActivate;
    std::function<void()> OnDeactivate;
    std::function<void()> OnMinimize;
    // Keyboard preview for the main window and its controls: a typed character (Esc arrives here
    // at its key press) and a key press. OnKeyPress never consumes the key; OnKeyDown consumes it
    // when it returns true.
    std::function<bool(wchar_t)> OnKeyPress;
    std::function<bool(WPARAM)> OnKeyDown;

    // The window whose messages get preview and dialog navigation.
    HWND MainWindow = nullptr;

    // Lets the main window's procedure feed the application's notifications. Returns true when
    // the message was one of them and is fully handled (result in *result).
    bool MainWindowMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Serves messages until WM_QUIT; returns its exit code.
    int Run();

    // Shows the contents of the program's help.
    void ShowHelp(HWND owner);

    // Handles one message from the queue as Run does (exposed for modal loops of our windows).
    void ProcessMessage(MSG& msg);

  private:
    bool PreviewKey(const MSG& msg);
    bool minimized = false;
};

extern TApplication Application;

} // namespace ui

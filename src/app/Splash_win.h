#pragma once
// TSplashForm: the borderless, topmost title picture shown while the program starts.
#include "ui/Handles_win.h"
#include "ui/Window_win.h"

class TSplashForm : public ui::TWindow {
  public:
    TSplashForm();
    ~TSplashForm() override;
    // Creates the window centred on the screen, shows it on top and paints it at once.
    void Show();

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void FormPaint();
    ui::TUniqueBitmap picture;
    int dpi = 96;
};

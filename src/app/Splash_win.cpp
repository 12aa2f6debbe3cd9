#include "app/Splash_win.h"

TSplashForm::TSplashForm() = default;
TSplashForm::~TSplashForm() = default;

void TSplashForm::Show() {}

void TSplashForm::FormPaint() {}

LRESULT TSplashForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Default(msg, wParam, lParam);
}

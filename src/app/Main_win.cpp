#include "app/Main_win.h"

#include "app/Splash_win.h"

TMainForm* MainForm = nullptr;

void SetWindowZOrder(HWND wnd, HWND insertAfter) {
    SetWindowPos(wnd, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TMainForm::Create(int nCmdShow) {
    (void)nCmdShow;
}
void TMainForm::FormCreate() {}
void TMainForm::FormPaint() {}
void TMainForm::WMHideSplash() {}
void TMainForm::StartUpLoad() {}
void TMainForm::FormClose() {}
void TMainForm::FormResize() {}
void TMainForm::WMGetMinMaxInfo(MINMAXINFO* info) {
    (void)info;
}
void TMainForm::SetStyle(uint8_t style) {
    (void)style;
}
void TMainForm::AppMinimize() {}
void TMainForm::WhenAppMinimize() {}
void TMainForm::AppActivate() {}
void TMainForm::AppDeactivate() {}
void TMainForm::AppAbout() {}
void TMainForm::AppCustomize() {}
void TMainForm::HelpBitBtnClick() {}
void TMainForm::OrderBitBtnClick() {}

LRESULT TMainForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Default(msg, wParam, lParam);
}

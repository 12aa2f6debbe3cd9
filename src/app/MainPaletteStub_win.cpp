// Stand-ins for the palette methods of TMainForm until the palette code joins the build. They are
// weak so that the real definitions win as soon as they are linked.
#include "app/Main_win.h"

#define STUB __attribute__((weak))

STUB void TMainForm::LoadButtons() {}
STUB void TMainForm::KillButtons() {}
STUB void TMainForm::LayoutButtons() {}
STUB void TMainForm::ScrollBoxScroll(int, int) {}
STUB TEmotButton* TMainForm::ButtonFromHandle(HWND) {
    return nullptr;
}
STUB void TMainForm::EmotButtonMouseMove(TEmotButton*, WPARAM, int, int) {}
STUB void TMainForm::EmotButtonMouseLeave(TEmotButton*) {}
STUB void TMainForm::EmotButtonOnEnter(TEmotButton*) {}
STUB void TMainForm::EmotButtonListShowSequence(TEmotButton*) {}
STUB void TMainForm::EmotButtonClick(TEmotButton*) {}
STUB std::string TMainForm::AddSpaces(const std::string& s) const {
    return s;
}
STUB bool TMainForm::FormKeyPress(wchar_t) {
    return false;
}
STUB bool TMainForm::FormKeyDown(WPARAM) {
    return false;
}
STUB void TMainForm::SetHotKey(bool, bool, bool, int32_t) {}
STUB void TMainForm::WMExecActiveHookHandle(WPARAM, LPARAM) {}
STUB void TMainForm::WMExecNonActiveHookHandle(WPARAM, LPARAM) {}
STUB void TMainForm::ClearFocusData() {}
STUB void TMainForm::TargetQuery() {}

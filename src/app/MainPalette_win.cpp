// The main window's side of the palette: building it from the button list, showing a face's
// sequence and hint, choosing a face and delivering its text, the single-key commands, and the
// reports of the hook library about the window the user was typing in.
#include "app/Main_win.h"

#include "dragdrop/DragDrop_win.h"
#include "palette/Deliver_win.h"
#include "palette/Insert.h"
#include "settings/AbsPath.h"

// --- building -----------------------------------------------------------------------------------

void TMainForm::LoadButtons() {
    if (!palette)
        return;
    FormResize();
    std::string path = FOptions.sPicturePath;
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    path = AddAbsolutePath(path);
    palette->Load(EmotButtonList, path);
    for (std::size_t i = 0; i < palette->Count(); ++i)
        palette->Face(i).FOnMouseLeave = [this](TEmotButton& b) { EmotButtonMouseLeave(b); };
    // At start the pictures are read while the splash is held anyway (the start-up step); a
    // rebuild reads them at once.
    if (splashForm && !blSplashProcDone)
        picturesPending = true;
    else
        ReadPictures();
}

void TMainForm::ReadPictures() {
    picturesPending = false;
    if (!palette->ReadPicturesInView())
        ShowNotice("One or more pictures could not be loaded");
}

void TMainForm::KillButtons() {
    if (palette)
        palette->Clear();
}

// --- mouse and focus ----------------------------------------------------------------------------

bool TMainForm::FaceMouseMove(TEmotButton& face, WPARAM keys, POINT screen) {
    return EmotButtonMouseMove(face, keys, screen);
}

void TMainForm::FaceEnter(TEmotButton& face) {
    EmotButtonListShowSequence(face);
}

void TMainForm::FaceClick(TEmotButton& face) {
    EmotButtonClick(face);
}

bool TMainForm::EmotButtonMouseMove(TEmotButton& sender, WPARAM keys, POINT screen) {
    tracker->Query(blAppIsActive);
    const bool moved = screen.x != FOldPoint.x || screen.y != FOldPoint.y;
    FOldPoint = screen;
    if (!moved)
        return false;
    EmotButtonListShowSequence(sender);
    if (!(keys & MK_LBUTTON) || !FOptions.blDragDrop)
        return false;
    // There is no drag threshold: the first move with the button down drags, and the drag runs
    // to its end here. Dropped or not, it took the press.
    if (PerformOLEDragDrop(AddSpaces(sender.FMean)) && FOptions.Style == stMinimizeOnPress)
        AppMinimize();
    return true;
}

void TMainForm::EmotButtonMouseLeave(TEmotButton& sender) {
    // Only what this face put there is cleared; another face's texts stay.
    if (ui::WindowText(controls[mcSequence]) == ui::Widen(sender.FMean))
        SetWindowTextW(controls[mcSequence], L"");
    if (ui::WindowText(controls[mcHint]) == ui::Widen(sender.Hint()))
        SetWindowTextW(controls[mcHint], L"");
    if (!blAppIsActive)
        ClearFocusData();
}

void TMainForm::EmotButtonListShowSequence(TEmotButton& sender) {
    SetWindowTextW(controls[mcSequence], ui::Widen(sender.FMean).c_str());
    SetWindowTextW(controls[mcHint], ui::Widen(sender.Hint()).c_str());
}

// --- choosing -----------------------------------------------------------------------------------

std::string TMainForm::AddSpaces(const std::string& s) const {
    return ::AddSpaces(s, FOptions.Spacing);
}

void TMainForm::EmotButtonClick(TEmotButton& sender) {
    const HWND window = tracker->Window();
    const HWND focus = tracker->Focus();
    // Throws when the clipboard cannot be had; the choice is then abandoned.
    const TDelivery delivery = DeliverText(Handle(), AddSpaces(sender.FMean), focus, window,
                                           FOptions.Insert, sPostClasses);
    const HWND target = window ? window : focus;
    if (delivery == dvElevated && target != elevatedTold) {
        elevatedTold = target;
        ShowNotice("This window's program runs as administrator, so Moodpad cannot type into it."
                   "\n\nThe text is on the clipboard: paste it with Ctrl+V, or start Moodpad as "
                   "administrator.");
    }
    if (FOptions.Style == stMinimizeOnPress) {
        AppMinimize();
        // Asynchronous: a target that hangs must not take the palette with it.
        if (window && window != Handle())
            SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
    }
}

bool TMainForm::FormKeyPress(wchar_t key) {
    using TCommand = void (TMainForm::*)();
    static constexpr std::pair<wchar_t, TCommand> commands[] = {
        {L'\x1b', &TMainForm::AppMinimize},
        {L'A', &TMainForm::AppAbout},
        {L'C', &TMainForm::AppCustomize},
        {L'H', &TMainForm::HelpBitBtnClick},
        {L'O', &TMainForm::OrderBitBtnClick}};
    const wchar_t upper = key >= L'a' && key <= L'z' ? static_cast<wchar_t>(key - 32) : key;
    for (const auto& [k, command] : commands) {
        if (k == upper) {
            (this->*command)();
            return true;
        }
    }
    return false;
}

bool TMainForm::FormKeyDown(WPARAM key) {
    if (!ui::IsHelpKey(key))
        return false;
    HelpBitBtnClick();
    return true;
}

// --- hook reports -------------------------------------------------------------------------------

void TMainForm::WMExecActiveHookHandle(WPARAM wParam, LPARAM lParam) {
    tracker->Learn(wParam, lParam);
    if (IsIconic(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
}

void TMainForm::WMExecNonActiveHookHandle(WPARAM wParam, LPARAM lParam) {
    tracker->Learn(wParam, lParam);
}

void TMainForm::ClearFocusData() {
    if (tracker)
        tracker->Clear();
}

// The program's entry: one instance per session, OLE for drag-and-drop, the main window and the
// message loop.
#include "app/Main_win.h"
#include "dragdrop/DragDrop_win.h"
#include "settings/AbsPath.h"
#include "ui/Application_win.h"

#include <commctrl.h>

namespace {

constexpr wchar_t InstanceMutexName[] = L"Local\\Moodpad.SingleInstance";

HWND FindRunningInstance() {
    return FindWindowW(MainWindowClass, ui::Widen(MainWindowTitle).c_str());
}

// Brings the first instance's window to the front. It may still be creating its window, so
// wait a little for it; if it never appears (it is ending, or failed) give up quietly.
void ActivateRunningInstance(HANDLE instanceMutex) {
    const ULONGLONG deadline = GetTickCount64() + 10000;
    for (;;) {
        if (HWND other = FindRunningInstance()) {
            if (IsIconic(other))
                ShowWindowAsync(other, SW_RESTORE);
            SetForegroundWindow(other);
            return;
        }
        // The first instance released the mutex: it has ended without leaving a window.
        if (WaitForSingleObject(instanceMutex, 0) != WAIT_TIMEOUT)
            return;
        if (GetTickCount64() >= deadline)
            return;
        Sleep(20);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int nCmdShow) {
    SetAbsolutePath(ui::ProgramFileName());
    // Uninitialised last, when everything else has gone.
    const TOleSession ole;
    if (!ole.Ready()) {
        ui::ShowAppError(nullptr, "OLE initialization error");
        return 1;
    }

    // The mutex decides which start is the instance, so starts at the same moment cannot both
    // win; it is held for the whole life of the program.
    ui::TUniqueHandle instanceMutex(CreateMutexW(nullptr, FALSE, InstanceMutexName));
    bool first = false;
    if (instanceMutex) {
        const DWORD w = WaitForSingleObject(instanceMutex.Get(), 0);
        first = w == WAIT_OBJECT_0 || w == WAIT_ABANDONED;
    } else {
        first = FindRunningInstance() == nullptr;
    }
    if (!first) {
        ActivateRunningInstance(instanceMutex.Get());
        return 0;
    }

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    int code = 0;
    {
        TMainForm form;
        try {
            form.Create(nCmdShow);
        } catch (const std::exception& e) {
            ui::ShowAppError(nullptr, e.what());
            code = 1;
        }
        if (code == 0)
            code = ui::Application.Run();
    }
    ReleaseMutex(instanceMutex.Get());
    return code;
}

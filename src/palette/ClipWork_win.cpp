#include "palette/ClipWork_win.h"

#include "ui/AppError.h"
#include "ui/Handles_win.h"

#include <cstring>

void PutToClipboard(HWND owner, const std::string& s) {
    ui::TUniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, s.size() + 1));
    if (!block)
        throw ui::TAppError("Out of Memory");
    void* data = GlobalLock(block.Get());
    if (!data)
        throw ui::TAppError("Out of Memory");
    std::memcpy(data, s.c_str(), s.size() + 1);
    GlobalUnlock(block.Get());

    // Another program keeps the clipboard open only for the moment it reads it (the target of
    // the previous choice may still be pasting), so opening is tried a few times, for at most
    // about 200 ms, before the error.
    for (int attempt = 0;; ++attempt) {
        ui::TClipboard clipboard(owner);
        if (clipboard.IsOpen()) {
            if (EmptyClipboard() && SetClipboardData(CF_TEXT, block.Get())) {
                // The clipboard owns the block from here on.
                block.Release();
                return;
            }
            break;
        }
        if (attempt == 10)
            break;
        Sleep(20);
    }
    throw ui::TAppError("Clipboard processing error");
}

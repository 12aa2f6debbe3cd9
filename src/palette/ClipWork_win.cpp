#include "palette/ClipWork_win.h"

#include "ui/AppError.h"
#include "ui/Handles_win.h"
#include "ui/Window_win.h"

#include <cstring>

namespace {

// A movable block holding the bytes of `data` followed by a zero character.
ui::TUniqueGlobal TextBlock(const void* data, std::size_t bytes, std::size_t zero) {
    ui::TUniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes + zero));
    char* p = block ? static_cast<char*>(GlobalLock(block.Get())) : nullptr;
    if (!p)
        throw ui::TAppError("Out of Memory");
    std::memcpy(p, data, bytes);
    std::memset(p + bytes, 0, zero);
    GlobalUnlock(block.Get());
    return block;
}

} // namespace

void PutToClipboard(HWND owner, const std::string& s) {
    // The text whole as CF_UNICODETEXT, and as CF_TEXT in the ANSI code page for programs that ask
    // for 8-bit text; the bytes of an 8-bit settings file go there as they are.
    const std::wstring wide = ui::Widen(s);
    const std::string ansi = ui::Utf8Text() ? ui::AnsiText(wide) : s;
    ui::TUniqueGlobal wideBlock = TextBlock(wide.c_str(), wide.size() * sizeof(wchar_t), 2);
    ui::TUniqueGlobal ansiBlock = TextBlock(ansi.c_str(), ansi.size(), 1);

    // Another program keeps the clipboard open only for the moment it reads it (the target of
    // the previous choice may still be pasting), so opening is tried a few times, for at most
    // about 200 ms, before the error.
    for (int attempt = 0;; ++attempt) {
        ui::TClipboard clipboard(owner);
        if (clipboard.IsOpen()) {
            // The clipboard owns each block that it takes.
            if (EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, wideBlock.Get())) {
                wideBlock.Release();
                if (SetClipboardData(CF_TEXT, ansiBlock.Get())) {
                    ansiBlock.Release();
                    return;
                }
            }
            break;
        }
        if (attempt == 10)
            break;
        Sleep(20);
    }
    throw ui::TAppError("Clipboard processing error");
}

#include "palette/Deliver_win.h"

#include "palette/ClipWork_win.h"
#include "palette/Insert.h"
#include "ui/Window_win.h"

void DeliverText(HWND owner, const std::string& text, HWND target,
                 const TEmoticonsAutoInsert& insert) {
    PutToClipboard(owner, text);
    if (!insert.blEnabled || !target || !IsWindow(target))
        return;
    if (insert.blUseClipboard) {
        PostMessageW(target, WM_PASTE, 0, 0);
        return;
    }
    // A Unicode window gets UTF-16 units, a character outside the basic plane as its two
    // surrogate halves; an ANSI window the bytes of the ANSI code page.
    const std::wstring wide = ui::Widen(text);
    if (IsWindowUnicode(target)) {
        for (wchar_t unit : wide)
            PostMessageW(target, WM_CHAR, WPARAM(unit), 0);
        return;
    }
    for (unsigned code : CharCodes(ui::Utf8Text() ? ui::AnsiText(wide) : text))
        PostMessageA(target, WM_CHAR, code, 0);
}

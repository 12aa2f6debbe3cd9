#include "palette/Deliver_win.h"

#include "palette/ClipWork_win.h"
#include "palette/Insert.h"

void DeliverText(HWND owner, const std::string& text, HWND target,
                 const TEmoticonsAutoInsert& insert) {
    PutToClipboard(owner, text);
    if (!insert.blEnabled || !target || !IsWindow(target))
        return;
    if (insert.blUseClipboard) {
        PostMessageA(target, WM_PASTE, 0, 0);
        return;
    }
    for (unsigned code : CharCodes(text))
        PostMessageA(target, WM_CHAR, code, 0);
}

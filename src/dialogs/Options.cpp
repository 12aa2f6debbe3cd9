#include "dialogs/Options.h"

#include "settings/AbsPath.h"

uint16_t HotKeyToField(const THotKey& key) {
    const uint32_t code = uint32_t(key.iVirtCode) & 0xFFFF;
    if (code > 255)
        return 0;
    const uint8_t mods =
        (key.blShift ? hkShift : 0) | (key.blCtrl ? hkCtrl : 0) | (key.blAlt ? hkAlt : 0);
    return uint16_t(mods << 8 | code);
}

THotKey HotKeyFromField(uint16_t value) {
    const uint8_t mods = uint8_t(value >> 8);
    THotKey key;
    key.iVirtCode = value & 0xFF;
    key.blShift = (mods & hkShift) != 0;
    key.blCtrl = (mods & hkCtrl) != 0;
    key.blAlt = (mods & hkAlt) != 0;
    return key;
}

bool HotKeyAcceptable(uint16_t value) {
    return (value & 0xFF) != 0 && ((value >> 8) & (hkShift | hkCtrl | hkAlt)) != 0;
}

int StyleItem(uint8_t style) {
    return style > stMinimizeOnPress ? int(stMinimizeOnPress) : int(style);
}

TOptionsFields FieldsFromOptions(const TEmoticonsOptions& o) {
    TOptionsFields f;
    f.picturePath = AddAbsolutePath(o.sPicturePath);
    f.exePath = o.sExePath;
    f.exeStart = o.blExeStart;
    f.styleItem = StyleItem(o.Style);
    f.dragDrop = o.blDragDrop;
    f.insEnabled = o.Insert.blEnabled;
    f.trackWindows = o.Insert.blTrackWindows;
    f.useClipboard = o.Insert.blUseClipboard;
    f.keyboard = o.Insert.blKeyboard;
    f.hotKey = HotKeyToField(o.HotKey);
    f.spaceBefore = o.Spacing.blBefore;
    f.spaceAfter = o.Spacing.blAfter;
    return f;
}

TEmoticonsOptions OptionsFromFields(const TOptionsFields& f) {
    TEmoticonsOptions o;
    o.sPicturePath = RemoveAbsolutePath(f.picturePath);
    o.sExePath = f.exePath;
    o.blExeStart = f.exeStart;
    o.Style = uint8_t(StyleItem(uint8_t(f.styleItem < 0 ? 0 : f.styleItem)));
    o.blDragDrop = f.dragDrop;
    o.Insert = {f.insEnabled, f.trackWindows, f.useClipboard, f.keyboard};
    o.HotKey = HotKeyFromField(f.hotKey);
    o.Spacing = {f.spaceBefore, f.spaceAfter};
    o.Rect = {};
    return o;
}

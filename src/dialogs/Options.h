#pragma once
// What the options dialog shows, as plain values: the mapping between the options record and the
// dialog's controls both ways, the enabling rules, and the hot-key field's value. The Win32 dialog
// (OptionsDlg_win) only moves these values in and out of its controls.
#include "settings/Ini.h"

#include <cstdint>
#include <string>

// The hot-key field's value as the common hot-key control keeps it: the virtual key in the low
// byte, the modifier flags in the high byte.
constexpr uint8_t hkShift = 0x01;
constexpr uint8_t hkCtrl = 0x02;
constexpr uint8_t hkAlt = 0x04;
constexpr uint8_t hkExt = 0x08;

// The record's hot key in the field: a key code above 255 (in the low 16 bits) shows no key.
uint16_t HotKeyToField(const THotKey& key);
// The field's value as the record's hot key; the extended-key flag is dropped.
THotKey HotKeyFromField(uint16_t value);
// A key with at least one of Shift, Ctrl and Alt. A bare key is refused: a global hook on it
// would take that key from every program. No key (0) is not acceptable either.
bool HotKeyAcceptable(uint16_t value);

// The three items of the window-style group: 0 usual, 1 always on top, 2 minimize on select.
// Styles above 2 show as the last item, so OK turns them into stMinimizeOnPress.
int StyleItem(uint8_t style);

// The state of the dialog's controls.
struct TOptionsFields {
    std::string picturePath; // shown with the program's directory added
    std::string exePath;
    bool exeStart = false;
    int styleItem = 0;
    bool dragDrop = false;
    bool insEnabled = false;
    bool trackWindows = false;
    bool useClipboard = false; // "Use clipboard" on, else "Use key events" on
    bool keyboard = false;     // type into windows whose class takes no posted messages
    uint16_t hotKey = 0;
    bool spaceBefore = false;
    bool spaceAfter = false;

    // The program field, its Browse and its Clear follow "Enabled" of the start-up group; tracking,
    // the two ways of inserting and typing by keyboard follow "Enabled" of the auto-insert group.
    // Disabled controls keep their values and are read back like the others.
    bool AppControlsEnabled() const { return exeStart; }
    bool InsertControlsEnabled() const { return insEnabled; }
};

TOptionsFields FieldsFromOptions(const TEmoticonsOptions& options);
// Every edited option; the placement Rect is zero and the picture path is relative to the
// program's directory when it begins with it as spelt (RemoveAbsolutePath).
TEmoticonsOptions OptionsFromFields(const TOptionsFields& fields);

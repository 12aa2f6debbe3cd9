#include "dialogs/Options.h"
#include "settings/AbsPath.h"

#include <gtest/gtest.h>

namespace {

// The hot key in the field and back: the key code's upper bits, the extended flag and a bare key
// are where a stored hot key gets lost or a global hook takes a plain letter.
TEST(OptionsFields, HotKeyFieldKeepsTheKeyDropsTheExtendedFlagAndRefusesABareKey) {
    // The default, Alt+E, shows in the options dialog's field: Options.ANewHotKey...
    THotKey big;
    big.iVirtCode = 0x10045; // 'E' above 16 bits: the low 16 bits are the key
    EXPECT_EQ(HotKeyToField(big) & 0xFF, 'E');
    big.iVirtCode = 256;
    EXPECT_EQ(HotKeyToField(big), 0) << "a key beyond 255 shows no key at all";

    const THotKey back = HotKeyFromField((hkCtrl | hkShift | hkExt) << 8 | 'Q');
    EXPECT_EQ(std::tuple(back.iVirtCode, back.blCtrl, back.blShift, back.blAlt, back.reserved),
              std::tuple('Q', 1, 1, 0, 0));

    EXPECT_TRUE(HotKeyAcceptable(hkAlt << 8 | 'E'));
    EXPECT_FALSE(HotKeyAcceptable('E')) << "a bare key";
    EXPECT_FALSE(HotKeyAcceptable(hkExt << 8 | 0x27)) << "an arrow key alone";
    EXPECT_FALSE(HotKeyAcceptable(hkCtrl << 8)) << "a modifier without a key";
}

// Every field survives the round trip; what the record cannot show comes back changed as the
// dialog shows it.
TEST(OptionsFields, RoundTripKeepsEveryOptionAndFoldsWhatCannotBeShown) {
    SetAbsolutePath("C:\\PAD\\PAD.EXE");
    TEmoticonsOptions o;
    o.sPicturePath = "", o.sExePath = "D:\\x.exe", o.blExeStart = true, o.Style = 7;
    o.blDragDrop = false, o.Insert = {false, true, false, false}, o.HotKey.blCtrl = 1;
    o.Spacing = {false, true}, o.Rect = {1, 2, 3, 4};
    TOptionsFields f = FieldsFromOptions(o);
    EXPECT_EQ(f.picturePath, "C:\\PAD\\") << "an empty directory shows as the program's";
    EXPECT_EQ(f.styleItem, 2);
    EXPECT_FALSE(f.InsertControlsEnabled());
    EXPECT_TRUE(f.AppControlsEnabled());
    // The insertion fields are disabled, and keep and return their states all the same.
    const TEmoticonsOptions b = OptionsFromFields(f);
    EXPECT_EQ(std::tuple(b.sPicturePath, b.Style, b.sExePath, b.blExeStart, b.blDragDrop),
              std::tuple("", stMinimizeOnPress, o.sExePath, true, false));
    EXPECT_EQ(std::tuple(b.Insert.blEnabled, b.Insert.blTrackWindows, b.Insert.blUseClipboard,
                         b.Insert.blKeyboard, b.Spacing.blBefore, b.Spacing.blAfter),
              std::tuple(false, true, false, false, false, true));
    EXPECT_TRUE(b.HotKey.blAlt && b.HotKey.blCtrl && b.HotKey.iVirtCode == 'E');
    EXPECT_EQ(b.Rect.Right, 0);

    f.picturePath = "c:\\pad\\faces";
    EXPECT_EQ(OptionsFromFields(f).sPicturePath, "c:\\pad\\faces") << "returned as typed";
    // The main window's form: upper-cased a-z only, then relative when under the program.
    EXPECT_EQ(NormalisePicturePath("c:\\pad\\faces\xe4"), "FACES\xe4");
    EXPECT_EQ(NormalisePicturePath("d:\\pics"), "D:\\PICS");
    AbsolutePath.clear();
}

} // namespace

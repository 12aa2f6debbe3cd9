// Saving the settings file on the platform itself: a temporary file that cannot be made must leave
// the old file as it was. The other faults of a save (a read-only or locked file, a read-only
// folder, a full disk) and a program folder whose name the code page cannot spell are met end to
// end, in Faults.ASettingsFileThatCannotBeStored... and Faults.FaceDirectories...
#include "settings/Ini.h"
#include "support/Support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <windows.h>

TEST(SettingsSave, ABlockedTemporaryFileKeepsTheOldFile) {
    const support::TempDir temp;
    const std::string dir = std::filesystem::path(temp.path).string() + "\\";
    // Saves a file with the style through the name the program derives from its path.
    const auto saveStyle = [&](uint8_t style) {
        TEmoticonsIniFile file(dir + "Pad.exe");
        TEmoticonsOptions o;
        o.Style = style;
        file.SetOptions(o);
        file.SetButtons({MakeEntry(":-)", "Smile", "smile")});
        file.Save();
    };
    saveStyle(2);
    const std::string before = support::ReadFile(temp / L"PAD.INI");
    ASSERT_TRUE(CreateDirectoryA((dir + "PAD.INI.tmp").c_str(), nullptr)); // not ours, in the way
    try {
        saveStyle(0);
        ADD_FAILURE() << "saved through a blocked temporary file";
    } catch (const TIniWriteError& e) {
        EXPECT_EQ(e.message, "INI File could not be stored");
    }
    EXPECT_EQ(support::ReadFile(temp / L"PAD.INI"), before);
}

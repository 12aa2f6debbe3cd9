// Saving the settings file on the platform itself: a failure that must leave the old file as it
// was, and a program folder with characters beyond ASCII in its name (paths are UTF-8).
#include "settings/Ini.h"
#include "support/Support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <windows.h>

namespace {

namespace fs = std::filesystem;

class SettingsSave : public ::testing::Test {
  protected:
    std::string Read() const { return support::ReadFile(support::Widen(dir + "PAD.INI")); }
    // Saves a file with the style through the name the program derives from its path.
    void SaveStyle(uint8_t style, const std::string& folder) {
        TEmoticonsIniFile file(folder + "Pad.exe");
        TEmoticonsOptions o;
        o.Style = style;
        file.SetOptions(o);
        file.SetButtons({MakeEntry(":-)", "Smile", "smile")});
        file.Save();
    }
    support::TempDir temp;
    const std::string dir = fs::path(temp.path).string() + "\\";
};

// A read-only file is kept so too: Lifecycle.ASettingsFileThatCannotBeReadOrWritten... shows it.
TEST_F(SettingsSave, ABlockedTemporaryFileKeepsTheOldFile) {
    SaveStyle(2, dir);
    const std::string before = Read();
    ASSERT_TRUE(CreateDirectoryA((dir + "PAD.INI.tmp").c_str(), nullptr)); // not ours, in the way
    try {
        SaveStyle(0, dir);
        ADD_FAILURE() << "saved through a blocked temporary file";
    } catch (const TIniWriteError& e) {
        EXPECT_EQ(e.message, "INI File could not be stored");
    }
    EXPECT_EQ(Read(), before);
}

TEST_F(SettingsSave, AProgramFolderWithCharactersBeyondAscii) {
    const std::string sub = dir + "caf\xC3\xA9 \xD0\xA4\\";
    ASSERT_TRUE(CreateDirectoryW((temp / L"caf\u00e9 \u0424").c_str(), nullptr));
    SaveStyle(2, sub);
    EXPECT_EQ(GetPrivateProfileIntW(L"Window", L"Code", -1,
                                    (temp / L"caf\u00e9 \u0424\\PAD.INI").c_str()),
              2);
    TEmoticonsOptions back;
    TEmoticonsIniFile(sub + "Pad.exe").GetOptions(back);
    EXPECT_EQ(back.Style, 2);
}

} // namespace

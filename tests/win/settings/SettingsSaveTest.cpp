// Saving the settings file on the platform itself: the replace over an existing file, the failures
// that must leave the old file as it was, and a program folder with ANSI characters in its name.
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
    void SaveStyle(uint8_t style) { SaveStyle(style, dir); }
    support::TempDir temp;
    const std::string dir = fs::path(temp.path).string() + "\\";
};

TEST_F(SettingsSave, ReplacesTheOldFileAndLeavesNothingBehind) {
    SaveStyle(2);
    SaveStyle(0);
    EXPECT_NE(Read().find("Code=0\r\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir + "PAD.INI.tmp"));
    TEmoticonsOptions o;
    TEmoticonsIniFile(dir + "pad.EXE").GetOptions(o);
    EXPECT_EQ(o.Style, 0);
}

TEST_F(SettingsSave, FailuresKeepTheOldFile) {
    SaveStyle(2);
    const std::string before = Read();
    ASSERT_TRUE(SetFileAttributesA((dir + "PAD.INI").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(SaveStyle(0), TIniWriteError);
    ASSERT_TRUE(SetFileAttributesA((dir + "PAD.INI").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(Read(), before);

    ASSERT_TRUE(CreateDirectoryA((dir + "PAD.INI.tmp").c_str(), nullptr)); // not ours, in the way
    try {
        SaveStyle(0);
        ADD_FAILURE() << "saved through a blocked temporary file";
    } catch (const TIniWriteError& e) {
        EXPECT_EQ(e.message, "INI File could not be stored");
    }
    EXPECT_EQ(Read(), before);
}

TEST_F(SettingsSave, AProgramFolderWithAnsiCharacters) {
    const std::string sub = dir + "caf\xE9\\";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    SaveStyle(2, sub);
    EXPECT_EQ(GetPrivateProfileIntA("Window", "Code", -1, (sub + "PAD.INI").c_str()), 2);
    TEmoticonsOptions back;
    TEmoticonsIniFile(sub + "Pad.exe").GetOptions(back);
    EXPECT_EQ(back.Style, 2);
}

} // namespace

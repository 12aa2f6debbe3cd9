// Saving the settings file on the platform itself: the replace over an existing file, and the
// failures that must leave the old file as it was.
#include "settings/Ini.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <windows.h>

namespace {

class SettingsSave : public ::testing::Test {
  protected:
    void SetUp() override {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        for (unsigned n = GetTickCount();; ++n) {
            dir = std::string(base) + "moodpad-save-" + std::to_string(n) + "\\";
            if (CreateDirectoryA(dir.c_str(), nullptr))
                break;
        }
        ini = dir + "PAD.INI";
    }
    void TearDown() override {
        SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(ini.c_str());
        RemoveDirectoryA((ini + ".tmp").c_str());
        DeleteFileA((ini + ".tmp").c_str());
        RemoveDirectoryA(dir.c_str());
    }
    std::string Read() const {
        std::ifstream in(ini, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void SaveStyle(uint8_t style) {
        TEmoticonsIniFile file(dir + "Pad.exe"); // the name the program derives from its path
        TEmoticonsOptions o;
        o.Style = style;
        file.SetOptions(o);
        file.SetButtons({MakeEntry(":-)", "Smile", "smile")});
        file.Save();
    }
    std::string dir, ini;
};

TEST_F(SettingsSave, ReplacesTheOldFileAndLeavesNothingBehind) {
    SaveStyle(2);
    ASSERT_NE(Read().find("Code=2\r\n"), std::string::npos);
    SaveStyle(0);
    EXPECT_NE(Read().find("Code=0\r\n"), std::string::npos);
    EXPECT_EQ(GetFileAttributesA((ini + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    TEmoticonsOptions o;
    TEmoticonsIniFile(dir + "pad.EXE").GetOptions(o);
    EXPECT_EQ(o.Style, 0);
}

TEST_F(SettingsSave, FailuresKeepTheOldFile) {
    SaveStyle(2);
    const std::string before = Read();

    ASSERT_TRUE(SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(SaveStyle(0), TIniWriteError);
    ASSERT_TRUE(SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(Read(), before);

    ASSERT_TRUE(CreateDirectoryA((ini + ".tmp").c_str(), nullptr));
    try {
        SaveStyle(0);
        ADD_FAILURE() << "saved through a blocked temporary file";
    } catch (const TIniWriteError& e) {
        EXPECT_EQ(e.message, "INI File could not be stored");
    }
    EXPECT_EQ(Read(), before);
}

TEST_F(SettingsSave, AFileThatCannotBeReadIsNotReplaced) {
    SaveStyle(2);
    const std::string before = Read();
    HANDLE lock = CreateFileA(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    TEmoticonsIniFile file(dir + "Pad.exe");
    TEmoticonsOptions o;
    file.GetOptions(o); // reading never fails: defaults
    EXPECT_EQ(o.Style, stAlwaysOnTop);
    file.SetOptions(o);
    EXPECT_THROW(file.Save(), TIniWriteError);
    CloseHandle(lock);
    EXPECT_EQ(Read(), before);
}

TEST_F(SettingsSave, ProgramFolderWithAnsiCharacters) {
    const std::string sub = dir + "caf\xE9\\";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    {
        TEmoticonsIniFile file(sub + "Pad.exe");
        TEmoticonsOptions o;
        o.Style = 2;
        file.SetOptions(o);
        file.Save();
    }
    const std::string saved = sub + "PAD.INI";
    EXPECT_EQ(GetPrivateProfileIntA("Window", "Code", -1, saved.c_str()), 2);
    TEmoticonsOptions back;
    TEmoticonsIniFile(sub + "Pad.exe").GetOptions(back);
    EXPECT_EQ(back.Style, 2);
    DeleteFileA(saved.c_str());
    RemoveDirectoryA(sub.c_str());
}

} // namespace

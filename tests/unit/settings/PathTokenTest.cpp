#include "settings/AbsPath.h"
#include "settings/Token.h"

#include <gtest/gtest.h>

namespace {

// The program's folder keeps its separator and case; only relative paths get it, and only it is
// stripped again.
TEST(AbsolutePath, OnlyRelativePathsGetTheProgramFolderAndOnlyItIsStrippedAgain) {
    SetAbsolutePath("x:pad.exe");
    EXPECT_EQ(AbsolutePath, "x:");
    SetAbsolutePath("C:\\TOOLS\\PAD.EXE");
    const std::pair<const char*, const char*> added[] = {
        {"FACES", "C:\\TOOLS\\FACES"},
        {"D:\\PICS", "D:\\PICS"},
        {"\\PICS", "\\PICS"},
        {"", "C:\\TOOLS\\"},
        {"sub\\C:\\TOOLS\\x", "sub\\C:\\TOOLS\\x"}, // holds the folder, but not at the start
        {"c:\\tools\\faces", "c:\\tools\\faces"},   // a drive colon
    };
    for (const auto& [in, out] : added)
        EXPECT_EQ(AddAbsolutePath(in), out) << in;
    const std::pair<const char*, const char*> removed[] = {{"C:\\TOOLS\\FACES", "FACES"},
                                                           {"c:\\tools\\faces", "c:\\tools\\faces"},
                                                           {"C:\\TOOLS\\", ""},
                                                           {"C:\\TOOL", "C:\\TOOL"},
                                                           {"", ""}};
    for (const auto& [in, out] : removed)
        EXPECT_EQ(RemoveAbsolutePath(in), out) << in;
    AbsolutePath.clear();
}

TEST(GetToken, FindsWordsAndTheirPositions) {
    const struct {
        std::string line;
        uint16_t index;
        std::string token;
        uint16_t begin;
    } cases[] = {
        {"\t  abc \tde", 1, "abc", 4},
        {"\t  abc \tde", 2, "de", 9},
        {"\t  abc \tde", 3, "", 11},
        {"", 1, "", 1},
        {"   ", 1, "", 4},
        {"a b  ", 3, "", 6},
        {std::string("x\0y z", 5), 1, std::string("x\0y", 3), 1}, // a zero byte is a character
        {std::string(70000, ' ') + "far", 1, "far", 65535},       // positions do not wrap
    };
    for (const auto& c : cases) {
        uint16_t begin = 0;
        EXPECT_EQ(GetToken(c.line, c.index, begin), c.token) << c.line << " #" << c.index;
        EXPECT_EQ(begin, c.begin) << c.line << " #" << c.index;
    }
}

} // namespace

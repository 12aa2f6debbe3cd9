#include "settings/AbsPath.h"
#include "settings/Token.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const char* in;
    const char* out;
};

class AbsolutePathTest : public ::testing::Test {
  protected:
    void SetUp() override { SetAbsolutePath("C:\\TOOLS\\PAD.EXE"); }
    void TearDown() override { AbsolutePath.clear(); }
};

TEST_F(AbsolutePathTest, SetKeepsDirectoryWithSeparatorAndCase) {
    EXPECT_EQ(AbsolutePath, "C:\\TOOLS\\");
    SetAbsolutePath("d:\\Mixed\\Case\\pad.exe");
    EXPECT_EQ(AbsolutePath, "d:\\Mixed\\Case\\");
    SetAbsolutePath("X:pad.exe");
    EXPECT_EQ(AbsolutePath, "X:");
}

TEST_F(AbsolutePathTest, AddPutsProgramDirectoryBeforeRelativePathsOnly) {
    const PathCase cases[] = {
        {"FACES", "C:\\TOOLS\\FACES"},
        {"D:\\PICS", "D:\\PICS"},
        {"\\PICS", "\\PICS"},
        {"", "C:\\TOOLS\\"},
        {"C:\\TOOLS\\FACES", "C:\\TOOLS\\FACES"},
        {"sub\\C:\\TOOLS\\x", "sub\\C:\\TOOLS\\x"}, // holds the directory anywhere
        {"c:\\tools\\faces", "c:\\tools\\faces"},   // a drive colon
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddAbsolutePath(c.in), c.out) << c.in;
}

TEST_F(AbsolutePathTest, RemoveStripsOnlyAnExactLeadingProgramDirectory) {
    const PathCase cases[] = {
        {"C:\\TOOLS\\FACES", "FACES"}, {"c:\\tools\\faces", "c:\\tools\\faces"},
        {"C:\\TOOLS\\", ""},           {"D:\\PICS", "D:\\PICS"},
        {"C:\\TOOL", "C:\\TOOL"},      {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemoveAbsolutePath(c.in), c.out) << c.in;
    // What is stored comes back as the path that was entered.
    EXPECT_EQ(AddAbsolutePath(RemoveAbsolutePath("C:\\TOOLS\\FACES")), "C:\\TOOLS\\FACES");
}

TEST(GetToken, FindsWordsAndTheirPositions) {
    struct Case {
        std::string line;
        uint16_t index;
        const char* token;
        uint16_t begin;
    } cases[] = {
        {"\t  abc \tde", 1, "abc", 4},
        {"\t  abc \tde", 2, "de", 9},
        {"\t  abc \tde", 3, "", 11},
        {"\t  abc \tde", 9, "", 11},
        {"", 1, "", 1},
        {"   ", 1, "", 4},
        {"one", 1, "one", 1},
        {"a b  ", 3, "", 6},
        {std::string("x\0y z", 5), 1, "", 1}, // a zero byte is an ordinary character
    };
    cases[8].token = nullptr;
    for (const auto& c : cases) {
        uint16_t begin = 0;
        const std::string t = GetToken(c.line, c.index, begin);
        if (c.token)
            EXPECT_EQ(t, c.token) << c.line << " #" << c.index;
        else
            EXPECT_EQ(t, std::string("x\0y", 3));
        EXPECT_EQ(begin, c.begin) << c.line << " #" << c.index;
    }
}

TEST(GetToken, LongLinesDoNotWrapPositions) {
    const std::string line = std::string(70000, ' ') + "far";
    uint16_t begin = 0;
    EXPECT_EQ(GetToken(line, 1, begin), "far");
    EXPECT_EQ(begin, 65535);
}

} // namespace

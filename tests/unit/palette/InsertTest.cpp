#include "palette/Insert.h"

#include <gtest/gtest.h>

TEST(AddSpaces, BlanksBeforeAndAfterAsConfigured) {
    EXPECT_EQ(AddSpaces(":-)", TExtraSpacing{false, false}), ":-)");
    EXPECT_EQ(AddSpaces(":-)", TExtraSpacing{true, false}), " :-)");
    EXPECT_EQ(AddSpaces(":-)", TExtraSpacing{false, true}), ":-) ");
    EXPECT_EQ(AddSpaces(":-)", TExtraSpacing{true, true}), " :-) ");
    EXPECT_EQ(AddSpaces("", TExtraSpacing{true, true}), "  ");
}

TEST(CharCodes, OneCodePerCharacterZeroExtended) {
    const std::vector<unsigned> smile = {32, 58, 45, 41, 32};
    EXPECT_EQ(CharCodes(AddSpaces(":-)", TExtraSpacing{true, true})), smile);
    const std::string high = {'a', static_cast<char>(0xE9), static_cast<char>(0x80),
                              static_cast<char>(0xFF)};
    const std::vector<unsigned> highCodes = {97, 0xE9, 0x80, 0xFF};
    EXPECT_EQ(CharCodes(high), highCodes);
    EXPECT_TRUE(CharCodes("").empty());
}

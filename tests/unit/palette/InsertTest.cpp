#include "palette/Insert.h"

#include <gtest/gtest.h>

// A sign-extended char would post codes above 0xFF for every character past 0x7F.
TEST(CharCodes, OneCodePerCharacterZeroExtended) {
    EXPECT_EQ(CharCodes(std::string("a\xE9\x80\xFF")),
              (std::vector<unsigned>{97, 0xE9, 0x80, 0xFF}));
    EXPECT_TRUE(CharCodes("").empty());
}

#include "palette/Insert.h"

#include <gtest/gtest.h>

// A sign-extended char would post codes above 0xFF for every character past 0x7F.
TEST(CharCodes, OneCodePerCharacterZeroExtended) {
    EXPECT_EQ(CharCodes(std::string("a\xE9\x80\xFF")),
              (std::vector<unsigned>{97, 0xE9, 0x80, 0xFF}));
    EXPECT_TRUE(CharCodes("").empty());
}

// The list decides who gets posted messages: a miss types into a classic edit, a false hit leaves
// a browser's field empty.
TEST(ClassListed, NamesMatchWholeOrByTrailingWildcardWithoutCase) {
    const struct {
        const char* list;
        const char* cls;
        bool listed;
    } cases[] = {
        {DEFAULT_POST_CLASSES, "Edit", true},
        {DEFAULT_POST_CLASSES, "EDIT", true},
        {DEFAULT_POST_CLASSES, "RICHEDIT50W", true},
        {DEFAULT_POST_CLASSES, "Scintilla", true},
        {DEFAULT_POST_CLASSES, "WindowsForms10.EDIT.app.0.141b42a_r6_ad1", true},
        {DEFAULT_POST_CLASSES, "Chrome_RenderWidgetHostHWND", false},
        {DEFAULT_POST_CLASSES, "ConsoleWindowClass", false},
        {DEFAULT_POST_CLASSES, "EditPlus", false}, // no wildcard: the whole name
        {" Scintilla ,\tmine* ,", "MineField", true},
        {"mine*", "min", false},
        {"*", "anything", true},
        {"", "Edit", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassListed(c.list, c.cls), c.listed) << c.list << " / " << c.cls;
}

// The about window's caption from a product name as the settings file spells it, in the code page
// of its bytes: the trademark sign is a character, not a last byte.
#include "about/Engabout.h"
#include "about/Engabout_win.h"

#include <gtest/gtest.h>

namespace {

TEST(AboutText, TheCaptionLooksAtTheLastCharacterNotTheLastByte) {
    // In the Western code page byte 0x99 is the trademark sign; in the Japanese one it ends the
    // white star, which stays.
    EXPECT_EQ(AboutCaption(AboutText("Smile\x99", 1252)), L"About Smile");
    EXPECT_EQ(AboutCaption(AboutText("Star\x81\x99", 932)), L"About Star\u2606");
}

} // namespace

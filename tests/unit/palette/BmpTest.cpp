#include "palette/Bmp.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using support::Bitmap;
std::string B(std::initializer_list<int> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

bool Decode(const std::string& file, TImage& image) {
    return DecodeBmp(reinterpret_cast<const uint8_t*>(file.data()), file.size(), image);
}

TImage Decode(const std::string& file) {
    TImage image;
    EXPECT_TRUE(Decode(file, image));
    return image;
}

} // namespace

TEST(DecodeBmp, ReadsRowsInTheirOrderWithPaletteAndPadding) {
    // 8 bits, stored bottom row first, rows padded to 4 bytes.
    const auto paletted = Decode(Bitmap(3, 2, 8, 0, B({2, 2, 2, 0, /* bottom */ 1, 0, 1, 0}),
                                        {0x000000, 0xFF0000, 0x00FF00}));
    EXPECT_EQ(paletted.pixels,
              (std::vector<uint32_t>{0xFF0000, 0, 0xFF0000, 0xFF00, 0xFF00, 0xFF00}));
    // 24 bits, stored top row first (negative height), blue-green-red.
    const auto topDown = Decode(Bitmap(1, -2, 24, 0, B({1, 2, 3, 0, 4, 5, 6, 0})));
    EXPECT_EQ(topDown.pixels, (std::vector<uint32_t>{0x030201, 0x060504}));
    // 16 bits with 5-6-5 bit fields (masks after a version 1 header): full red reads as 255.
    auto fields = Bitmap(1, 1, 16, 3, B({0x00, 0xF8, 0, 0}), {0xF800, 0x07E0});
    fields.insert(14 + 40 + 8, B({0x1F, 0, 0, 0}));
    fields[10] += 4;
    EXPECT_EQ(Decode(fields).pixels, std::vector<uint32_t>{0xFF0000});
}

TEST(DecodeBmp, ExpandsRunLengthEncodedPictures) {
    // RLE8, 4 x 2: a run of three 1s and an absolute pair... end of line, then a run, then the end.
    const auto image =
        Decode(Bitmap(4, 2, 8, 1, B({3, 1, 0, 0, /* line */ 0, 3, 2, 1, 2, 0, /* abs 3 */ 0, 1}),
                      {0x000000, 0x0000FF, 0x00FF00}));
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0xFF00, 0xFF, 0xFF00, 0, 0xFF, 0xFF, 0xFF, 0}));
}

TEST(DecodeBmp, RefusesDamagedAndUnknownFiles) {
    const std::string good = Bitmap(2, 2, 24, 0, std::string(16, 7)), zeros(16, 0);
    const std::string bad[] = {
        "",
        good.substr(0, good.size() - 1),         // truncated pixels
        Bitmap(2, 2, 24, 4, std::string(16, 7)), // JPEG inside: not ours
        Bitmap(2, 2, 7, 0, std::string(16, 7)),  // no such depth
        Bitmap(100000, 100000, 24, 0, zeros),    // claims a huge picture
        Bitmap(0, 2, 24, 0, zeros),
        Bitmap(2, INT32_MIN, 24, 0, zeros),       // the most negative height
        Bitmap(2, 2, 24, 77, zeros),              // an unknown compression
        Bitmap(2, -2, 8, 1, B({0, 1}), {0}),      // run-length may not be top-down
        Bitmap(4, 2, 8, 1, B({3, 1, 0, 0}), {0}), // runs end without the end mark
        "X" + good.substr(1),
    };
    for (const std::string& b : bad) {
        TImage image{1, 1, {1}};
        EXPECT_FALSE(Decode(b, image)) << &b - bad;
        EXPECT_TRUE(image.pixels.empty()) << &b - bad;
    }
    Decode(good);
}

TEST(CopyCentre, TakesTheCentreOfALargerPictureAndASmallerOneWhole) {
    TImage big{4, 4, {}};
    for (uint32_t i = 0; i < 16; ++i)
        big.pixels.push_back(i);
    std::vector<uint32_t> square(3 * 2, 99); // rows 3 apart, 2 rows
    const TCopied c = CopyCentre(big, 2, square.data(), 3);
    EXPECT_EQ(std::pair(c.width, c.height), std::pair(2, 2));
    EXPECT_EQ(square, (std::vector<uint32_t>{5, 6, 99, 9, 10, 99}));
    const TCopied one = CopyCentre(TImage{1, 1, {7}}, 2, square.data(), 3);
    EXPECT_EQ(one.width * one.height, 1);
    EXPECT_EQ(square[0], 7u);
}

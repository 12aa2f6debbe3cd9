#include "palette/Bmp.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A bitmap file: file header, info header (40 bytes), palette, pixel bytes as given.
std::vector<uint8_t> Bmp(int width, int height, int bpp, uint32_t compression,
                         const std::vector<uint32_t>& palette, const std::vector<uint8_t>& bits) {
    const uint32_t colours = uint32_t(palette.size()), size = uint32_t(bits.size());
    const uint32_t offBits = 14 + 40 + 4 * colours, total = offBits + size;
    // After "BM" every field is 4 bytes long but the planes and the depth, which share one here.
    const uint32_t w = uint32_t(width), h = uint32_t(height), depth = 1 | uint32_t(bpp) << 16;
    std::vector<uint32_t> fields = {total,       0,    offBits, 40, w,       h, depth,
                                    compression, size, 0,       0,  colours, 0};
    fields.insert(fields.end(), palette.begin(), palette.end());
    std::vector<uint8_t> b = {'B', 'M'};
    for (uint32_t v : fields)
        for (int i = 0; i < 4; ++i)
            b.push_back(uint8_t(v >> (8 * i)));
    b.insert(b.end(), bits.begin(), bits.end());
    return b;
}

TImage Decode(const std::vector<uint8_t>& file) {
    TImage image;
    EXPECT_TRUE(DecodeBmp(file.data(), file.size(), image));
    return image;
}

} // namespace

TEST(DecodeBmp, ReadsRowsInTheirOrderWithPaletteAndPadding) {
    // 8 bits, stored bottom row first, rows padded to 4 bytes.
    const auto paletted = Decode(Bmp(3, 2, 8, 0, {0x000000, 0xFF0000, 0x00FF00},
                                     {2, 2, 2, 0, /* bottom */ 1, 0, 1, 0 /* top */}));
    EXPECT_EQ(paletted.pixels,
              (std::vector<uint32_t>{0xFF0000, 0, 0xFF0000, 0xFF00, 0xFF00, 0xFF00}));
    // 24 bits, stored top row first (negative height), blue-green-red.
    const auto topDown = Decode(Bmp(1, -2, 24, 0, {}, {0x01, 0x02, 0x03, 0, 0x04, 0x05, 0x06, 0}));
    EXPECT_EQ(topDown.pixels, (std::vector<uint32_t>{0x030201, 0x060504}));
    // 16 bits with 5-6-5 bit fields (masks after a version 1 header): full red reads as 255.
    auto fields = Bmp(1, 1, 16, 3, {0xF800, 0x07E0}, {0x00, 0xF8, 0, 0});
    fields.insert(fields.begin() + 14 + 40 + 8, {0x1F, 0, 0, 0});
    fields[10] += 4;
    EXPECT_EQ(Decode(fields).pixels, std::vector<uint32_t>{0xFF0000});
}

TEST(DecodeBmp, ExpandsRunLengthEncodedPictures) {
    // RLE8, 4 x 2: a run of three 1s and an absolute pair... end of line, then a run, then the end.
    const auto image = Decode(Bmp(4, 2, 8, 1, {0x000000, 0x0000FF, 0x00FF00},
                                  {3, 1, 0, 0, /* line */ 0, 3, 2, 1, 2, 0, /* abs 3 */ 0, 1}));
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0xFF00, 0xFF, 0xFF00, 0, 0xFF, 0xFF, 0xFF, 0}));
}

TEST(DecodeBmp, RefusesDamagedAndUnknownFiles) {
    const std::vector<uint8_t> good = Bmp(2, 2, 24, 0, {}, std::vector<uint8_t>(16, 7));
    std::vector<std::vector<uint8_t>> bad = {
        {},
        std::vector<uint8_t>(good.begin(), good.end() - 1),       // truncated pixels
        Bmp(2, 2, 24, 4, {}, std::vector<uint8_t>(16, 7)),        // JPEG inside: not ours
        Bmp(2, 2, 7, 0, {}, std::vector<uint8_t>(16, 7)),         // no such depth
        Bmp(100000, 100000, 24, 0, {}, std::vector<uint8_t>(16)), // claims a huge picture
        Bmp(0, 2, 24, 0, {}, std::vector<uint8_t>(16)),
        Bmp(2, -2, 8, 1, {0}, {0, 1}),      // run-length may not be top-down
        Bmp(4, 2, 8, 1, {0}, {3, 1, 0, 0}), // runs end without the end mark
    };
    bad.push_back(good);
    bad.back()[0] = 'X';
    for (std::size_t i = 0; i < bad.size(); ++i) {
        TImage image{1, 1, {1}};
        EXPECT_FALSE(DecodeBmp(bad[i].data(), bad[i].size(), image)) << i;
        EXPECT_TRUE(image.pixels.empty()) << i;
    }
    TImage image;
    EXPECT_TRUE(DecodeBmp(good.data(), good.size(), image));
}

TEST(CopyCentre, TakesTheCentreOfALargerPictureAndASmallerOneWhole) {
    TImage big{4, 4, {}};
    for (uint32_t i = 0; i < 16; ++i)
        big.pixels.push_back(i);
    std::vector<uint32_t> square(3 * 2, 99); // rows 3 apart, 2 rows
    const TCopied c = CopyCentre(big, 2, square.data(), 3);
    EXPECT_EQ(c.width, 2);
    EXPECT_EQ(c.height, 2);
    EXPECT_EQ(square, (std::vector<uint32_t>{5, 6, 99, 9, 10, 99}));
    const TCopied one = CopyCentre(TImage{1, 1, {7}}, 2, square.data(), 3);
    EXPECT_EQ(one.width * one.height, 1);
    EXPECT_EQ(square[0], 7u);
}

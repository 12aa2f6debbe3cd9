#pragma once
// Decoding of face pictures: Windows bitmap files (.bmp) in memory into 32-bit pixels. Our own
// decoder, so a palette of thousands of faces reads each file with one call and decodes it without
// a round trip to the window server, and so that damaged files are refused instead of trusted.
#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded picture, top row first, one 0x00RRGGBB value per pixel.
struct TImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// The largest width or height accepted: a face is drawn in a 32-pixel square, so anything larger
// than this is damaged or not meant as a face, and is refused before memory is allocated for it.
constexpr int MAXPICTURESIDE = 1024;

// Decodes a bitmap file: the core (OS/2 1.x) and info headers up to version 5, 1, 4, 8, 16, 24 and
// 32 bits per pixel, uncompressed, with bit fields, or run-length encoded (4 and 8 bits). Returns
// false, leaving `out` empty, for anything else: not a bitmap, truncated pixel data, a width or
// height of 0 or beyond MAXPICTURESIDE, an unknown compression or colour depth.
bool DecodeBmp(const uint8_t* data, std::size_t size, TImage& out);

struct TCopied {
    int width = 0;
    int height = 0;
};
// Copies the centre of `image`, at most `side` x `side` pixels, to `dst` (rows `stride` pixels
// apart); a smaller picture is copied whole. Returns the size copied.
TCopied CopyCentre(const TImage& image, int side, uint32_t* dst, std::size_t stride);

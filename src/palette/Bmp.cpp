#include "palette/Bmp.h"

#include <algorithm>

namespace {

uint32_t Get16(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}
uint32_t Get32(const uint8_t* p) {
    return Get16(p) | Get16(p + 2) << 16;
}

constexpr uint32_t BI_RGB_ = 0, BI_RLE8_ = 1, BI_RLE4_ = 2, BI_BITFIELDS_ = 3;

// One colour channel described by a bit mask, scaled to 8 bits.
struct TChannel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit TChannel(uint32_t m) : mask(m) {
        if (!m)
            return;
        while (!(m & 1)) {
            m >>= 1;
            ++shift;
        }
        while (m & 1) {
            m >>= 1;
            ++bits;
        }
    }
    uint32_t Get(uint32_t v) const {
        if (!bits)
            return 0;
        const uint32_t x = (v & mask) >> shift;
        if (bits >= 8)
            return x >> (bits - 8);
        // Repeats the bits so that the largest value becomes 255.
        uint32_t r = 0;
        for (int filled = 0; filled < 8; filled += bits)
            r |= filled + bits <= 8 ? x << (8 - filled - bits) : x >> (filled + bits - 8);
        return r & 0xFF;
    }
};

class TDecoder {
  public:
    TDecoder(const uint8_t* d, std::size_t n) : data(d), size(n) {}
    bool Run(TImage& out);

  private:
    bool ReadHeader();
    bool Uncompressed(TImage& out) const;
    bool RunLength(TImage& out) const;
    uint32_t Colour(uint32_t index) const { return index < palette.size() ? palette[index] : 0; }

    const uint8_t* data;
    std::size_t size;
    long long width = 0, height = 0;
    bool topDown = false;
    uint32_t bpp = 0, compression = 0;
    uint32_t masks[3] = {0, 0, 0};
    std::vector<uint32_t> palette;
    std::size_t bitsAt = 0;
};

bool TDecoder::ReadHeader() {
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint32_t headerSize = Get32(data + 14);
    const uint8_t* h = data + 14;
    std::size_t paletteAt = 14 + std::size_t(headerSize);
    std::size_t entrySize = 4;
    uint32_t colours = 0;
    if (headerSize == 12) {
        width = Get16(h + 4);
        height = Get16(h + 6);
        bpp = Get16(h + 10);
        entrySize = 3;
    } else if (headerSize >= 40 && headerSize <= 1024 && size >= 14 + std::size_t(headerSize)) {
        width = static_cast<int32_t>(Get32(h + 4));
        height = static_cast<int32_t>(Get32(h + 8));
        bpp = Get16(h + 14);
        compression = Get32(h + 16);
        colours = Get32(h + 32);
        if (compression == BI_BITFIELDS_) {
            // Version 1 headers keep the three masks after the header, later ones (52 bytes and
            // more) inside it.
            if (headerSize < 52) {
                if (size < paletteAt + 12)
                    return false;
                for (int i = 0; i < 3; ++i)
                    masks[i] = Get32(data + paletteAt + 4 * i);
                paletteAt += 12;
            } else {
                for (int i = 0; i < 3; ++i)
                    masks[i] = Get32(h + 40 + 4 * i);
            }
        }
    } else {
        return false;
    }
    if (height < 0) {
        // Only uncompressed pictures may be stored top row first.
        if (compression != BI_RGB_ && compression != BI_BITFIELDS_)
            return false;
        height = -height;
        topDown = true;
    }
    if (width <= 0 || height <= 0 || width > MAXPICTURESIDE || height > MAXPICTURESIDE)
        return false;
    const bool known =
        (compression == BI_RGB_ &&
         (bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)) ||
        (compression == BI_BITFIELDS_ && (bpp == 16 || bpp == 32)) ||
        (compression == BI_RLE8_ && bpp == 8) || (compression == BI_RLE4_ && bpp == 4);
    if (!known)
        return false;
    if (bpp <= 8) {
        const uint32_t most = 1u << bpp;
        if (colours == 0 || colours > most)
            colours = most;
        // A palette cut short by the end of the file keeps the entries that are there.
        const std::size_t room = size > paletteAt ? (size - paletteAt) / entrySize : 0;
        colours = static_cast<uint32_t>(std::min<std::size_t>(colours, room));
        palette.resize(colours);
        for (uint32_t i = 0; i < colours; ++i) {
            const uint8_t* e = data + paletteAt + i * entrySize;
            palette[i] = uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
        }
        paletteAt += std::size_t(colours) * entrySize;
    }
    if (compression == BI_RGB_ && bpp == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    // The stated offset of the pixels wins when it lies inside the file; a wrong offset of 0 (seen
    // in files from some tools) falls back to the end of the palette.
    const uint32_t offBits = Get32(data + 10);
    bitsAt = offBits >= 14 + 12 && offBits < size ? offBits : paletteAt;
    return bitsAt < size;
}

bool TDecoder::Uncompressed(TImage& out) const {
    const std::size_t stride = (std::size_t(width) * bpp + 31) / 32 * 4;
    if (stride * std::size_t(height) > size - bitsAt)
        return false;
    const TChannel r(masks[0]), g(masks[1]), b(masks[2]);
    for (long long y = 0; y < height; ++y) {
        const uint8_t* row = data + bitsAt + stride * std::size_t(topDown ? y : height - 1 - y);
        uint32_t* dst = out.pixels.data() + std::size_t(y * width);
        for (long long x = 0; x < width; ++x) {
            uint32_t c = 0;
            switch (bpp) {
            case 1:
                c = Colour((row[x / 8] >> (7 - x % 8)) & 1);
                break;
            case 4:
                c = Colour((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
                break;
            case 8:
                c = Colour(row[x]);
                break;
            case 16: {
                const uint32_t v = Get16(row + 2 * x);
                c = r.Get(v) << 16 | g.Get(v) << 8 | b.Get(v);
                break;
            }
            case 24:
                c = uint32_t(row[3 * x + 2]) << 16 | uint32_t(row[3 * x + 1]) << 8 | row[3 * x];
                break;
            case 32: {
                const uint32_t v = Get32(row + 4 * x);
                c = compression == BI_BITFIELDS_ ? r.Get(v) << 16 | g.Get(v) << 8 | b.Get(v)
                                                 : v & 0xFFFFFF;
                break;
            }
            }
            dst[x] = c;
        }
    }
    return true;
}

bool TDecoder::RunLength(TImage& out) const {
    const bool four = compression == BI_RLE4_;
    std::fill(out.pixels.begin(), out.pixels.end(), Colour(0));
    long long x = 0, y = 0; // y counts from the bottom row
    const auto put = [&](uint32_t index) {
        if (x < width && y < height)
            out.pixels[std::size_t((height - 1 - y) * width + x)] = Colour(index);
        ++x;
    };
    std::size_t p = bitsAt;
    while (p + 1 < size) {
        const uint8_t count = data[p], value = data[p + 1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? (i % 2 ? value & 0xF : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of picture
            return true;
        } else if (value == 2) { // move right and up
            if (p + 1 >= size)
                return false;
            x += data[p];
            y += data[p + 1];
            p += 2;
        } else { // `value` pixels stored as they are, padded to a whole word
            const std::size_t bytes = four ? (value + 1u) / 2 : value;
            if (bytes > size - p)
                return false;
            for (int i = 0; i < value; ++i)
                put(four ? (i % 2 ? data[p + i / 2] & 0xF : data[p + i / 2] >> 4) : data[p + i]);
            p += (bytes + 1) & ~std::size_t(1);
        }
        if (y >= height)
            return true;
    }
    // Ran out of data before the end mark: a truncated file.
    return false;
}

bool TDecoder::Run(TImage& out) {
    if (!ReadHeader())
        return false;
    out.width = int(width);
    out.height = int(height);
    out.pixels.assign(std::size_t(width * height), 0);
    const bool ok =
        compression == BI_RLE8_ || compression == BI_RLE4_ ? RunLength(out) : Uncompressed(out);
    if (!ok)
        out = TImage{};
    return ok;
}

} // namespace

bool DecodeBmp(const uint8_t* data, std::size_t size, TImage& out) {
    out = TImage{};
    if (!data)
        return false;
    return TDecoder(data, size).Run(out);
}

TCopied CopyCentre(const TImage& image, int side, uint32_t* dst, std::size_t stride) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != std::size_t(image.width) * std::size_t(image.height))
        return {};
    const TCopied c{std::min(image.width, side), std::min(image.height, side)};
    const int fromX = (image.width - c.width) / 2, fromY = (image.height - c.height) / 2;
    for (int y = 0; y < c.height; ++y)
        std::copy_n(image.pixels.data() + std::size_t(fromY + y) * image.width + fromX, c.width,
                    dst + std::size_t(y) * stride);
    return c;
}

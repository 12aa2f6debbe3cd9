#pragma once
// Whole files as bytes, for the tests of every layer (the native ones included).
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace support {

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

inline bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    return static_cast<bool>(std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes);
}

// A bitmap file: file header, 40-byte info header, palette, then the pixel bytes as given.
inline std::string Bitmap(int width, int height, int bpp, uint32_t compression,
                          const std::string& bits, const std::vector<uint32_t>& palette = {}) {
    const uint32_t colours = uint32_t(palette.size()), off = 54 + 4 * colours,
                   size = uint32_t(bits.size());
    // The file header after "BM", then the 40-byte info header, where the planes and the depth
    // share one field; every field 4 bytes long, little-endian.
    std::vector<uint32_t> fields = {off + size, 0, off, 40, uint32_t(width), uint32_t(height)};
    fields.insert(fields.end(), {1u | bpp << 16, compression, size, 0, 0, colours, 0});
    fields.insert(fields.end(), palette.begin(), palette.end());
    std::string b = "BM";
    for (uint32_t v : fields)
        for (int i = 0; i < 4; ++i)
            b += char(v >> 8 * i);
    return b + bits;
}

// The button lines of a damaged settings file, with LF line ends: lines of 100,000 characters,
// NUL bytes, 20,000 buttons and garbage last (a line of it may open a section). At least 20,005
// buttons can be read from them.
inline std::string DamagedButtons() {
    const std::string longLine(100000, 'x');
    std::string b = "k";
    b += longLine + "=:-) " + longLine + "\nlong=" + longLine + "\n" +
         std::string("n\0l=:-o a\0b\nnext=;-) after\n", 27);
    for (int i = 0; i < 20000; ++i)
        b.append("b").append(std::to_string(i)).append("=s").append(std::to_string(i)) += " Hint\n";
    b += "first=:-) x\n";
    for (int i = 0; i < 4096; ++i)
        b += static_cast<char>((i * 7919 + 13) % 256);
    return b + "\n";
}

} // namespace support

// The shipped pictures and the sample settings file: every bitmap is a plain Windows BMP of the
// size and colour depth the windows expect, the icons hold the sizes Explorer and the about box
// use, and the sample settings file reads back as the listed faces with the default options.
#include "settings/Ini.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kAssets = fs::path(MOODPAD_SOURCE_DIR) / "assets";

std::string ReadAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

uint32_t U32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t U16(const std::string& b, size_t at) {
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

// A BITMAPINFOHEADER-based picture, checked for everything LoadImage and the 16-colour
// displays rely on; failures are reported through gtest and leave ok false.
struct Dib {
    int width = 0, height = 0, bpp = 0;
    std::vector<Rgb> palette;
    std::string bits; // bottom-up rows, each padded to 4 bytes
    bool ok = false;

    // Parses a DIB header at offset `at`; heightFactor 2 for icon images (colour + mask).
    void Parse(const std::string& b, size_t at, int heightFactor, size_t end) {
        ASSERT_GE(end, at + 40);
        ASSERT_EQ(U32(b, at), 40u) << "BITMAPINFOHEADER expected";
        width = int(U32(b, at + 4));
        int h = int(U32(b, at + 8));
        ASSERT_GT(h, 0) << "bottom-up rows expected";
        ASSERT_EQ(h % heightFactor, 0);
        height = h / heightFactor;
        ASSERT_EQ(U16(b, at + 12), 1) << "planes";
        bpp = U16(b, at + 14);
        ASSERT_EQ(U32(b, at + 16), 0u) << "uncompressed (BI_RGB) expected";
        ASSERT_TRUE(bpp == 4 || bpp == 8) << bpp;
        size_t colours = U32(b, at + 32) ? U32(b, at + 32) : (size_t(1) << bpp);
        ASSERT_LE(colours, size_t(1) << bpp);
        size_t pal = at + 40;
        ASSERT_LE(pal + 4 * colours, end);
        for (size_t i = 0; i < colours; ++i)
            palette.push_back({uint8_t(b[pal + 4 * i + 2]), uint8_t(b[pal + 4 * i + 1]),
                               uint8_t(b[pal + 4 * i])});
        size_t stride = ((size_t(width) * bpp + 31) / 32) * 4;
        size_t start = pal + 4 * colours;
        ASSERT_LE(start + stride * height, end) << "pixel rows cut short";
        bits = b.substr(start, stride * height);
        ok = true;
    }

    int Index(int x, int y) const { // y from the top
        size_t stride = ((size_t(width) * bpp + 31) / 32) * 4;
        uint8_t byte = uint8_t(bits[(height - 1 - y) * stride + x * bpp / 8]);
        return bpp == 8 ? byte : (x % 2 ? byte & 15 : byte >> 4);
    }
    Rgb At(int x, int y) const { return palette.at(Index(x, y)); }
    bool IndicesInPalette() const {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (Index(x, y) >= int(palette.size()))
                    return false;
        return true;
    }
};

Dib LoadBmp(const fs::path& p) {
    Dib d;
    std::string b = ReadAll(p);
    EXPECT_GE(b.size(), 54u) << p;
    if (b.size() < 54)
        return d;
    EXPECT_EQ(b.substr(0, 2), "BM") << p;
    EXPECT_EQ(U32(b, 2), b.size()) << "file size field " << p;
    d.Parse(b, 14, 1, b.size());
    if (d.ok) {
        size_t pixelsAt = U32(b, 10);
        EXPECT_EQ(pixelsAt, 54 + 4 * d.palette.size()) << "pixel offset " << p;
    }
    return d;
}

const std::vector<Rgb> kVga16 = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                 {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                 {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                 {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
const Rgb kButtonFace = {192, 192, 192};

struct FaceRow {
    std::string picture, sequence, hint;
};

std::vector<FaceRow> ReadFaceList() {
    std::vector<FaceRow> rows;
    std::istringstream in(ReadAll(kAssets / "faces.tsv"));
    std::string line;
    while (std::getline(in, line)) {
        size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1);
        EXPECT_NE(t2, std::string::npos) << line;
        if (t2 == std::string::npos)
            continue;
        rows.push_back({line.substr(0, t1), line.substr(t1 + 1, t2 - t1 - 1), line.substr(t2 + 1)});
    }
    return rows;
}

} // namespace

TEST(Assets, WindowPicturesHaveTheirSizeAndColourDepth) {
    struct Want {
        const char* file;
        int w, h, bpp;
        bool buttonFaceCorners;
    };
    const Want wants[] = {
        {"splash.bmp", 400, 150, 4, false},         {"toolbar/minimize.bmp", 85, 24, 4, true},
        {"toolbar/customize.bmp", 85, 24, 4, true}, {"toolbar/order.bmp", 85, 24, 4, true},
        {"toolbar/about.bmp", 85, 24, 4, true},     {"toolbar/help.bmp", 85, 24, 4, true},
        {"aboutlogo.bmp", 100, 200, 8, false},
    };
    for (const Want& w : wants) {
        SCOPED_TRACE(w.file);
        Dib d = LoadBmp(kAssets / w.file);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.width, w.w);
        EXPECT_EQ(d.height, w.h);
        EXPECT_EQ(d.bpp, w.bpp);
        EXPECT_TRUE(d.IndicesInPalette());
        // 16-colour pictures must not depend on a palette the display cannot show undithered.
        if (w.bpp == 4) {
            EXPECT_EQ(d.palette, kVga16);
        }
        // Toolbar pictures sit on the button: their background is the button face grey.
        if (w.buttonFaceCorners) {
            EXPECT_EQ(d.At(0, 0), kButtonFace);
            EXPECT_EQ(d.At(w.w - 1, 0), kButtonFace);
            EXPECT_EQ(d.At(0, w.h - 1), kButtonFace);
            EXPECT_EQ(d.At(w.w - 1, w.h - 1), kButtonFace);
        }
    }
}

TEST(Assets, IconsHoldSixteenColourImagesOfTheUsedSizes) {
    struct Want {
        const char* file;
        std::vector<int> sizes;
    };
    const Want wants[] = {{"icons/moodpad.ico", {32, 16}}, {"icons/credits.ico", {32}}};
    for (const Want& w : wants) {
        SCOPED_TRACE(w.file);
        std::string b = ReadAll(kAssets / w.file);
        ASSERT_GE(b.size(), 6u);
        ASSERT_EQ(U16(b, 0), 0);
        ASSERT_EQ(U16(b, 2), 1) << "icon, not cursor";
        size_t count = U16(b, 4);
        ASSERT_EQ(count, w.sizes.size());
        ASSERT_GE(b.size(), 6 + 16 * count);
        for (size_t i = 0; i < count; ++i) {
            size_t e = 6 + 16 * i;
            int size = w.sizes[i];
            EXPECT_EQ(uint8_t(b[e]), size);
            EXPECT_EQ(uint8_t(b[e + 1]), size);
            EXPECT_EQ(uint8_t(b[e + 2]), 16) << "colour count";
            EXPECT_EQ(U16(b, e + 6), 4) << "bits per pixel";
            size_t len = U32(b, e + 8), at = U32(b, e + 12);
            ASSERT_LE(at + len, b.size());
            Dib d;
            d.Parse(b, at, 2, at + len);
            ASSERT_TRUE(d.ok);
            EXPECT_EQ(d.width, size);
            EXPECT_EQ(d.height, size);
            EXPECT_EQ(d.bpp, 4);
            EXPECT_EQ(d.palette, kVga16);
            // colour rows, then the 1-bit mask rows, each padded to 4 bytes
            size_t maskStride = ((size_t(size) + 31) / 32) * 4;
            EXPECT_EQ(len, 40 + 64 + d.bits.size() + maskStride * size);
        }
    }
}

TEST(Assets, FaceListMatchesTheFaceFolder) {
    std::vector<FaceRow> rows = ReadFaceList();
    EXPECT_GE(rows.size(), 48u);
    std::set<std::string> listed, sequences;
    for (const FaceRow& r : rows) {
        SCOPED_TRACE(r.picture);
        EXPECT_TRUE(listed.insert(r.picture).second) << "listed twice";
        EXPECT_TRUE(sequences.insert(r.sequence).second) << "sequence used twice";
        EXPECT_FALSE(r.sequence.empty());
        EXPECT_LE(r.sequence.size(), size_t(MAXSMILELENGTH));
        EXPECT_EQ(r.sequence.find_first_of(" \t"), std::string::npos);
        EXPECT_EQ(r.picture.find_first_of(" \t"), std::string::npos);
        EXPECT_FALSE(r.hint.empty());
        EXPECT_LE(r.hint.size(), size_t(MAXHINTLENGTH));

        Dib d = LoadBmp(kAssets / "dist" / "Faces" / (r.picture + ".bmp"));
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.bpp, 8);
        EXPECT_TRUE(d.IndicesInPalette());
        // Inside a 36 x 36 push button about 3 pixels of each side are border and focus frame.
        EXPECT_LE(d.width, 30);
        EXPECT_LE(d.height, 30);
        EXPECT_EQ(d.At(0, d.height - 1), kButtonFace) << "background blends with the button";
        EXPECT_EQ(d.At(d.width - 1, d.height - 1), kButtonFace);
    }
    for (const auto& f : fs::directory_iterator(kAssets / "dist" / "Faces"))
        EXPECT_TRUE(listed.count(f.path().stem().string())) << "unlisted " << f.path();
}

class SampleSettings : public ::testing::Test {
  protected:
    // The settings file name is the upper-cased program path. A relative path from the temporary
    // folder keeps the whole name in upper case, whatever the temporary folder is called.
    void SetUp() override {
        oldCwd = fs::current_path();
        fs::current_path(fs::temp_directory_path());
        dir = "MOODPADTEST" + std::to_string(getpid());
        fs::remove_all(dir);
        fs::create_directories(dir / "A");
        fs::create_directories(dir / "B");
        fs::copy_file(kAssets / "dist" / "MOODPAD.INI", dir / "A" / "MOODPAD.INI");
    }
    void TearDown() override {
        fs::remove_all(dir);
        fs::current_path(oldCwd);
    }
    fs::path oldCwd, dir;
};

TEST_F(SampleSettings, ReadsAsDefaultOptionsAndTheListedFaces) {
    TEmoticonsIniFile ini((dir / "A" / "Moodpad.exe").string());
    ASSERT_EQ(ini.FileName(), (dir / "A" / "MOODPAD.INI").string());

    TEmoticonsOptions got;
    got.Insert = {false, false, false};
    got.Style = 0;
    got.sExePath = "x";
    got.blExeStart = true;
    got.HotKey.iVirtCode = 0;
    got.blDragDrop = false;
    got.Spacing = {false, true};
    got.Rect = {1, 2, 3, 4};
    ini.GetOptions(got);
    TEmoticonsOptions want; // the record's defaults are the program's defaults
    want.sPicturePath = "Faces";
    EXPECT_EQ(got.Insert.blEnabled, want.Insert.blEnabled);
    EXPECT_EQ(got.Insert.blTrackWindows, want.Insert.blTrackWindows);
    EXPECT_EQ(got.Insert.blUseClipboard, want.Insert.blUseClipboard);
    EXPECT_EQ(got.Style, want.Style);
    EXPECT_EQ(got.sPicturePath, want.sPicturePath);
    EXPECT_EQ(got.sExePath, "");
    EXPECT_EQ(got.blExeStart, false);
    EXPECT_EQ(got.HotKey.blAlt, true);
    EXPECT_EQ(got.HotKey.blCtrl, false);
    EXPECT_EQ(got.HotKey.blShift, false);
    EXPECT_EQ(got.HotKey.iVirtCode, 69);
    EXPECT_EQ(got.blDragDrop, true);
    EXPECT_EQ(got.Spacing.blBefore, true);
    EXPECT_EQ(got.Spacing.blAfter, false);
    EXPECT_EQ(got.Rect.Left, 0);
    EXPECT_EQ(got.Rect.Top, 0);
    EXPECT_EQ(got.Rect.Right, 0);
    EXPECT_EQ(got.Rect.Bottom, 0);

    TButtonList list;
    ini.GetButtons(list);
    std::vector<FaceRow> rows = ReadFaceList();
    ASSERT_EQ(list.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].picture);
        EXPECT_EQ(EntryPicture(list[i]), rows[i].picture);
        EXPECT_EQ(EntrySequence(list[i]), rows[i].sequence);
        EXPECT_EQ(EntryHint(list[i]), rows[i].hint);
    }
}

// The sample holds what the program itself writes for those options and buttons: the same
// sections, order, values and CRLF line ends. The one difference allowed is the padding of the
// button names, which the sample keeps for readability and the profile writer trims.
TEST_F(SampleSettings, IsInTheProgramsOwnWriteFormat) {
    TEmoticonsOptions options;
    options.sPicturePath = "Faces";
    TButtonList list;
    for (const FaceRow& r : ReadFaceList())
        list.push_back(MakeEntry(r.sequence, r.hint, r.picture));

    TEmoticonsIniFile ini((dir / "B" / "Moodpad.exe").string());
    ini.SetOptions(options);
    ini.SetButtons(list);
    ini.Save();

    std::string written = ReadAll(dir / "B" / "MOODPAD.INI");
    std::string sample = ReadAll(kAssets / "dist" / "MOODPAD.INI");
    for (size_t i = sample.find('\n'); i != std::string::npos; i = sample.find('\n', i + 1))
        ASSERT_TRUE(i > 0 && sample[i - 1] == '\r') << "CRLF line ends, at byte " << i;

    std::string unpadded;
    std::istringstream lines(sample);
    for (std::string line; std::getline(lines, line, '\n');) {
        size_t eq = line.find('=');
        if (eq != std::string::npos) {
            size_t keyEnd = line.find_last_not_of(' ', eq - 1) + 1;
            EXPECT_TRUE(eq == keyEnd || eq == MAXSMILELENGTH) << "name padded to 19: " << line;
            line.erase(keyEnd, eq - keyEnd);
        }
        unpadded += line + '\n';
    }
    EXPECT_EQ(written, unpadded);
}

// The shipped pictures and the sample settings file: every picture is an uncompressed Windows
// bitmap (the about logo, built into the program, run-length encoded) of the size and colour
// depth its window expects, the icons hold the sizes Explorer and the
// about box use, and the face list, the face folder and the sample settings file agree.
#include "settings/Ini.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const fs::path kAssets = fs::path(MOODPAD_SOURCE_DIR) / "assets";
using Shape = std::tuple<unsigned, unsigned, unsigned>; // width, height, bits per pixel

unsigned Le(const std::string& b, size_t at, int bytes) {
    unsigned v = 0;
    for (int i = bytes; i-- > 0;)
        v = v << 8 | uint8_t(at + i < b.size() ? b[at + i] : 0);
    return v;
}

// The shape of a picture with bottom-up rows, uncompressed (or with the given compression),
// whose header is at `at`, else zeros. Icon images count their mask in the height: heightFactor 2.
Shape Dib(const std::string& b, size_t at, unsigned heightFactor = 1, unsigned compression = 0) {
    if (Le(b, at, 4) != 40 || Le(b, at + 12, 2) != 1 || Le(b, at + 16, 4) != compression ||
        Le(b, at + 8, 4) > 0x7FFFFFFF)
        return {};
    return {Le(b, at + 4, 4), Le(b, at + 8, 4) / heightFactor, Le(b, at + 14, 2)};
}

Shape Bmp(const fs::path& p, unsigned compression = 0) {
    const std::string b = support::ReadFile(p);
    return b.substr(0, 2) == "BM" && Le(b, 2, 4) == b.size() ? Dib(b, 14, 1, compression) : Shape{};
}

struct FaceRow {
    std::string picture, sequence, hint;
};

std::vector<FaceRow> FaceList() {
    std::vector<FaceRow> rows;
    std::istringstream in(support::ReadFile(kAssets / "faces.tsv"));
    for (FaceRow r; std::getline(in, r.picture, '\t') && std::getline(in, r.sequence, '\t') &&
                    std::getline(in, r.hint);)
        rows.push_back(r);
    return rows;
}

} // namespace

TEST(Assets, PicturesHaveTheSizeAndColourDepthTheirWindowsExpect) {
    for (const char* button : {"minimize", "customize", "order", "about", "help"})
        EXPECT_EQ(Bmp(kAssets / "toolbar" / (button + std::string(".bmp"))), Shape(85, 24, 4))
            << button;
    const unsigned rle8 = 1;
    EXPECT_EQ(Bmp(kAssets / "aboutlogo.bmp", rle8), Shape(100, 200, 8));
    EXPECT_EQ(Bmp(kAssets / "splash.bmp", rle8), Shape(400, 150, 8));
    const std::pair<const char*, std::vector<unsigned>> icons[] = {{"icons/moodpad.ico", {32, 16}},
                                                                   {"icons/credits.ico", {32}}};
    for (const auto& [file, sizes] : icons) {
        const std::string b = support::ReadFile(kAssets / file);
        ASSERT_EQ(Le(b, 2, 2), 1u) << file << " is no icon";
        ASSERT_EQ(Le(b, 4, 2), sizes.size()) << file;
        for (size_t i = 0; i < sizes.size(); ++i)
            EXPECT_EQ(Dib(b, Le(b, 18 + 16 * i, 4), 2), Shape(sizes[i], sizes[i], 4)) << file;
    }
}

TEST(Assets, TheFaceListMatchesTheFaceFolder) {
    std::set<std::string> pictures, sequences;
    for (const FaceRow& r : FaceList()) {
        EXPECT_TRUE(pictures.insert(r.picture).second && sequences.insert(r.sequence).second)
            << r.picture << " listed twice";
        EXPECT_TRUE(!r.sequence.empty() && r.sequence.size() <= MAXSMILELENGTH &&
                    r.sequence.find_first_of(" \t") == std::string::npos)
            << r.picture;
        EXPECT_TRUE(!r.hint.empty() && r.hint.size() <= MAXHINTLENGTH) << r.picture;
        // Inside a 36 x 36 push button about 3 pixels of each side are border and focus frame.
        const auto [w, h, bpp] = Bmp(kAssets / "dist" / "Faces" / (r.picture + ".bmp"));
        EXPECT_TRUE(w > 0 && w <= 30 && h > 0 && h <= 30 && bpp == 8) << r.picture;
    }
    EXPECT_GE(pictures.size(), 48u);
    for (const auto& f : fs::directory_iterator(kAssets / "dist" / "Faces"))
        EXPECT_TRUE(pictures.count(f.path().stem().string())) << "unlisted " << f.path();
}

TEST(Assets, TheSampleSettingsFileListsTheFaces) {
    TButtonList list;
    TEmoticonsIniFile::FromIniPath((kAssets / "dist" / "MOODPAD.INI").string()).GetButtons(list);
    const std::vector<FaceRow> rows = FaceList();
    ASSERT_EQ(list.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(list[i], MakeEntry(rows[i].sequence, rows[i].hint, rows[i].picture));
}

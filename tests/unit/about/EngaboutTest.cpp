// The about data read from the "ProductInfo" section and the caption and product line made from it.
#include "about/Engabout.h"
#include "settings/IniEngine.h"

#include <gtest/gtest.h>

namespace {

const std::string kPath = "C:\\MOODPAD\\";

TAboutData Load(const std::string& file) {
    TAboutData d;
    d.Load(IniDocument::Parse(file), kPath);
    return d;
}

std::vector<std::string> Fields(const TAboutData& d) {
    return {d.ProductName,  d.Copyright1,     d.Copyright2, d.Copyright3,
            d.PictureAbout, d.ProductVersion, d.Phone,      d.Internet,
            d.AOL,          d.Techphone,      d.TechOnline};
}

TEST(AboutData, EachKeyFillsItsOwnFieldAndOnlyAMissingKeyGivesTheDefault) {
    using V = std::vector<std::string>;
    const struct {
        std::string file;
        V fields;
    } cases[] = {
        // No section, and a section of another name: the defaults.
        {"", V{"", "", "", "", "", "1.32", "", "", "", "", ""}},
        {"[Other]\nProductVersion=9\n", V{"", "", "", "", "", "1.32", "", "", "", "", ""}},
        {"[ProductInfo]\nproductname=N\nCopyright1=C1\nCopyright2=C2\nCopyright3=C3\n"
         "PictureAbout=logo.bmp\nProductVersion=2.0\nPhone=P\nInternet=I\nAOL=A\nTechphone=T\n"
         "TechOnline=O\n",
         V{"N", "C1", "C2", "C3", kPath + "logo.bmp", "2.0", "P", "I", "A", "T", "O"}},
        // Present but empty: an empty field, the version too. An empty picture is no picture
        // rather than the program's directory; a drive letter is still taken as relative.
        {"[ProductInfo]\nProductVersion=\nPictureAbout=\n",
         V{"", "", "", "", "", "", "", "", "", "", ""}},
        {"[ProductInfo]\nPictureAbout=C:\\LOGO.BMP\nProductVersion=  \n",
         V{"", "", "", "", kPath + "C:\\LOGO.BMP", "", "", "", "", "", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fields(Load(c.file)), c.fields) << c.file;
}

TEST(AboutData, TheCaptionDropsOneTrademarkFromTheName) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"Moodpad(tm)", L"About Moodpad"},
        {L"Smile(TM)", L"About Smile"},
        {L"x(Tm)", L"About x"},
        {L"(TM)", L"About (TM)"}, // not longer than the four characters: kept
        {L"Smile\u2122", L"About Smile"},
        {L"Smile\u2122\u2122", L"About Smile\u2122"},
        {L"Smile\u2122(TM)", L"About Smile\u2122"},
        {L"Smile(TM)\u2122", L"About Smile(TM)"},
        {L"Smile TM", L"About Smile TM"},
        {L"", L"About "},
    };
    for (const auto& [name, caption] : cases)
        EXPECT_EQ(AboutCaption(name), caption);
}

} // namespace

#pragma once
// The about window's data and text rules, free of any window: the "ProductInfo" section of an
// about-data file (the program's settings file unless told otherwise), the caption made from the
// product name and the product line with its version.
#include <string>
#include <string_view>

class IniDocument;

// The fields of the about-data section. Every field starts at its default; Load puts over it
// what the file holds.
struct TAboutData {
    std::string ProductName;
    std::string Copyright1;
    std::string Copyright2;
    std::string Copyright3;
    std::string PictureAbout;
    std::string ProductVersion = "1.32";
    std::string Phone;
    std::string Internet;
    std::string AOL;
    std::string Techphone;
    std::string TechOnline;

    // Reads the keys of the "ProductInfo" section, in the order of the fields above. A missing
    // key leaves its field as it is; a key with nothing after its '=' empties it, so an empty
    // "ProductVersion" shows no version. PictureAbout names a file relative to `path` (the
    // program's directory, ending in '\'): path followed by the value, even when the value has a
    // drive letter. An empty value stays empty, so that it names no picture at all rather than
    // the program's directory.
    void Load(const IniDocument& file, const std::string& path);
};

// The about window's caption for the product name as its label shows it: "About " and the name
// without a last trademark sign (U+2122), or else without a last "(TM)" in any case when the name
// is longer than those four characters. Only one of the two goes.
std::wstring AboutCaption(std::wstring_view name);

// The product line: the name, then a blank and the version unless the version is empty.
std::wstring ProductLine(std::wstring_view name, std::wstring_view version);

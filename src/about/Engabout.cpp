#include "about/Engabout.h"

#include "settings/IniEngine.h"

#include <utility>

void TAboutData::Load(const IniDocument& file, const std::string& path) {
    static constexpr std::pair<const char*, std::string TAboutData::*> keys[] = {
        {"ProductName", &TAboutData::ProductName},
        {"Copyright1", &TAboutData::Copyright1},
        {"Copyright2", &TAboutData::Copyright2},
        {"Copyright3", &TAboutData::Copyright3},
        {"PictureAbout", &TAboutData::PictureAbout},
        {"ProductVersion", &TAboutData::ProductVersion},
        {"Phone", &TAboutData::Phone},
        {"Internet", &TAboutData::Internet},
        {"AOL", &TAboutData::AOL},
        {"Techphone", &TAboutData::Techphone},
        {"TechOnline", &TAboutData::TechOnline},
    };
    for (const auto& [key, field] : keys)
        this->*field = file.GetString("ProductInfo", key, this->*field);
    if (!PictureAbout.empty())
        PictureAbout = path + PictureAbout;
}

std::wstring AboutCaption(std::wstring_view name) {
    const auto upper = [](wchar_t c) {
        return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c;
    };
    if (!name.empty() && name.back() == L'\u2122') {
        name.remove_suffix(1);
    } else if (name.size() > 4) {
        const std::wstring_view tail = name.substr(name.size() - 4);
        if (tail[0] == L'(' && upper(tail[1]) == L'T' && upper(tail[2]) == L'M' && tail[3] == L')')
            name.remove_suffix(4);
    }
    return L"About " + std::wstring(name);
}

std::wstring ProductLine(std::wstring_view name, std::wstring_view version) {
    std::wstring line(name);
    if (!version.empty())
        line.append(L" ").append(version);
    return line;
}

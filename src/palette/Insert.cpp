#include "palette/Insert.h"

std::string AddSpaces(const std::string& s, const TExtraSpacing& spacing) {
    std::string result;
    result.reserve(s.size() + 2);
    if (spacing.blBefore)
        result += ' ';
    result += s;
    if (spacing.blAfter)
        result += ' ';
    return result;
}

std::vector<unsigned> CharCodes(const std::string& text) {
    std::vector<unsigned> codes;
    codes.reserve(text.size());
    for (char c : text)
        codes.push_back(static_cast<unsigned char>(c));
    return codes;
}

bool ClassListed(std::string_view list, std::string_view className) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const char* p = list.data();
    const char* const end = p + list.size();
    while (p < end) {
        const char* first = p;
        while (p < end && *p != ',')
            ++p;
        const char* last = p++;
        while (first < last && blank(*first))
            ++first;
        while (first < last && blank(last[-1]))
            --last;
        const bool prefix = first < last && last[-1] == '*';
        const std::size_t n = std::size_t(last - first) - prefix;
        if (first == last || (prefix ? className.size() < n : className.size() != n))
            continue;
        std::size_t i = 0;
        while (i < n && lower(first[i]) == lower(className[i]))
            ++i;
        if (i == n)
            return true;
    }
    return false;
}

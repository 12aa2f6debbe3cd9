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

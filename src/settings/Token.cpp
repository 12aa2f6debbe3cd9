#include "settings/Token.h"

#include <algorithm>

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

std::string GetToken(const std::string& sString, uint16_t Index, uint16_t& TokBegin) {
    // Positions are 1-based as in the stored format's description; pos - 1 indexes the string.
    const size_t len = sString.size();
    size_t start = 1;
    size_t finish = 1;
    for (uint32_t wToken = 1; wToken <= Index; ++wToken) {
        start = finish;
        while (start <= len && IsBlank(sString[start - 1]))
            ++start;
        if (start > len)
            break; // no such token: the remaining passes would change nothing
        finish = start;
        while (finish <= len && !IsBlank(sString[finish - 1]))
            ++finish;
    }
    if (start > len)
        finish = start;
    TokBegin = static_cast<uint16_t>(std::min<size_t>(start, 0xFFFF));
    if (Index == 0 || start > len)
        return {};
    return sString.substr(start - 1, finish - start);
}

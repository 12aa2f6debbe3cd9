#include "settings/TextLength.h"

std::size_t TextPrefix(std::string_view s, std::size_t units, bool utf8, std::size_t* length) {
    std::size_t at = 0, used = 0;
    if (!utf8) {
        at = used = s.size() < units ? s.size() : units;
    } else {
        while (at < s.size()) {
            // A byte that does not begin a well-formed character is one unit of its own, as the
            // replacement character it becomes on the screen.
            const auto b = static_cast<unsigned char>(s[at]);
            std::size_t n = b < 0xC2 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 1;
            for (std::size_t i = 1; i < n; ++i)
                if (at + i >= s.size() || (static_cast<unsigned char>(s[at + i]) & 0xC0) != 0x80)
                    n = 1;
            const std::size_t width = n == 4 ? 2 : 1;
            if (used + width > units)
                break;
            at += n;
            used += width;
        }
    }
    if (length)
        *length = used;
    return at;
}

std::size_t TextLength(std::string_view s, bool utf8) {
    std::size_t length = 0;
    TextPrefix(s, std::string_view::npos, utf8, &length);
    return length;
}

std::string FitText(std::string s, std::size_t units, bool utf8) {
    std::size_t length = 0;
    s.resize(TextPrefix(s, units, utf8, &length));
    s.append(units - length, ' ');
    return s;
}

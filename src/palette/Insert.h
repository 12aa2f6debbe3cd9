#pragma once
// The text that choosing a button delivers: the sequence with the configured blanks, and the
// character codes posted to the target one WM_CHAR each.
#include "settings/Ini.h"

#include <string>
#include <string_view>
#include <vector>

// `s` with one blank in front when spacing.blBefore and one blank behind when spacing.blAfter.
std::string AddSpaces(const std::string& s, const TExtraSpacing& spacing);

// The WM_CHAR codes for `text`, one per 8-bit character, zero-extended: a character above 127
// gives 128..255, never a sign-extended value.
std::vector<unsigned> CharCodes(const std::string& text);

// Whether `className` is named by `list`, a comma list of window class names (the settings'
// PostClasses): blanks around a name are ignored, case does not matter, and a name ending in '*'
// names every class that begins with the rest of it.
bool ClassListed(std::string_view list, std::string_view className);

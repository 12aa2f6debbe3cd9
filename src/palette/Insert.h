#pragma once
// The text that choosing a button delivers: the sequence with the configured blanks, and the
// character codes posted to the target one WM_CHAR each.
#include "settings/Ini.h"

#include <string>
#include <vector>

// `s` with one blank in front when spacing.blBefore and one blank behind when spacing.blAfter.
std::string AddSpaces(const std::string& s, const TExtraSpacing& spacing);

// The WM_CHAR codes for `text`, one per 8-bit character, zero-extended: a character above 127
// gives 128..255, never a sign-extended value.
std::vector<unsigned> CharCodes(const std::string& text);

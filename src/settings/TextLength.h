#pragma once
// Lengths of the settings' texts. In a settings file with the UTF-8 mark they count UTF-16 units,
// as the Win32 controls and the target's WM_CHAR messages do: a character outside the basic plane
// takes two. In an 8-bit file they count bytes.
#include <cstddef>
#include <string>
#include <string_view>

// The length of s.
std::size_t TextLength(std::string_view s, bool utf8);
// The byte length of the longest start of s that is at most `units` long, and that start's length
// in *length. It never ends inside a well-formed UTF-8 character, so neither a character nor a
// surrogate pair is ever split.
std::size_t TextPrefix(std::string_view s, std::size_t units, bool utf8,
                       std::size_t* length = nullptr);
// s cut to at most `units` and filled with blanks to exactly `units`.
std::string FitText(std::string s, std::size_t units, bool utf8);

#pragma once
// Splitting a line of the button section into blank- or tab-separated words.
#include <cstdint>
#include <string>

// Returns the Index-th token of sString (counted from 1): a maximal run of characters other than
// blank and tab. TokBegin receives the 1-based position of its first character; when the line has
// fewer tokens the result is empty and TokBegin is the length of the line plus 1. Positions are
// 16-bit; on a line longer than 65535 characters TokBegin saturates at 65535 (the text returned
// is still the right one).
std::string GetToken(const std::string& sString, uint16_t Index, uint16_t& TokBegin);

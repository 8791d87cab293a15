#pragma once

#include <string_view>

// A skin's pair value, "x,y" as "%d,%d" writes it: split at commas, runs of commas counting as
// one, each piece read as a decimal number with leading blanks and one sign (no digits: 0;
// saturated to the 32-bit range). Only the first two pieces count; a number without its piece
// keeps the value it had.
void ReadSkinPair(std::string_view text, int& first, int& second);

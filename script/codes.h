// Character codes of the script language.
//
// Every character of a script becomes the integer code = code point - 48, so
// "0" is 0, "A" is 17, "a" is 49, "|" is 76, "Ä" is 148. Registers are addressed
// by these codes everywhere in the program, also outside scripts (the mouse
// point lives in point register code(U'K') = 27).
#pragma once

namespace pm {

constexpr int code(char32_t c) { return static_cast<int>(c) - 48; }

// The character whose code is k (the inverse of code()).
constexpr char32_t charOfCode(int k) { return static_cast<char32_t>(k + 48); }

}  // namespace pm

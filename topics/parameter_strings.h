// Parameter strings: every mechanism type carries its dimensions as a length
// string and its placement as a number string, fields "<letter><number>"
// separated by ":", loaded by position into len/val a … z. The synthesis
// records its four-bar in the same format (gg, hg), which types 9 and 10 load.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "script/registers.h"
#include "shell/state_record.h"

namespace pm {

using RegisterBank = std::array<double, Registers::kVectorCount>;

// The strings of slot `type` of the two preset tables (21 slots, 0 … 20):
// slots 1 … 8 the built-in presets, 9 and 10 the recorded pair gg, hg; any
// other slot, and any type outside 0 … 20, is empty.
std::string presetLengthString(const StateRecord& st, double type);
std::string presetNumberString(const StateRecord& st, double type);

// The number of one field: read from its second character as a signed decimal
// with "." as decimal point, up to the first character that cannot continue it;
// blanks before it are skipped. No number gives 0.
double fieldNumber(std::string_view field);

// Parses the fields of `rest` into bank[first], bank[first + 1], …, consuming
// `rest` field by field. Fields beyond the end of the bank are dropped.
void parseFieldsInto(std::string& rest, RegisterBank& bank, int first);

// The number of the field of `letter` (a … z, by position) in a parameter
// string; 0 where the string has no such field.
double fieldOf(const std::string& fields, char letter);

// The user's length offset q<letter> of a … z (null for another letter), and
// the sign factor the loader applies to that length (qcc, qff, qhh, qnn, qpp,
// qxx; 1 for the other letters). The loader computes
// len = factor · (preset + offset) and multiplies a … p by the zoom qzz.
double* lengthOffset(StateRecord& st, char letter);
const double* lengthOffset(const StateRecord& st, char letter);
double lengthFactor(const StateRecord& st, char letter);

// "a62.7:b-3.2:…": the letters a … z each with bank[a … z] rounded to six
// decimals (trailing zeros dropped) and ":".
std::string recordFields(const RegisterBank& bank);

}  // namespace pm

// The mechanism's dimensions as a lecturer gives them (the dialog "Maße",
// set-up files) and reads them (the values panel): lengths in mm, where 1 mm
// is one drawing unit at the standard zoom, so a length in mm is the loaded
// length divided by the zoom qzz; the crank angle φ in degrees as the panel
// lists it, (val c − wxx) turned into [0°, 360°); ω of the crank as the drive
// sets it (len v / 5, reversed while the crank steps backwards) and its α
// (len x over the crank's length in mm). Each value is read from the state
// record and written back into the offsets, sign factors and drive angle, so
// that the next load of the parameters gives exactly that value.
#pragma once

#include <string_view>

#include "shell/state_record.h"

namespace pm::dimensions {

// The letters whose lengths the zoom scales: the mechanism's links and
// coupler points (a … f), the links the six-bars add (g … p).
inline constexpr std::string_view kLengthLetters = "abcdefghijklmnop";

// The offsets of a length letter (qa … qz) and of a number letter (sa … sz;
// k has none), and the sign factor of a length letter (qcc for c, qff, qhh,
// qnn, qpp, qxx for x; nullptr for the letters without one). Nothing (nullptr)
// for a character that is no lower-case letter.
using Field = double StateRecord::*;
Field lengthOffset(char32_t letter);
Field numberOffset(char32_t letter);
Field signFactor(char32_t letter);
// The factor the loader multiplies a length by besides the zoom (1 without one).
double lengthSign(const StateRecord& st, char32_t letter);

// The preset of a length or number letter (a … z) for the state's mechanism
// type: the built-in strings, for types 9 and 10 the recorded pair.
double presetLength(const StateRecord& st, char letter);
double presetNumber(const StateRecord& st, char letter);

// A length a … p in mm, signed as loaded (the sign picks an assembly branch
// or a side), and setting it. Setting keeps the sign factor of the flippable
// letters (c, f, h, n, p) at +1 when the sign is the preset's and at −1 when
// it is the other one, as Shift+F1 … F5 leave it.
double length(const StateRecord& st, char letter);
void setLength(StateRecord& st, char letter, double mm);
// Whether the loaded sign of a length differs from its preset's (a length
// that is 0 counts by its sign factor).
bool flipped(const StateRecord& st, char letter);

// A number a … z as loaded (before j is cleared and i gets its sign), and
// setting it through its offset; k has no offset and cannot be set.
double number(const StateRecord& st, char letter);
bool setNumber(StateRecord& st, char letter, double value);

// The crank angle φ in degrees, in [0, 360), and the drive angle that gives it.
double crankAngle(const StateRecord& st);
void setCrankAngle(StateRecord& st, double degrees);
// The frame's angle (val d), degrees.
double frameAngle(const StateRecord& st);
void setFrameAngle(StateRecord& st, double degrees);
// ω (1/s) and α (1/s²) of the crank.
double crankOmega(const StateRecord& st);
void setCrankOmega(StateRecord& st, double omega);
double crankAlpha(const StateRecord& st);
void setCrankAlpha(StateRecord& st, double alpha);
// The drive step in degrees per step (val i with its sign qzw), and setting it.
double driveStep(const StateRecord& st);
void setDriveStep(StateRecord& st, double degrees);

}  // namespace pm::dimensions

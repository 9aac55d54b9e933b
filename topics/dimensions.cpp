// Dimensions in mm and degrees, read from and written into the state record
// through the same arithmetic as the parameter loader (topics/parameters.cpp):
// a length is sign factor × (preset + offset) × qzz, a number preset + offset.
#include "topics/dimensions.h"

#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "topics/parameter_strings.h"

namespace pm::dimensions {

namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr int kFirstLetter = 49;  // register index of "a"

constexpr std::array<Field, 26> kLengthOffsets = {
    &StateRecord::qa, &StateRecord::qb, &StateRecord::qc, &StateRecord::qd, &StateRecord::qe,
    &StateRecord::qf, &StateRecord::qg, &StateRecord::qh, &StateRecord::qi, &StateRecord::qj,
    &StateRecord::qk, &StateRecord::ql, &StateRecord::qm, &StateRecord::qn, &StateRecord::qo,
    &StateRecord::qp, &StateRecord::qq, &StateRecord::qr, &StateRecord::qs, &StateRecord::qt,
    &StateRecord::qu, &StateRecord::qv, &StateRecord::qw, &StateRecord::qx, &StateRecord::qy,
    &StateRecord::qz};

constexpr std::array<Field, 26> kNumberOffsets = {
    &StateRecord::sa, &StateRecord::sb, &StateRecord::sc, &StateRecord::sd, &StateRecord::se,
    &StateRecord::sf, &StateRecord::sg, &StateRecord::sh, &StateRecord::si, &StateRecord::sj,
    nullptr,          &StateRecord::sl, &StateRecord::sm, &StateRecord::sn, &StateRecord::so,
    &StateRecord::sp, &StateRecord::sq, &StateRecord::sr, &StateRecord::ss, &StateRecord::st,
    &StateRecord::su, &StateRecord::sv, &StateRecord::sw, &StateRecord::sx, &StateRecord::sy,
    &StateRecord::sz};

bool isLetter(char32_t c) { return c >= U'a' && c <= U'z'; }

double presetOf(std::string text, char letter) {
  RegisterBank bank{};
  parseFieldsInto(text, bank, kFirstLetter);
  return bank[static_cast<std::size_t>(kFirstLetter + (letter - 'a'))];
}

// +1 or −1: the sign a preset gives its length (+1 for a preset of 0).
double presetSign(const StateRecord& st, char letter) {
  return std::signbit(presetLength(st, letter)) ? -1 : 1;
}

// A quotient q = num / den that gives num back as q · den, where a
// neighbouring double does so and num / den itself does not: values that a
// set-up writes as ω or α then restore the drive exactly.
double restoringQuotient(double num, double den) {
  const double q = num / den;
  if (!std::isfinite(q) || q * den == num) return q;
  double up = q, down = q;
  for (int i = 0; i < 8; ++i) {
    up = std::nextafter(up, HUGE_VAL);
    down = std::nextafter(down, -HUGE_VAL);
    if (up * den == num) return up;
    if (down * den == num) return down;
  }
  return q;
}

}  // namespace

Field lengthOffset(char32_t letter) { return isLetter(letter) ? kLengthOffsets[letter - U'a'] : nullptr; }

Field numberOffset(char32_t letter) { return isLetter(letter) ? kNumberOffsets[letter - U'a'] : nullptr; }

Field signFactor(char32_t letter) {
  switch (letter) {
    case U'c':
      return &StateRecord::qcc;
    case U'f':
      return &StateRecord::qff;
    case U'h':
      return &StateRecord::qhh;
    case U'n':
      return &StateRecord::qnn;
    case U'p':
      return &StateRecord::qpp;
    case U'x':
      return &StateRecord::qxx;
    default:
      return nullptr;
  }
}

double lengthSign(const StateRecord& st, char32_t letter) {
  const Field f = signFactor(letter);
  return f ? st.*f : 1;
}

double presetLength(const StateRecord& st, char letter) {
  return presetOf(presetLengthString(st, st.mn0), letter);
}

double presetNumber(const StateRecord& st, char letter) {
  return presetOf(presetNumberString(st, st.mn0), letter);
}

double length(const StateRecord& st, char letter) {
  return lengthSign(st, static_cast<char32_t>(letter)) * (presetLength(st, letter) + st.*lengthOffset(letter));
}

void setLength(StateRecord& st, char letter, double mm) {
  const double preset = presetLength(st, letter);
  const double sign = presetSign(st, letter);
  const bool other = std::signbit(mm) != std::signbit(sign);
  if (const Field factor = signFactor(static_cast<char32_t>(letter)); factor && letter != 'x') {
    // The flip lives in the sign factor; the offset keeps the preset's sign.
    st.*factor = other ? -1 : 1;
    st.*lengthOffset(letter) = sign * std::fabs(mm) - preset;
  } else {
    st.*lengthOffset(letter) = mm - preset;
  }
}

bool flipped(const StateRecord& st, char letter) {
  const double value = length(st, letter);
  if (value == 0) return lengthSign(st, static_cast<char32_t>(letter)) < 0;
  return std::signbit(value) != std::signbit(presetSign(st, letter));
}

double number(const StateRecord& st, char letter) {
  const Field offset = numberOffset(static_cast<char32_t>(letter));
  return presetNumber(st, letter) + (offset ? st.*offset : 0);
}

bool setNumber(StateRecord& st, char letter, double value) {
  const Field offset = numberOffset(static_cast<char32_t>(letter));
  if (!offset) return false;
  st.*offset = value - presetNumber(st, letter);
  return true;
}

double crankAngle(const StateRecord& st) {
  double d = std::fmod(number(st, 'c') - st.wxx / kDeg, 360.0);
  if (d < 0) d += 360;
  if (d >= 360) d = 0;
  return d;
}

void setCrankAngle(StateRecord& st, double degrees) {
  st.wxx = number(st, 'c') * kDeg - degrees * kDeg;
}

double frameAngle(const StateRecord& st) { return number(st, 'd'); }

void setFrameAngle(StateRecord& st, double degrees) { setNumber(st, 'd', degrees); }

double crankOmega(const StateRecord& st) {
  const double omega = restoringQuotient(presetLength(st, 'v') + st.qv, 5);
  return st.qgw == -1 ? -omega : omega;
}

void setCrankOmega(StateRecord& st, double omega) {
  if (st.qgw == -1) omega = -omega;
  st.qv = omega * 5 - presetLength(st, 'v');
}

double crankAlpha(const StateRecord& st) {
  const double crank = length(st, 'a');
  return crank != 0 ? restoringQuotient(length(st, 'x'), crank) : 0;
}

void setCrankAlpha(StateRecord& st, double alpha) {
  st.qxx = 1;
  st.qx = alpha * length(st, 'a') - presetLength(st, 'x');
}

double driveStep(const StateRecord& st) { return st.si + st.qzw * presetNumber(st, 'i'); }

void setDriveStep(StateRecord& st, double degrees) {
  const double preset = presetNumber(st, 'i');
  // The sign lives in qzw, as the reversal at a dead position leaves it.
  st.qzw = preset != 0 && std::signbit(degrees) != std::signbit(preset) ? -1 : 1;
  st.si = degrees - st.qzw * preset;
}

}  // namespace pm::dimensions

// Loading the parameter strings of the current mechanism type into the length
// and value registers, with the user's offsets, sign factors and zoom; the two
// resets; and recording the synthesis result in the same string format.
#include <charconv>
#include <cmath>
#include <cstdio>

#include "script/codes.h"
#include "shell/form1.h"
#include "shell/number_chars.h"
#include "topics/parameter_strings.h"
#include "topics/topics.h"

namespace pm {
namespace {

constexpr int kFirstLetter = 49;  // register index of "a"
constexpr int kTableSlots = 21;

struct Preset {
  const char* length[2];
  const char* number[2];
};

// Each preset is kept as the two pieces it is written in; they are joined when used.
constexpr const char* kNumbers2[2] = {
    "a300:b450:c090:d0:e750:f350:g750:h500:i4:j0:k0:l0:m0:n0:",
    "o300:p500:q350:r350:s650:t150:u750:v350:w-150:x133:y335:z-312:"};
constexpr const char* kNumbers6[2] = {
    "a350:b500:c090:d0:e750:f350:g750:h500:i4:j0:k0:l0:m0:n0:",
    "o300:p500:q350:r350:s650:t150:u750:v350:w-150:x133:y335:z-312:"};

constexpr Preset kPresets[9] = {
    {{"", ""}, {"", ""}},
    {{"a80:b150:c-120:d180:e150:f-120:g70:h80:i60:j-65:k95:l110:m160:n150:o140:p50:",
      "q0:r0:s0:t0:u0:v8:w0:x-80:y0:z0"},
     {"a300:b560:c58:d0:e750:f350:g750:h450:i-4:j1:k0:l0:m0:",
      "n100:o300:p600:q350:r350:s700:t300:u710:v500:w-150:x133:y335:z-320:"}},
    {{"a160:b120:c180:d90:e80:f70:g150:h-100:i110:j80:k150:l150:m190:n200:o200:p190:",
      "q350:r600:s380:t550:u150:v-4:w4:x-40:y0:z3"},
     {kNumbers2[0], kNumbers2[1]}},
    {{"a100:b150:c-120:d180:e150:f-120:g60:h55:i60:j-65:k95:l110:m160:n150:o140:p50:",
      "q500:r750:s150:t750:u350:v-4:w4:x-40:y350:z180"},
     {kNumbers2[0], kNumbers2[1]}},
    {{"a80:b70:c-173:d180:e150:f120:g104:h232:i144:j240:k232:l-232:m0:n0:o-45:p513:",
      "q193:r600:s380:t550:u150:v-4:w4:x-40:y0:z0"},
     {kNumbers2[0], kNumbers2[1]}},
    {{"a70:b280:c70:d313:e140:f140.01:g90:h105:i60:j165:k195:l210:m150:n4:o180:p350:",
      "q200:r500:s150:t500:u350:v4:w4:x-40:y-45:z3"},
     {"a350:b500:c-90:d333:e750:f350:g750:h500:i4:j0:k0:l0:m0:n0:",
      "o300:p500:q350:r350:s650:t150:u750:v350:w-150:x133:y335:z-312:"}},
    {{"a80:b99999:c-99999:d200:e200:f99950:g101:h202:i110:j110:k100:l100:m55:n2:o180:p380:",
      "q100:r450:s280:t200:u350:v-4:w4:x-40:y0:z3"},
     {kNumbers6[0], kNumbers6[1]}},
    {{"a50:b99999:c99999:d-140:e80:f99950:g85:h142:i70:j-210:k102:l-142:m60:n4:o180:p350:",
      "q200:r500:s150:t500:u350:v-4:w4:x-40:y-120:z3 "},
     {kNumbers6[0], kNumbers6[1]}},
    {{"a60:b127:c-99999:d99999:e180:f-127:g120:h155:i100:j65:k95:l110:m60:n4:o180:p350:",
      "q300:r500:s150:t500:u350:v-4:w4:x-40:y0:z3 "},
     {"a350:b500:c090:d30:e750:f350:g750:h500:i4:j0:k0:l0:m0:n0:",
      "o300:p500:q350:r350:s650:t150:u750:v350:w-150:x133:y335:z-312:"}},
};

// The table slot of a mechanism type, or -1 for a type no slot holds.
int slotOf(double type) {
  const double slot = std::nearbyint(type);
  if (!(slot >= 0 && slot < kTableSlots)) return -1;  // also rejects NaN
  return static_cast<int>(slot);
}

std::string join(const char* const (&pieces)[2]) { return std::string(pieces[0]) + pieces[1]; }

// Length of the UTF-8 sequence that starts with byte b (1 for a stray byte).
std::size_t sequenceLength(unsigned char b) {
  if (b >= 0xF0 && b < 0xF8) return 4;
  if (b >= 0xE0) return b < 0xF0 ? 3 : 1;
  if (b >= 0xC0) return 2;
  return 1;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Writes v rounded to six decimals, without trailing zeros (and without the
// point when nothing follows it): fine enough that a recorded four-bar
// reassembles its positions to far below a drawing unit, and read back by
// fieldNumber. A value that is not a number writes 0.
std::string decimalText(double v) {
  if (!std::isfinite(v)) return "0";
  // As printf's "%.6f" writes it, without the cost of its format parsing and
  // locale (every synthesis picture records its four-bar this way).
  // (The browser build's standard library has no floating-point to_chars.)
  char buf[400];
#if defined(__cpp_lib_to_chars)
  const auto [end, error] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
  if (error != std::errc{}) return "0";
  std::string text(buf, end);
#else
  const int n = std::snprintf(buf, sizeof buf, "%.6f", v);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf) return "0";
  std::string text(buf, static_cast<std::size_t>(n));
#endif
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  return text;
}

}  // namespace

std::string presetLengthString(const StateRecord& st, double type) {
  const int slot = slotOf(type);
  if (slot >= 1 && slot <= 8) return join(kPresets[slot].length);
  if (slot == 9 || slot == 10) return st.gg;
  return {};
}

std::string presetNumberString(const StateRecord& st, double type) {
  const int slot = slotOf(type);
  if (slot >= 1 && slot <= 8) return join(kPresets[slot].number);
  if (slot == 9 || slot == 10) return st.hg;
  return {};
}

double fieldNumber(std::string_view field) {
  if (field.empty()) return 0;
  std::size_t i = sequenceLength(static_cast<unsigned char>(field[0]));  // skip the letter
  while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) {
    negative = field[i] == '-';
    ++i;
  }
  // A number starts with a digit, or with "." and a digit.
  const bool starts = i < field.size() && (isDigit(field[i]) || (field[i] == '.' && i + 1 < field.size() &&
                                                                  isDigit(field[i + 1])));
  if (!starts) return 0;
  double value = 0;
  const char* first = field.data() + i;
  // Out of range counts as no number.
  if (parseFixed(first, field.data() + field.size(), value) == nullptr) return 0;
  return negative ? -value : value;
}

void parseFieldsInto(std::string& rest, RegisterBank& bank, int first) {
  int r = first;
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::size_t end = colon == std::string::npos ? rest.size() : colon;
    if (r >= 0 && r < static_cast<int>(bank.size())) {
      bank[static_cast<std::size_t>(r)] = fieldNumber(std::string_view(rest).substr(0, end));
    }
    rest.erase(0, end == rest.size() ? end : end + 1);
    ++r;
    if (r >= static_cast<int>(bank.size())) rest.clear();  // the bank ends: stop reading
  }
}

std::string recordFields(const RegisterBank& bank) {
  std::string out;
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    out += letter;
    out += decimalText(bank[static_cast<std::size_t>(kFirstLetter + (letter - 'a'))]);
    out += ':';
  }
  return out;
}

double fieldOf(const std::string& fields, char letter) {
  if (letter < 'a' || letter > 'z') return 0;
  RegisterBank bank{};
  std::string rest = fields;
  parseFieldsInto(rest, bank, kFirstLetter);
  return bank[static_cast<std::size_t>(kFirstLetter + (letter - 'a'))];
}

double* lengthOffset(StateRecord& st, char letter) {
  double* const offsets[26] = {&st.qa, &st.qb, &st.qc, &st.qd, &st.qe, &st.qf, &st.qg,
                               &st.qh, &st.qi, &st.qj, &st.qk, &st.ql, &st.qm, &st.qn,
                               &st.qo, &st.qp, &st.qq, &st.qr, &st.qs, &st.qt, &st.qu,
                               &st.qv, &st.qw, &st.qx, &st.qy, &st.qz};
  if (letter < 'a' || letter > 'z') return nullptr;
  return offsets[letter - 'a'];
}

const double* lengthOffset(const StateRecord& st, char letter) {
  return lengthOffset(const_cast<StateRecord&>(st), letter);
}

double* numberOffset(StateRecord& st, char letter) {
  double* const offsets[26] = {&st.sa, &st.sb, &st.sc, &st.sd, &st.se, &st.sf, &st.sg,
                               &st.sh, &st.si, &st.sj, nullptr, &st.sl, &st.sm, &st.sn,
                               &st.so, &st.sp, &st.sq, &st.sr, &st.ss, &st.st, &st.su,
                               &st.sv, &st.sw, &st.sx, &st.sy, &st.sz};
  if (letter < 'a' || letter > 'z') return nullptr;
  return offsets[letter - 'a'];
}

const double* numberOffset(const StateRecord& st, char letter) {
  return numberOffset(const_cast<StateRecord&>(st), letter);
}

double lengthFactor(const StateRecord& st, char letter) {
  switch (letter) {
    case 'c': return st.qcc;
    case 'f': return st.qff;
    case 'h': return st.qhh;
    case 'n': return st.qnn;
    case 'p': return st.qpp;
    case 'x': return st.qxx;
    default: return 1;
  }
}

void loadParameters(Form1& f) {
  StateRecord& st = f.st;
  Registers& reg = f.reg();

  st.gx = presetLengthString(st, st.mn0);
  parseFieldsInto(st.gx, reg.len, kFirstLetter);

  // Lengths: preset + offset, with the sign factors of the flippable links.
  auto len = [&](char c) -> double& { return reg.lenOf(static_cast<char32_t>(c)); };
  for (char c = 'a'; c <= 'z'; ++c) len(c) = lengthFactor(st, c) * (len(c) + *lengthOffset(st, c));
  for (char c = 'a'; c <= 'p'; ++c) len(c) *= st.qzz;

  st.hs = presetNumberString(st, st.mn0);
  parseFieldsInto(st.hs, reg.val, kFirstLetter);

  auto val = [&](char c) -> double& { return reg.valOf(static_cast<char32_t>(c)); };
  const double numberOffset[26] = {st.sa, st.sb, st.sc, st.sd, st.se, st.sf, st.sg,
                                   st.sh, 0,     0,     0,     st.sl, st.sm, st.sn,
                                   st.so, st.sp, st.sq, st.sr, st.ss, st.st, st.su,
                                   st.sv, st.sw, st.sx, st.sy, st.sz};
  for (char c = 'a'; c <= 'z'; ++c) val(c) += numberOffset[c - 'a'];
  val('i') = st.si + st.qzw * val('i');
  val('j') = 0;
}

void resetLengths(Form1& f) {
  StateRecord& st = f.st;
  for (double* q : {&st.qa, &st.qb, &st.qc, &st.qd, &st.qe, &st.qf, &st.qg, &st.qh, &st.qi,
                    &st.qj, &st.qk, &st.ql, &st.qm, &st.qn, &st.qo, &st.qp, &st.qq, &st.qr,
                    &st.qs, &st.qt, &st.qu, &st.qv, &st.qw, &st.qx, &st.qy, &st.qz}) {
    *q = 0;
  }
  st.wxx = 0;
  st.qgw = 0;
  st.qzz = 1;
  st.qrtt = 0;
  st.qbr = 2;
  st.rr1 = 128;
  st.bb1 = 256;
  st.gg1 = 196;
  st.qcc = st.qff = st.qnn = st.qpp = 1;  // qhh and qzw keep their values
  st.qnx = 0;
  for (double* s : {&st.sa, &st.sb, &st.sc, &st.sd, &st.se, &st.sf, &st.sg, &st.sh, &st.si,
                    &st.sj, &st.sl}) {
    *s = 0;
  }
}

void resetPositions(Form1& f) {
  StateRecord& st = f.st;
  for (double* s : {&st.sm, &st.sn, &st.so, &st.sp, &st.sq, &st.sr, &st.ss, &st.st, &st.su,
                    &st.sv, &st.sw, &st.sx, &st.sy, &st.sz}) {
    *s = 0;
  }
}

void recordParameters(Form1& f) {
  f.st.gg = recordFields(f.reg().len);
  f.st.hg = recordFields(f.reg().val);
}

}  // namespace pm

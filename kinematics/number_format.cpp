#include "kinematics/number_format.h"

#include <cmath>
#include <cstdio>

namespace pm {

namespace {

constexpr const char* kMinus = "\u2212";
constexpr const char* kSuperscriptDigits[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};

// The digits of |v| rounded to three significant digits, with a decimal comma.
std::string threeDigits(double magnitude, int exponent) {
  char buf[64];
  if (exponent >= 2) {
    const double unit = std::pow(10.0, exponent - 2);
    std::snprintf(buf, sizeof buf, "%.0f", std::round(magnitude / unit) * unit);
  } else {
    std::snprintf(buf, sizeof buf, "%.*f", 2 - exponent, magnitude);
  }
  std::string out = buf;
  for (char& c : out)
    if (c == '.') c = ',';
  return out;
}

}  // namespace

std::string germanNumber(double v) {
  if (!std::isfinite(v)) return "—";
  double magnitude = std::fabs(v);
  if (magnitude == 0) return "0";
  int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
  // Rounding may carry into the next decade (9,996 → 10,0).
  const double rounded = std::round(magnitude / std::pow(10.0, exponent - 2)) * std::pow(10.0, exponent - 2);
  if (rounded >= std::pow(10.0, exponent + 1)) ++exponent;
  std::string body;
  if (exponent >= 6 || exponent < -4) {
    const double mantissa = magnitude / std::pow(10.0, exponent);
    body = threeDigits(mantissa, 0) + "·10";
    if (body.starts_with("10,0")) {  // the mantissa rounded up to ten
      ++exponent;
      body = threeDigits(mantissa / 10, 0) + "·10";
    }
    if (exponent < 0) body += "⁻";
    const std::string digits = std::to_string(std::abs(exponent));
    for (char d : digits) body += kSuperscriptDigits[d - '0'];
  } else {
    body = threeDigits(magnitude, exponent);
  }
  return v < 0 ? kMinus + body : body;
}

}  // namespace pm

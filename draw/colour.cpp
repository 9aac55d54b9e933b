// Colour helpers.
#include "draw/colour.h"

namespace pm {

std::string hexColour(Rgb c) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string s = "#";
  for (std::uint8_t v : {c.r, c.g, c.b}) {
    s += kDigits[v >> 4];
    s += kDigits[v & 15];
  }
  return s;
}

}  // namespace pm

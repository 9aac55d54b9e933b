// 24-bit colours. Components above 255 count as 255 (RGB(256, 256, 256) is white).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace pm {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb rgb(double r, double g, double b) {
  // Not-a-number counts as 0, so that no value converts out of range.
  auto c = [](double v) {
    return static_cast<std::uint8_t>(v >= 255 ? 255 : v > 0 ? static_cast<int>(v) : 0);
  };
  return {c(r), c(g), c(b)};
}

std::string hexColour(Rgb c);  // "#rrggbb"

}  // namespace pm

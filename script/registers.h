// The register file of one command: point, length, angle and value banks plus
// the codes of the command being executed. Created empty (all 0) at the start of
// every command; whatever must outlive a command lives in the state record.
#pragma once

#include <array>

#include "script/codes.h"

namespace pm {

struct Point {
  double x = 0;
  double y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Registers {
  static constexpr int kPointCount = 1297;   // point registers 0 … 1296
  static constexpr int kVectorCount = 257;   // len/ang/val registers 0 … 256
  static constexpr int kLabelOffset = 80;    // label position of vector k at k + 80

  std::array<double, kPointCount> px{};
  std::array<double, kPointCount> py{};
  std::array<double, kVectorCount> len{};
  std::array<double, kVectorCount> ang{};
  std::array<double, kVectorCount> val{};
  std::array<int, kVectorCount> cmdCode{};  // position i of the current command at index i

  void clear() { *this = Registers{}; }

  // Access by register letter, for topic code: lenOf(U'a') is len[code('a')].
  double& lenOf(char32_t c) { return len[code(c)]; }
  double& angOf(char32_t c) { return ang[code(c)]; }
  double& valOf(char32_t c) { return val[code(c)]; }
  double& xOf(char32_t c) { return px[code(c)]; }
  double& yOf(char32_t c) { return py[code(c)]; }
  Point point(char32_t c) const { return {px[code(c)], py[code(c)]}; }
  void setPoint(char32_t c, Point p) {
    px[code(c)] = p.x;
    py[code(c)] = p.y;
  }
};

}  // namespace pm

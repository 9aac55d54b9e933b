// Polar conversions and line intersection of the current vector (X, Y).
//
// Both polar conversions return angles in (0, 2π]: a vector along +x gets 2π,
// and the zero vector gets the angle of the vertical axis (π/2 standard,
// 3π/2 screen). All comparisons are exact, as the constructions rely on them.
#include "script/vector.h"

#include <cmath>

namespace pm {

namespace {

constexpr double kTwoPi = 2.0 * kPi;

// Sentinel y of two distinct vertical lines, and the upper clamp of x.
constexpr double kVerticalApart = 1.7e38;
constexpr double kFarX = 99999.0;

}  // namespace

void polarStd(Scratch& s) {
  const double x = s.X, y = s.Y;
  s.curLen = vectorLength(s);
  if (x == 0 && y < 0) {
    s.curAng = 1.5 * kPi;
    return;
  }
  if (x == 0) {
    s.curAng = 0.5 * kPi;
    return;
  }
  double a = std::atan(y / x);
  if (x > 0 && y >= 0) a += kTwoPi;
  if (x < 0 && y > 0) a += kPi;
  if (x < 0 && y <= 0) a += kPi;
  // atan lies in (-π/2, π/2), so each loop runs at most once for finite input;
  // NaN compares false and leaves both loops at once.
  while (a < 0) a += kTwoPi;
  while (a > kTwoPi) a -= kTwoPi;
  s.curAng = a;
}

void polarScreen(Scratch& s) {
  const double x = s.X, y = s.Y;
  s.curLen = vectorLength(s);
  if (x == 0 && y < 0) {
    s.curAng = 0.5 * kPi;
    return;
  }
  if (x == 0) {
    s.curAng = 1.5 * kPi;
    return;
  }
  double a = -std::atan(y / x);
  if (x > 0 && y >= 0) a += kTwoPi;
  if (x < 0 && y > 0) a += kPi;
  if (x < 0 && y <= 0) a += kPi;
  if (a < 0) a += kTwoPi;
  if (a > kTwoPi) a -= kTwoPi;
  s.curAng = a;
}

void vectorFromPolar(Scratch& s) {
  s.X = s.curLen * std::cos(s.curAng);
  s.Y = -s.curLen * std::sin(s.curAng);
}

void intersectLines(Scratch& s, double x1, double y1, double x2, double y2, double x3, double y3,
                    double x4, double y4) {
  if (x1 == x2 && x2 == x3 && x3 == x4) {  // one vertical line
    s.X = x1;
    s.Y = 0;
    return;
  }
  if (x1 == x2 && x3 == x4) {  // two vertical lines apart
    s.X = x1;
    s.Y = kVerticalApart;
    return;
  }
  if (x1 == x2) {  // line 1 vertical
    const double m2 = (y4 - y3) / (x4 - x3);
    const double b2 = y3 - m2 * x3;
    s.X = x1;
    s.Y = m2 * s.X + b2;
    return;
  }
  if (x3 == x4) {  // line 2 vertical
    const double m1 = (y2 - y1) / (x2 - x1);
    const double b1 = y1 - m1 * x1;
    s.X = x3;
    s.Y = m1 * s.X + b1;
    return;
  }
  const double m1 = (y2 - y1) / (x2 - x1);
  const double b1 = y1 - m1 * x1;
  const double m2 = (y4 - y3) / (x4 - x3);
  const double b2 = y3 - m2 * x3;
  if (m1 == m2) {
    s.X = kFarX;  // parallel: the point of line 2 far out to the right
  } else {
    s.X = (b2 - b1) / (m1 - m2);
    if (s.X > kFarX && !s.farIntersections) s.X = kFarX;  // only the upper side is clamped
  }
  s.Y = m2 * s.X + b2;
}

}  // namespace pm

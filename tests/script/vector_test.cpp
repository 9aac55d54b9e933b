// The polar conversions, their inverse and the line intersection with its
// sentinels for vertical and parallel lines.
#include "script/vector.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pm {
namespace {

Scratch polar(void (*routine)(Scratch&), double x, double y) {
  Scratch s;
  s.X = x;
  s.Y = y;
  routine(s);
  return s;
}

TEST(PolarStd, AxesAndZeroVector) {
  EXPECT_DOUBLE_EQ(polar(polarStd, 1, 0).curAng, 2 * kPi);
  EXPECT_DOUBLE_EQ(polar(polarStd, 0, 5).curAng, kPi / 2);
  EXPECT_DOUBLE_EQ(polar(polarStd, 0, 5).curLen, 5);
  EXPECT_DOUBLE_EQ(polar(polarStd, 0, -5).curAng, 1.5 * kPi);
  EXPECT_DOUBLE_EQ(polar(polarStd, -1, 0).curAng, kPi);
  const Scratch zero = polar(polarStd, 0, 0);
  EXPECT_EQ(zero.curLen, 0);
  EXPECT_DOUBLE_EQ(zero.curAng, kPi / 2);
}

TEST(PolarStd, EveryQuadrantInHalfOpenRange) {
  for (int deg = 1; deg <= 360; ++deg) {
    const double a = deg * kDeg;
    const Scratch s = polar(polarStd, 3 * std::cos(a), 3 * std::sin(a));
    EXPECT_GT(s.curAng, 0) << deg;
    EXPECT_LE(s.curAng, 2 * kPi) << deg;
    EXPECT_NEAR(s.curAng, a, 1e-9) << deg;
    EXPECT_NEAR(s.curLen, 3, 1e-12);
  }
}

TEST(PolarScreen, AxesDiagonalAndZeroVector) {
  EXPECT_DOUBLE_EQ(polar(polarScreen, 1, 0).curAng, 2 * kPi);
  EXPECT_DOUBLE_EQ(polar(polarScreen, 0, -5).curAng, kPi / 2);
  EXPECT_DOUBLE_EQ(polar(polarScreen, 0, 5).curAng, 1.5 * kPi);
  EXPECT_DOUBLE_EQ(polar(polarScreen, 1, -1).curAng, kPi / 4);
  EXPECT_DOUBLE_EQ(polar(polarScreen, -1, 0).curAng, kPi);
  const Scratch zero = polar(polarScreen, 0, 0);
  EXPECT_EQ(zero.curLen, 0);
  EXPECT_DOUBLE_EQ(zero.curAng, 1.5 * kPi);
}

TEST(PolarScreen, VectorFromPolarInvertsItEverywhere) {
  Scratch s;
  s.curLen = 100;
  s.curAng = kPi / 2;
  vectorFromPolar(s);
  EXPECT_NEAR(s.X, 0, 1e-12);
  EXPECT_NEAR(s.Y, -100, 1e-12);

  const double samples[] = {-7.5, -1, 0, 1e-9, 2, 300};
  for (double x : samples) {
    for (double y : samples) {
      Scratch t = polar(polarScreen, x, y);
      EXPECT_GT(t.curAng, 0);
      EXPECT_LE(t.curAng, 2 * kPi);
      vectorFromPolar(t);
      EXPECT_NEAR(t.X, x, 1e-9) << x << "," << y;
      EXPECT_NEAR(t.Y, y, 1e-9) << x << "," << y;
    }
  }
}

TEST(IntersectLines, CrossingParallelAndVertical) {
  Scratch s;
  intersectLines(s, 0, 0, 10, 10, 0, 10, 10, 0);
  EXPECT_DOUBLE_EQ(s.X, 5);
  EXPECT_DOUBLE_EQ(s.Y, 5);

  intersectLines(s, 0, 0, 1, 1, 0, 1, 1, 2);  // parallel slanted lines
  EXPECT_DOUBLE_EQ(s.X, 99999);
  EXPECT_DOUBLE_EQ(s.Y, 100000);

  intersectLines(s, 3, 0, 3, 1, 7, 0, 7, 1);  // two vertical lines apart
  EXPECT_DOUBLE_EQ(s.X, 3);
  EXPECT_DOUBLE_EQ(s.Y, 1.7e38);

  intersectLines(s, 3, 0, 3, 1, 3, 5, 3, 9);  // one vertical line twice
  EXPECT_DOUBLE_EQ(s.X, 3);
  EXPECT_DOUBLE_EQ(s.Y, 0);

  intersectLines(s, 3, 0, 3, 1, 0, 0, 1, 2);  // line 1 vertical, line 2 y = 2x
  EXPECT_DOUBLE_EQ(s.X, 3);
  EXPECT_DOUBLE_EQ(s.Y, 6);

  intersectLines(s, 0, 0, 1, 2, 3, 0, 3, 1);  // line 2 vertical
  EXPECT_DOUBLE_EQ(s.X, 3);
  EXPECT_DOUBLE_EQ(s.Y, 6);
}

TEST(IntersectLines, ClampsOnlyFarToTheRight) {
  Scratch s;
  // Nearly parallel lines meeting at x = 1e6: clamped to 99999 on line 2.
  intersectLines(s, 0, 0, 1, 0, 0, -1e-6, 1, -1e-6 + 1e-12);
  EXPECT_DOUBLE_EQ(s.X, 99999);
  // Meeting at x = -1e6: returned as computed.
  intersectLines(s, 0, 0, 1, 0, 0, 1, 1, 1 + 1e-6);
  EXPECT_NEAR(s.X, -1e6, 1e-3);
  EXPECT_NEAR(s.Y, 0, 1e-9);
}

}  // namespace
}  // namespace pm

// Kinematic truth of the worked example of the moving plane: the centre of
// curvature of C and the locus of equal path curvature, checked by following
// the plane points along their paths with a four-bar solved here.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <optional>
#include <vector>

#include "script/vector.h"
#include "support/test_form.h"
#include "topics/moving_plane_locus.h"

namespace pm {
namespace {

using Cx = std::complex<double>;

Cx at(Form1& f, char32_t c) {
  const Point p = f.reg().point(c);
  return {p.x, p.y};
}

// The hidden four-bar of the current picture, moved here by small crank turns.
struct FourBar {
  Cx x, y, a, b;

  // Position of the plane point q (given in the current position) after the
  // crank has turned by dt radians; empty where the loop cannot close.
  std::optional<Cx> carry(Cx q, double dt) const {
    const Cx a2 = x + (a - x) * std::polar(1.0, dt);
    const double rb = std::abs(b - a), rc = std::abs(b - y);
    const double d = std::abs(y - a2);
    if (d > rb + rc || d < std::abs(rb - rc)) return std::nullopt;
    const double p = (d * d + rb * rb - rc * rc) / (2 * d);
    const double h = std::sqrt(std::max(0.0, rb * rb - p * p));
    const Cx u = (y - a2) / d;
    const Cx b1 = a2 + p * u + h * u * Cx(0, 1), b2 = a2 + p * u - h * u * Cx(0, 1);
    const Cx b2pos = std::abs(b1 - b) < std::abs(b2 - b) ? b1 : b2;  // stay on the branch
    return a2 + (b2pos - a2) / (b - a) * (q - a);
  }

  // Radius of curvature |v|³ / |v × a| of the path of q, with velocity and
  // acceleration (per radian of crank turn) from central differences.
  std::optional<double> pathRadius(Cx q) const {
    const double e = 1e-3;
    const auto p0 = carry(q, -e), p1 = carry(q, 0), p2 = carry(q, e);
    if (!p0 || !p1 || !p2) return std::nullopt;
    const Cx v = (*p2 - *p0) / (2 * e);
    const Cx acc = (*p2 - 2.0 * *p1 + *p0) / (e * e);
    const double bend = std::abs(cross(v, acc));
    if (bend == 0) return std::nullopt;
    return std::pow(std::abs(v), 3) / bend;
  }

  static double cross(Cx u, Cx v) { return u.real() * v.imag() - u.imag() * v.real(); }
};

FourBar fourBarOf(Form1& f) { return {at(f, U'X'), at(f, U'Y'), at(f, U'A'), at(f, U'B')}; }

void showExample(testing::TestForm& t, int mn2) {
  t.form.st.mn1 = 9;
  t.form.st.mn2 = mn2;
  t.key(kKeyRebuild);
}

// Points the locus traced (line ends in the trace colour p, width 2).
std::vector<Cx> tracedLocus(const DisplayList& list) {
  std::vector<Cx> points;
  for (const Primitive& p : list) {
    if (p.kind == Primitive::Kind::Line && p.colour == rgb(255, 255, 255) && p.width == 2)
      points.emplace_back(p.x2, p.y2);
  }
  return points;
}

TEST(MovingPlaneExample, CurvatureCentreIsThatOfThePathOfC) {
  testing::TestForm t;
  for (int step = 0; step < 12; ++step) {
    showExample(t, 5);
    const FourBar bar = fourBarOf(t.form);
    const Cx c = at(t.form, U'C'), j = at(t.form, U'J');
    const auto radius = bar.pathRadius(c);
    ASSERT_TRUE(radius);
    EXPECT_NEAR(*radius, std::abs(c - j), 1e-3 * (1 + *radius)) << "step " << step;
    for (int k = 0; k < 7; ++k) t.key(kKeySpace);  // on around the crank
  }
}

// Every traced point of the locus has a path with the radius of curvature of
// the path of C, on both branches and in every crank position.
TEST(MovingPlaneExample, LocusPointsHaveTheCurvatureOfThePathOfC) {
  testing::TestForm t;
  int checked = 0;
  std::size_t total = 0;
  for (int step = 0; step < 8; ++step) {
    showExample(t, 7);
    const FourBar bar = fourBarOf(t.form);
    const double d = std::abs(at(t.form, U'C') - at(t.form, U'J'));
    const Cx pole = at(t.form, U'P');
    const std::vector<Cx> locus = tracedLocus(t.picture());
    total += locus.size();
    EXPECT_LE(locus.size(), 2u * 91u);  // at most 92 points a branch, joined by 91 lines
    for (const Cx& r : locus) {
      // Near the pole the points barely move and differences lose precision.
      if (std::abs(r - pole) < 40) continue;
      const auto radius = bar.pathRadius(r);
      ASSERT_TRUE(radius);
      EXPECT_NEAR(*radius, d, 2e-3 * d) << "step " << step;
      ++checked;
    }
    for (int k = 0; k < 11; ++k) t.key(kKeySpace);
  }
  EXPECT_GT(total, 200u);
  EXPECT_GT(checked, 200);
}

TEST(MovingPlaneExample, LocusDegenerateDistances) {
  // a = 0: a circle of radius d about the pole, and the pole itself.
  for (double phi : {0.0, 1.0, 3.0, 5.0}) {
    EXPECT_DOUBLE_EQ(*equalCurvatureLocusDistance(1, phi, 0, 70), 70);
    EXPECT_DOUBLE_EQ(*equalCurvatureLocusDistance(-1, phi, 0, 70), 0);
  }
  // d = 0 counts as 0.00001: finite points, no division by zero.
  const auto rho = equalCurvatureLocusDistance(1, 1.0, 100, 0);
  ASSERT_TRUE(rho);
  EXPECT_TRUE(std::isfinite(*rho));
  EXPECT_NEAR(*rho, (1 + std::sqrt(1 + 4 * 100 * std::sin(1.0) / 0.00001)) * 0.00001 / 2, 1e-6);
  EXPECT_FALSE(equalCurvatureLocusDistance(1, -1.0, 100, 0));  // no point on that side
  // Undefined inputs of a degenerate mechanism give no point.
  EXPECT_FALSE(equalCurvatureLocusDistance(1, NAN, 100, 50));
  EXPECT_FALSE(equalCurvatureLocusDistance(1, 1.0, INFINITY, 50));
  EXPECT_FALSE(equalCurvatureLocusDistance(1, 1.0, 100, NAN));
}

}  // namespace
}  // namespace pm

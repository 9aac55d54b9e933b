// The check of a synthesised four-bar on four-bars built here whose
// positions are made at chosen crank angles and branches, so the branch,
// order and dead positions are known beforehand.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>

#include "topics/synthesis_check.h"

namespace pm {
namespace {

using Cx = std::complex<double>;

constexpr double kDegree = 3.14159265358979323846 / 180;

struct Linkage {
  Cx x{300, 400};
  double frameDeg = 0, crank = 50, coupler = 180, rocker = 150, frame = 200;

  Cx y() const { return x + frame * Cx(std::cos(frameDeg * kDegree), -std::sin(frameDeg * kDegree)); }
  Cx pin(double deg) const { return x + crank * Cx(std::cos(deg * kDegree), -std::sin(deg * kDegree)); }
  // The rocker pin on the side `side` of the line from the crank pin to Y.
  Cx rockerPin(double deg, int side) const {
    const Cx a = pin(deg), to = y() - a;
    const double d = std::abs(to);
    const double p = (d * d + coupler * coupler - rocker * rocker) / (2 * d);
    const double h = std::sqrt(coupler * coupler - p * p);
    const Cx u = to / d;
    return a + p * u + side * h * Cx(-u.imag(), u.real());
  }

  // Positions made at the crank angles degs on the branches sides; the plane
  // points are two points of the coupler.
  SynthesisFourBar positions(const double (&degs)[4], const int (&sides)[4]) const {
    SynthesisFourBar m;
    auto point = [](Cx c) { return Point{c.real(), c.imag()}; };
    m.crankPivot = point(x);
    m.rockerPivot = point(y());
    m.crankPin = point(pin(degs[0]));
    m.rockerPin = point(rockerPin(degs[0], sides[0]));
    for (int j = 0; j < 4; ++j) {
      const Cx a = pin(degs[j]), b = rockerPin(degs[j], sides[j]);
      m.first[j] = point(a + Cx(0.4, 0.3) * (b - a));
      m.second[j] = point(a + Cx(0.7, -0.5) * (b - a));
    }
    return m;
  }
};

std::u32string joined(const SynthesisCheck& c) {
  std::u32string all;
  for (const std::u32string& line : synthesisReportLines(c)) all += line + U"\n";
  return all;
}

bool has(const std::u32string& text, std::u32string_view part) {
  return text.find(part) != std::u32string::npos;
}

TEST(SynthesisCheck, CrankRockerInOrderAndOutOfOrder) {
  const Linkage crankRocker;  // 50 + 200 < 180 + 150: the crank turns fully
  const SynthesisCheck c = checkSynthesisFourBar(crankRocker.positions({10, 60, 120, 200}, {1, 1, 1, 1}));
  ASSERT_TRUE(c.valid);
  EXPECT_TRUE(c.turnsFully);
  EXPECT_FALSE(c.orderDefect);
  EXPECT_EQ(c.sense, 1);
  EXPECT_TRUE(c.deadBetween.empty());
  for (int j = 0; j < 4; ++j) EXPECT_TRUE(c.onBranch[j]);
  EXPECT_NEAR(c.crankDegrees[2], 120, 1e-9);
  const std::u32string text = joined(c);
  EXPECT_TRUE(has(text, U"Kurbelwinkel:  1: 10,0°  2: 60,0°  3: 120,0°  4: 200,0°"));
  EXPECT_TRUE(has(text, U"Alle vier Lagen auf einem Montagezweig"));
  EXPECT_TRUE(has(text, U"Folge 1-2-3-4 ohne Totlage, Kurbel dreht im Gegenuhrzeigersinn"));
  EXPECT_TRUE(has(text, U"Kurbel voll umlauffähig"));

  EXPECT_EQ(checkSynthesisFourBar(crankRocker.positions({200, 120, 60, 10}, {1, 1, 1, 1})).sense, -1);
  const SynthesisCheck mixed = checkSynthesisFourBar(crankRocker.positions({10, 120, 60, 200}, {1, 1, 1, 1}));
  EXPECT_TRUE(mixed.orderDefect);
  EXPECT_TRUE(has(joined(mixed), U"Reihenfolgedefekt"));
  EXPECT_FALSE(has(joined(mixed), U"Totlage"));
}

TEST(SynthesisCheck, PositionsOnTheOtherBranchAreNamed) {
  const Linkage crankRocker;
  const SynthesisCheck c = checkSynthesisFourBar(crankRocker.positions({10, 60, 120, 200}, {-1, 1, 1, 1}));
  EXPECT_FALSE(c.onBranch[1] || c.onBranch[2] || c.onBranch[3]);
  EXPECT_TRUE(has(joined(c), U"Verzweigungsdefekt: Lagen 2, 3 und 4 auf dem anderen Montagezweig"));
  const SynthesisCheck one = checkSynthesisFourBar(crankRocker.positions({10, 60, 120, 200}, {1, 1, -1, 1}));
  EXPECT_TRUE(has(joined(one), U"Verzweigungsdefekt: Lage 3 auf dem anderen Montagezweig"));
  EXPECT_TRUE(has(joined(one), U"Folge 1-2-4 ohne Totlage"));
}

// A crank that only swings: the loop closes for |θ| up to about 57° about the
// frame direction (crank 150, coupler 60, rocker 70, frame 50).
TEST(SynthesisCheck, SwingingCrankPassesADeadPositionWhereItWouldHaveToTurnThrough) {
  Linkage rocker;
  rocker.crank = 150;
  rocker.coupler = 60;
  rocker.rocker = 70;
  rocker.frame = 50;
  const SynthesisCheck inRange = checkSynthesisFourBar(rocker.positions({-40, -20, 10, 40}, {1, 1, 1, 1}));
  EXPECT_FALSE(inRange.turnsFully);
  EXPECT_FALSE(inRange.orderDefect);
  EXPECT_TRUE(inRange.deadBetween.empty());
  EXPECT_EQ(inRange.sense, 1);

  // In the order 2-3-4-1 along the range, the crank would have to turn from
  // position 1 through the dead zone to reach position 2.
  const SynthesisCheck wrapped = checkSynthesisFourBar(rocker.positions({40, -40, -20, 10}, {1, 1, 1, 1}));
  EXPECT_FALSE(wrapped.orderDefect);
  ASSERT_EQ(wrapped.deadBetween.size(), 1u);
  EXPECT_EQ(wrapped.deadBetween[0], (std::pair<int, int>{1, 2}));
  EXPECT_TRUE(has(joined(wrapped), U"Totlage zwischen Lage 1 und 2"));
  EXPECT_TRUE(has(joined(wrapped), U"Kurbel nicht voll umlauffähig"));
}

TEST(SynthesisCheck, DegenerateTaskOrLinksGiveNoCheck) {
  const Linkage crankRocker;
  SynthesisFourBar m = crankRocker.positions({10, 60, 120, 200}, {1, 1, 1, 1});
  m.second[2] = m.first[2];  // no direction in position 3
  EXPECT_FALSE(checkSynthesisFourBar(m).valid);
  m = crankRocker.positions({10, 60, 120, 200}, {1, 1, 1, 1});
  m.crankPin = m.crankPivot;  // no crank
  EXPECT_FALSE(checkSynthesisFourBar(m).valid);
  m.crankPin = {std::nan(""), 0};
  EXPECT_FALSE(checkSynthesisFourBar(m).valid);
  EXPECT_TRUE(has(joined(checkSynthesisFourBar(m)), U"Keine Prüfung"));
}

}  // namespace
}  // namespace pm

// Operations 41 … 49: line and circle intersections with their status codes,
// the bisector, similar triangles, transfers and the midpoint.
#include <gtest/gtest.h>

#include <cmath>

#include "script/engine_fixture.h"
#include "script/vector.h"

namespace pm::testing {
namespace {

using Constructions = EngineTest;

TEST_F(Constructions, TwoLines) {
  point(U'X', 0, 0);
  point(U'A', 10, 10);
  point(U'B', 0, 10);
  point(U'Y', 10, 0);
  e.run(U"41P=XA*BY");
  EXPECT_POINT_NEAR(at(U'P'), 5, 5);
  point(U'H', 0, 0);
  point(U'b', 0, 1);
  point(U'J', 0, 1);
  e.run(U"41J=ABxHb");  // line 2 vertical at x = 0
  EXPECT_POINT_NEAR(at(U'J'), 0, 10);
}

class DyadAssembly : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    point(U'A', 0, 0);
    point(U'Y', 10, 0);
    point(U'B', -1, -1);
    e.reg.lenOf(U'b') = 6;
    e.reg.lenOf(U'c') = 8;
  }
};

TEST_F(DyadAssembly, SignOfSecondRadiusChoosesTheBranch) {
  e.s.kks = 9;
  e.run(U"42SB=b+AY+c");
  EXPECT_EQ(e.s.kks, 0);
  EXPECT_POINT_NEAR(at(U'B'), 3.6, 4.8);
  // Labels: b between A and B, c between B and Y.
  EXPECT_NEAR(e.reg.len[code(U'b') + 80], 1.8, 1e-9);
  EXPECT_NEAR(e.reg.ang[code(U'b') + 80], 2.4, 1e-9);
  EXPECT_NEAR(e.reg.len[code(U'c') + 80], 6.8, 1e-9);
  EXPECT_NEAR(e.reg.ang[code(U'c') + 80], 2.4, 1e-9);

  e.reg.lenOf(U'c') = -8;
  e.run(U"42SB=b+AY+c");
  EXPECT_POINT_NEAR(at(U'B'), 3.6, -4.8);
  e.reg.lenOf(U'b') = -6;  // the sign of the first radius has no effect
  e.run(U"42SB=b+AY+c");
  EXPECT_POINT_NEAR(at(U'B'), 3.6, -4.8);
}

TEST_F(DyadAssembly, CirclesThatDoNotMeetLeaveTheResult) {
  e.reg.lenOf(U'c') = 3;
  e.run(U"42SB=b+AY+c");
  EXPECT_EQ(e.s.kks, 1);
  EXPECT_POINT_NEAR(at(U'B'), -1, -1);
  EXPECT_EQ(e.reg.len[code(U'b') + 80], 0);

  e.reg.lenOf(U'c') = 20;
  e.run(U"42SB=b+AY+c");
  EXPECT_EQ(e.s.kks, 2);
  e.reg.lenOf(U'b') = 20;
  e.reg.lenOf(U'c') = 3;
  e.run(U"42SB=b+AY+c");
  EXPECT_EQ(e.s.kks, 3);

  // Same centre, different radii: the centre distance 0.001 is too small.
  point(U'Y', 0, 0);
  e.run(U"42SB=b+AY+c");
  EXPECT_EQ(e.s.kks, 3);
  e.reg.lenOf(U'c') = 30;
  e.run(U"42SB=b+AY+c");
  EXPECT_EQ(e.s.kks, 2);
  EXPECT_POINT_NEAR(at(U'B'), -1, -1);
}

TEST_F(DyadAssembly, TinySecondRadiusKeepsItsSign) {
  // Circle about A of radius 10, about Y (10 away) of radius ~0: touches Y.
  e.reg.lenOf(U'b') = 10;
  e.reg.lenOf(U'c') = 0;
  e.run(U"42SB=b+AY+c");
  EXPECT_EQ(e.s.kks, 0);
  const Point up = at(U'B');
  EXPECT_NEAR(up.x, 10, 1e-6);
  EXPECT_GT(up.y, 0);  // 0 counts as +0.0001
  e.reg.lenOf(U'c') = -0.00005;
  e.run(U"42SB=b+AY+c");
  EXPECT_NEAR(at(U'B').y, -up.y, 1e-12);  // treated as −0.0001
}

TEST_F(DyadAssembly, TangentCirclesGiveTheTouchingPoint) {
  // 0.1 + 0.2 differs from 0.3 by rounding; whatever the sign of r1² − p²,
  // the result is the touching point on the centre line.
  point(U'Y', 0.3, 0);
  e.reg.lenOf(U'b') = 0.1;
  e.reg.lenOf(U'c') = 0.2;
  e.run(U"42SB=b+AY+c");
  EXPECT_EQ(e.s.kks, 0);
  EXPECT_FALSE(std::isnan(at(U'B').y));
  EXPECT_NEAR(at(U'B').x, 0.1, 1e-6);
  EXPECT_NEAR(at(U'B').y, 0, 1e-6);
  for (double d : {1.0, 3.3, 7.7, 1e5 / 3}) {  // internally tangent, many distances
    point(U'Y', d, 0);
    e.reg.lenOf(U'b') = d + 0.7;
    e.reg.lenOf(U'c') = 0.7;
    e.run(U"42SB=b+AY+c");
    EXPECT_FALSE(std::isnan(at(U'B').x) || std::isnan(at(U'B').y)) << d;
  }
}

TEST_F(Constructions, BothCircleIntersections) {
  point(U'A', 0, 0);
  point(U'Y', 10, 0);
  point(U'a', 6, 0);   // circle about A through a: radius 6
  point(U'y', 10, 8);  // circle about Y through y: radius 8
  point(U'P', -1, -1);
  point(U'Q', -1, -1);
  e.run(U"43PQ=a+AY+y");
  EXPECT_EQ(e.s.kks, 0);
  EXPECT_POINT_NEAR(at(U'P'), 3.6, 4.8);
  EXPECT_POINT_NEAR(at(U'Q'), 3.6, -4.8);
  point(U'y', 10, 3);
  e.run(U"43RS=a+AY+y");
  EXPECT_EQ(e.s.kks, 1);
  EXPECT_POINT_NEAR(at(U'R'), 0, 0);
}

TEST_F(Constructions, LineAndCircle) {
  point(U'A', -10, 3);
  point(U'B', 10, 3);
  point(U'M', 0, 0);
  point(U'R', 5, 0);  // radius 5: chord at y = 3 from x = −4 to 4
  e.run(U"44PQ=AB+MR");
  // Point 3 lies from the foot in the direction of A − B.
  EXPECT_POINT_NEAR(at(U'P'), -4, 3);
  EXPECT_POINT_NEAR(at(U'Q'), 4, 3);
  point(U'R', 2, 0);  // misses: both at the centre
  e.run(U"44PQ=AB+MR");
  EXPECT_POINT_NEAR(at(U'P'), 0, 0);
  EXPECT_POINT_NEAR(at(U'Q'), 0, 0);
}

TEST_F(Constructions, AngleBisector) {
  point(U'A', 0, 10);
  point(U'O', 0, 0);
  point(U'B', 10, 0);
  e.run(U"45P=AOB");
  // Point on the bisector of the right angle at O, (10 + 10)/2 away.
  const Point p = at(U'P');
  EXPECT_NEAR(p.x, p.y, 1e-9);
  EXPECT_NEAR(std::hypot(p.x, p.y), 10, 1e-9);
  EXPECT_GT(p.x, 0);
}

TEST_F(Constructions, SimilarTriangle) {
  point(U'P', 0, 0);
  point(U'A', 1, 0);
  point(U'B', 0, 2);
  point(U'D', 1, 0);
  e.run(U"46TPA~BPD");
  EXPECT_POINT_NEAR(at(U'T'), 0, 2);
  // General case against the complex-number form P4 + (P4 − P5)(P7 − P8)/(P8 − P9).
  point(U'P', 2, 3);
  point(U'A', -1, 5);
  point(U'B', 4, -2);
  point(U'D', 7, 1);
  e.run(U"46TPA~BPD");
  const double ux = 3, uy = -2;  // P4 − P5
  const double vx = 2, vy = -5;  // P7 − P8
  const double wx = -5, wy = 2;  // P8 − P9
  const double nx = ux * vx - uy * vy, ny = ux * vy + uy * vx;
  const double den = wx * wx + wy * wy;
  EXPECT_POINT_NEAR(at(U'T'), 2 + (nx * wx + ny * wy) / den, 3 + (ny * wx - nx * wy) / den);
  // Degenerate reference side: 2·P4 − P5.
  point(U'D', 2, 3);
  e.run(U"46TPA~BPD");
  EXPECT_POINT_NEAR(at(U'T'), 5, 1);
}

TEST_F(Constructions, TransferMidpointAndAngleCopy) {
  point(U'a', 3, 4);
  point(U'A', 0, 0);
  point(U'X', 0, -10);
  e.run(U"47Â=aAX");
  EXPECT_POINT_NEAR(at(U'Â'), 0, -5);
  point(U'X', 0, 0);  // coincident ray points: straight down the screen (+y)
  e.run(U"47Â=aAX");
  EXPECT_POINT_NEAR(at(U'Â'), 0, 5);

  point(U'P', 0, 0);
  point(U'W', 4, 6);
  e.run(U"49PM=MW");
  EXPECT_POINT_NEAR(at(U'M'), 2, 3);

  e.reg.angOf(U'A') = 1.25;
  e.reg.lenOf(U'x') = 7;
  e.run(U"48x=A");
  EXPECT_EQ(e.reg.angOf(U'x'), 1.25);
  EXPECT_EQ(e.reg.lenOf(U'x'), 7);
}

TEST_F(Constructions, FourBarAssemblyScript) {
  e.reg.valOf(U'a') = 300;
  e.reg.valOf(U'b') = 560;
  e.reg.lenOf(U'a') = 80;
  e.reg.lenOf(U'b') = 150;
  e.reg.lenOf(U'c') = -120;
  e.reg.lenOf(U'd') = 180;
  e.reg.angOf(U'a') = kPi / 2;
  e.run(U":25X(a,b):29d=(d):22Y=X+d:22A=X+a:42SB=b+AY+c");
  EXPECT_EQ(e.s.kks, 0);
  EXPECT_POINT_NEAR(at(U'Y'), 480, 560);
  EXPECT_POINT_NEAR(at(U'A'), 300, 480);
  const Point b = at(U'B');
  EXPECT_NEAR(std::hypot(b.x - 300, b.y - 480), 150, 1e-9);
  EXPECT_NEAR(std::hypot(b.x - 480, b.y - 560), 120, 1e-9);
  EXPECT_TRUE(e.errors().empty());
}

}  // namespace
}  // namespace pm::testing

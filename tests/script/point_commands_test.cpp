// Operations 21 … 29 and 36 … 39: the arithmetic of points, vectors and
// scalars, with the label positions that operation 22 stores.
#include <gtest/gtest.h>

#include <cmath>

#include "script/engine_fixture.h"
#include "script/vector.h"

namespace pm::testing {
namespace {

using PointCommands = EngineTest;

TEST_F(PointCommands, TranslateByADifference) {
  point(U'B', 100, 50);
  point(U'b', 30, 0);
  point(U'H', 10, 20);
  e.run(U"21K=B+bH");
  EXPECT_POINT_NEAR(at(U'K'), 120, 30);
  // 27 reads its base at position 4 and the difference at 6 and 7.
  point(U'P', 1, 1);
  e.run(U"27EP|bH");
  EXPECT_POINT_NEAR(at(U'E'), 21, -19);
  // The result may be one of the inputs.
  e.run(U"21B=B+bH");
  EXPECT_POINT_NEAR(at(U'B'), 120, 30);
}

TEST_F(PointCommands, AngleFromDegreesAndVectorAddition) {
  e.reg.valOf(U'd') = 90;
  e.reg.lenOf(U'd') = 500;
  point(U'X', 350, 500);
  e.run(U"29d=(d):22Y=X+d");
  EXPECT_DOUBLE_EQ(e.reg.angOf(U'd'), kPi / 2);
  EXPECT_DOUBLE_EQ(e.reg.lenOf(U'd'), 500);  // 29 leaves the length alone
  EXPECT_POINT_NEAR(at(U'Y'), 350, 0);       // 90° points to smaller y
  EXPECT_NEAR(e.reg.len[code(U'd') + 80], 350, 1e-9);
  EXPECT_NEAR(e.reg.ang[code(U'd') + 80], 250, 1e-9);
}

TEST_F(PointCommands, VectorFromTwoPointsReproducesThePoint) {
  const Point cases[][2] = {{{3, 4}, {0, 0}},  {{-7, 2}, {5, 5}},   {{5, 5}, {5, 5}},
                            {{0, -9}, {0, 1}}, {{-1, -1}, {2, -3}}, {{1e4, 0}, {-1e4, 0}}};
  for (const auto& c : cases) {
    e.reg.setPoint(U'K', c[0]);
    e.reg.setPoint(U'X', c[1]);
    e.run(U"28a=KX:22Z=X+a");
    EXPECT_NEAR(at(U'Z').x, c[0].x, 1e-9);
    EXPECT_NEAR(at(U'Z').y, c[0].y, 1e-9);
  }
}

TEST_F(PointCommands, QuarterTurnReadsItsBaseAtPositionSeven) {
  point(U'I', 0, 0);
  point(U'A', 10, 0);
  point(U'R', 77, 77);  // position 5 is notation
  e.run(U"23J=R+IA");
  EXPECT_POINT_NEAR(at(U'J'), 0, -10);
  point(U'K', 5, 5);
  point(U'P', 5, 8);
  e.run(U"23Ì=.+KP");
  EXPECT_POINT_NEAR(at(U'Ì'), 8, 5);
}

TEST_F(PointCommands, FootOfThePerpendicular) {
  point(U'A', 0, 0);
  point(U'B', 10, 10);
  point(U'C', 0, 10);
  e.run(U"24F=C+AB");
  EXPECT_POINT_NEAR(at(U'F'), 5, 5);
  EXPECT_POINT_NEAR((Point{e.s.X, e.s.Y}), 5, 5);
  // Onto a horizontal line.
  point(U'D', 10, 0);
  e.run(U"24G=C+AD");
  EXPECT_NEAR(at(U'G').x, 0, 1e-9);
  EXPECT_NEAR(at(U'G').y, 0, 1e-9);
}

TEST_F(PointCommands, PointFromValuesAndCopy) {
  e.reg.valOf(U'a') = 300;
  e.reg.valOf(U'b') = 560;
  e.run(U"25X(a,b):36S=X");
  EXPECT_POINT_NEAR(at(U'X'), 300, 560);
  EXPECT_POINT_NEAR(at(U'S'), 300, 560);
}

TEST_F(PointCommands, DistanceLaidOffInADirection) {
  point(U'A', 1, 1);
  point(U'X', 4, 5);  // |A − X| = 5
  point(U'B', 1, 11);
  e.run(U"262=A+AX|BA");  // direction B − A: +y
  EXPECT_POINT_NEAR(at(U'2'), 1, 6);
  point(U'C', 1, 1);
  e.run(U"263=A+AX|CA");  // zero direction: standard angle π/2, along +y
  EXPECT_POINT_NEAR(at(U'3'), 1, 6);
}

TEST_F(PointCommands, SumOfAbsoluteLengths) {
  e.reg.lenOf(U'a') = -3;
  e.reg.lenOf(U'd') = 4;
  e.run(U"38l=a+d");
  EXPECT_EQ(e.reg.lenOf(U'l'), 7);
}

TEST_F(PointCommands, LengthAlongARay) {
  e.reg.lenOf(U'l') = 5;
  point(U'A', 0, 0);
  point(U'Y', 3, 4);
  e.run(U"39E=l-AY");
  EXPECT_POINT_NEAR(at(U'E'), 3, 4);
  e.reg.lenOf(U'l') = 2;
  point(U'Y', 0, 0);  // coincident: straight along +y
  e.run(U"39E=l-AY");
  EXPECT_POINT_NEAR(at(U'E'), 0, 2);
}

TEST_F(PointCommands, UnwrittenRegistersReadZero) {
  e.run(U"21K=B+bH:28v=QR");
  EXPECT_POINT_NEAR(at(U'K'), 0, 0);
  EXPECT_EQ(e.reg.lenOf(U'v'), 0);
}

}  // namespace
}  // namespace pm::testing

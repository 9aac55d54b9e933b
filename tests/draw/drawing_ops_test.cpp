// The drawing operations as scripts run them: recorded primitives, colours,
// widths, label texts, trace state and operand faults.
#include "draw/drawing_ops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>

#include "draw/colour_tables.h"
#include "draw/recording_canvas.h"
#include "script/engine.h"

namespace pm {
namespace {

using Kind = Primitive::Kind;
constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180;
const Rgb kWhite = rgb(255, 255, 255);
const Rgb kBlack = rgb(0, 0, 0);

class DrawingOpsTest : public ::testing::Test {
 protected:
  DrawingOpsTest() : ops(engine, canvas) {
    engine.setDrawingHook(&ops);
    engine.setTextOutput(&canvas);
    engine.beginCommand();
    ops.beginCommand();
    ops.palette = buildPalette(128, 196, 256, kWhite);
  }

  void at(char32_t reg, double x, double y) { engine.reg.setPoint(reg, {x, y}); }
  void run(std::u32string_view script) { engine.run(script); }
  const DisplayList& list() const { return canvas.list(); }
  std::vector<Primitive> ofKind(Kind k) const {
    std::vector<Primitive> out;
    for (const Primitive& p : list())
      if (p.kind == k) out.push_back(p);
    return out;
  }
  std::vector<std::u32string> texts() const {
    std::vector<std::u32string> out;
    for (const Primitive& p : ofKind(Kind::Text)) out.push_back(p.text);
    return out;
  }
  // A point at distance d from centre c in the screen direction of angle a (degrees).
  void onRay(char32_t reg, Point c, double degrees, double d = 100) {
    at(reg, c.x + d * std::cos(degrees * kDegree), c.y - d * std::sin(degrees * kDegree));
  }

  Engine engine;
  RecordingCanvas canvas;
  DrawingOps ops;
};

// --- 61: angle arcs -----------------------------------------------------------

TEST_F(DrawingOpsTest, AngleArcSpansTheSmallerAngleThroughZero) {
  const Point v{500, 400};
  at(U'P', v.x, v.y);
  onRay(U'a', v, 30);
  onRay(U'A', v, 300);
  run(U"61(n28aPA");
  ASSERT_EQ(list().size(), 1u);
  const Primitive& arc = list()[0];
  EXPECT_EQ(arc.kind, Kind::Arc);
  EXPECT_NEAR(arc.start, 300 * kDegree, 1e-9);
  EXPECT_NEAR(arc.end, 30 * kDegree, 1e-9);
  EXPECT_NEAR(arcSweep(arc), 90 * kDegree, 1e-9);
  EXPECT_DOUBLE_EQ(arc.r, 40);  // 5 · 8
  EXPECT_DOUBLE_EQ(arc.x1, 500);
  EXPECT_FALSE(arc.edgeStart || arc.edgeEnd);
  EXPECT_EQ(arc.colour, rgb(255, 0, 255));  // fixed colour "n"
  EXPECT_DOUBLE_EQ(arc.width, 2);
  EXPECT_EQ(arc.fillStyle, kFillTransparent);
}

TEST_F(DrawingOpsTest, AngleArcEdgesAndSectorForms) {
  const Point v{500, 400};
  at(U'P', v.x, v.y);
  onRay(U'a', v, 30);
  onRay(U'A', v, 300);
  at(U'B', 560, 480);  // distance 100 from V

  run(U"61)n28aPA");  // ")" adds the radius lines
  ASSERT_EQ(list().size(), 1u);
  EXPECT_TRUE(list()[0].edgeStart && list()[0].edgeEnd);
  EXPECT_NEAR(list()[0].start, 300 * kDegree, 1e-9);

  canvas.clear();
  run(U"61(n20aPAB");  // ten characters, fill digit 0: solid sector, radius from point 10
  ASSERT_EQ(list().size(), 1u);
  Primitive s = list()[0];
  EXPECT_TRUE(s.edgeStart && s.edgeEnd);
  EXPECT_DOUBLE_EQ(s.r, 100);
  EXPECT_EQ(s.fillStyle, kFillSolid);
  EXPECT_EQ(s.fillColour, rgb(50, 255, 50));
  EXPECT_EQ(s.colour, rgb(255, 0, 255));

  canvas.clear();
  run(U"61)n20aPAB");  // ")" removes the edges again
  EXPECT_FALSE(list()[0].edgeStart || list()[0].edgeEnd);

  canvas.clear();
  run(U"61)n21aPAB");  // digit 1: no edges of its own, ")" adds them
  EXPECT_TRUE(list()[0].edgeStart && list()[0].edgeEnd);
  EXPECT_EQ(list()[0].fillStyle, kFillTransparent);

  canvas.clear();
  run(U"61)n28aPAB");  // width-scaled form: palette colour, width 2·qbr, edges kept
  s = list()[0];
  EXPECT_TRUE(s.edgeStart && s.edgeEnd);
  EXPECT_DOUBLE_EQ(s.width, 4);
  EXPECT_EQ(s.colour, ops.palette[13]);
  EXPECT_EQ(s.fillStyle, kFillTransparent);
}

TEST_F(DrawingOpsTest, AngleArcWithHugeRadiusIsSkipped) {
  at(U'P', 0, 0);
  at(U'a', 10, 0);
  at(U'A', 0, 10);
  at(U'B', 200000, 0);
  run(U"61(n20aPAB");
  EXPECT_TRUE(list().empty());
  EXPECT_TRUE(engine.errors().empty());
}

// --- 62, 63: joints and frame pivots -------------------------------------------

TEST_F(DrawingOpsTest, JointCirclesScaleWithTheSymbolScale) {
  at(U'f', 100, 200);
  at(U'g', 300, 200);
  run(U"62°m13fg");
  const auto circles = ofKind(Kind::Circle);
  ASSERT_EQ(circles.size(), 2u);
  for (const Primitive& c : circles) {
    EXPECT_DOUBLE_EQ(c.r, 6);      // 3 · qbr
    EXPECT_DOUBLE_EQ(c.width, 4);  // 1 · qbr²
    EXPECT_EQ(c.fillStyle, kFillSolid);
    EXPECT_EQ(c.fillColour, kWhite);  // background
    EXPECT_EQ(c.colour, ops.palette[12]);
  }
  EXPECT_DOUBLE_EQ(circles[1].x1, 300);

  canvas.clear();
  run(U"620m13f");
  EXPECT_EQ(list()[0].fillStyle, kFillTransparent);
  canvas.clear();
  run(U"62cm13f");
  EXPECT_EQ(list()[0].fillColour, ops.palette[2]);

  canvas.clear();
  ops.settings.qbr = 0.5;  // below 1 the width stays unscaled
  run(U"620m33f");
  EXPECT_DOUBLE_EQ(list()[0].width, 3);
  EXPECT_DOUBLE_EQ(list()[0].r, 1.5);
}

TEST_F(DrawingOpsTest, JointLettersFollowTheLetterSwitch) {
  at(U'B', 100, 200);
  run(U"62dn15B");
  EXPECT_TRUE(texts().empty());

  ops.settings.qsc = 1;
  ops.settings.mn1 = 2;
  canvas.clear();
  run(U"62dn15B");
  ASSERT_EQ(texts().size(), 1u);
  const Primitive text = ofKind(Kind::Text)[0];
  EXPECT_EQ(text.text, U"B");
  EXPECT_DOUBLE_EQ(text.x1, 110);  // centre + r, r = 5 · 2
  EXPECT_DOUBLE_EQ(text.y1, 210);
  EXPECT_EQ(text.font, "Areal");
  EXPECT_DOUBLE_EQ(text.size, 14);
  EXPECT_EQ(text.colour, kBlack);
  EXPECT_EQ(canvas.textColour(), kBlack);  // stays set for later text

  ops.settings.mn1 = 1;  // four-bar pole page: no joint letters
  ops.settings.mn2 = 2;
  canvas.clear();
  run(U"62dn15B");
  EXPECT_TRUE(texts().empty());
}

TEST_F(DrawingOpsTest, FramePivotIsADiscWithTwoLightQuarters) {
  at(U'X', 100, 100);
  at(U'A', 200, 100);
  run(U"63*g8XA");
  ASSERT_EQ(list().size(), 3u);
  const double r = 0.7 * 8 * 2;
  EXPECT_EQ(list()[0].kind, Kind::Circle);
  EXPECT_DOUBLE_EQ(list()[0].r, r + 1);
  EXPECT_EQ(list()[0].fillColour, ops.palette[6]);
  const double s0 = 0.01 * kDegree;  // +x: 360° → 0° + 0.01°
  for (int i = 1; i <= 2; ++i) {
    const Primitive& s = list()[i];
    EXPECT_EQ(s.kind, Kind::Arc);
    EXPECT_DOUBLE_EQ(s.r, r);
    EXPECT_TRUE(s.edgeStart && s.edgeEnd);
    EXPECT_EQ(s.fillColour, ops.palette[15]);
    EXPECT_EQ(s.colour, ops.palette[6]);
    EXPECT_DOUBLE_EQ(s.width, 1);
  }
  EXPECT_NEAR(list()[1].start, s0, 1e-12);
  EXPECT_NEAR(list()[1].end, s0 + kPi / 2, 1e-12);
  EXPECT_NEAR(list()[2].start, s0 + kPi, 1e-12);
  EXPECT_NEAR(list()[2].end, s0 + 3 * kPi / 2, 1e-12);
}

// --- 64: traced curves ----------------------------------------------------------

TEST_F(DrawingOpsTest, TraceJoinsConsecutiveStepsOfATracingLoop) {
  at(U'C', 100, 100);
  ops.settings.traceCounter = 0;  // first step of the loop: only remembers
  run(U"64~b1-C");
  EXPECT_TRUE(list().empty());
  EXPECT_DOUBLE_EQ(engine.s.X, 100);

  at(U'C', 110, 120);
  ops.settings.traceCounter = 1;
  run(U"64~b1-C");
  ASSERT_EQ(list().size(), 1u);
  const Primitive& l = list()[0];
  EXPECT_EQ(l.kind, Kind::Line);
  EXPECT_DOUBLE_EQ(l.x1, 100);
  EXPECT_DOUBLE_EQ(l.y1, 100);
  EXPECT_DOUBLE_EQ(l.x2, 110);
  EXPECT_DOUBLE_EQ(l.y2, 120);
  EXPECT_EQ(l.colour, fixedColour(1));
  EXPECT_DOUBLE_EQ(engine.s.X, 100);  // X, Y hold the start of the segment

  // A jump of more than about 316 units is not joined; the curve goes on from there.
  at(U'C', 500, 120);
  run(U"64~b1-C");
  EXPECT_EQ(list().size(), 1u);
  EXPECT_DOUBLE_EQ(engine.s.X, 500);
  at(U'C', 505, 125);
  run(U"64~b1-C");
  ASSERT_EQ(list().size(), 2u);
  EXPECT_DOUBLE_EQ(list()[1].x1, 500);
  EXPECT_DOUBLE_EQ(list()[1].x2, 505);
}

TEST_F(DrawingOpsTest, TraceStartsAfreshEachCommandAndSkipsFarStarts) {
  ops.settings.traceCounter = 5;
  at(U'C', 100, 100);
  run(U"64~b1-C");  // not started yet: the first point only
  EXPECT_TRUE(list().empty());
  at(U'C', 110, 100);
  run(U"64~b1-C");
  ASSERT_EQ(list().size(), 1u);

  ops.beginCommand();  // next key event forgets the trace
  at(U'C', 120, 100);
  run(U"64~b1-C");
  EXPECT_EQ(list().size(), 1u);
  at(U'C', 130, 100);
  run(U"64~b1-C");
  ASSERT_EQ(list().size(), 2u);
  EXPECT_DOUBLE_EQ(list()[1].x1, 120);

  canvas.clear();
  at(U'C', 1000, 100);  // start outside ±999: nothing drawn
  run(U"64~b1-C");
  at(U'C', 1010, 100);
  run(U"64~b1-C");
  EXPECT_TRUE(list().empty());
}

// --- 65, 66: point circles and polylines ----------------------------------------

TEST_F(DrawingOpsTest, PointCirclesAndTheirLetters) {
  at(U'A', 40, 50);
  at(U'B', 60, 70);
  run(U"65.j14AB");
  ASSERT_EQ(list().size(), 2u);
  EXPECT_DOUBLE_EQ(list()[0].r, 4);
  EXPECT_DOUBLE_EQ(list()[0].width, 1);
  EXPECT_EQ(list()[0].colour, fixedColour(9));
  EXPECT_EQ(list()[0].fillColour, kWhite);

  canvas.clear();
  ops.settings.qßß = 1;
  run(U"65.j14AB");
  ASSERT_EQ(texts().size(), 2u);
  EXPECT_EQ(texts()[1], U"B");
  EXPECT_DOUBLE_EQ(ofKind(Kind::Text)[1].x1, 60);
  EXPECT_DOUBLE_EQ(ofKind(Kind::Text)[1].y1, 70);
}

TEST_F(DrawingOpsTest, PolylineClosesTheTriangleAndScalesWideLines) {
  at(U'A', 100, 100);
  at(U'B', 200, 100);
  at(U'C', 150, 200);
  run(U"66-j1ABCA");
  const auto lines = ofKind(Kind::Line);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_DOUBLE_EQ(lines[2].x1, 150);
  EXPECT_DOUBLE_EQ(lines[2].x2, 100);  // back to A
  EXPECT_EQ(lines[0].colour, fixedColour(9));
  EXPECT_DOUBLE_EQ(lines[0].width, 1);

  canvas.clear();
  run(U"66-j2AB");
  EXPECT_DOUBLE_EQ(list()[0].width, 4);
  EXPECT_EQ(list()[0].colour, ops.palette[9]);

  canvas.clear();
  run(U"66-j0AB");  // width 0 still draws at least 1 wide
  EXPECT_DOUBLE_EQ(list()[0].width, 1);
}

TEST_F(DrawingOpsTest, LongPolylineSegmentsNeedTheOverviewFlag) {
  at(U'A', 0, 0);
  at(U'B', 4000, 0);  // 4000² > 9999999
  run(U"66-j1AB");
  EXPECT_TRUE(list().empty());
  ops.settings.qer = 1;
  run(U"66-j1AB");
  EXPECT_EQ(list().size(), 1u);
}

// --- 67, 68: arrows and tick marks ------------------------------------------------

TEST_F(DrawingOpsTest, ArrowHasAShaftAndAWedgeAtItsHead) {
  at(U'A', 100, 100);
  at(U'a', 200, 100);
  run(U"67>k8Aa");
  ASSERT_EQ(list().size(), 3u);
  const Primitive& shaft = list()[0];
  EXPECT_EQ(shaft.kind, Kind::Line);
  EXPECT_DOUBLE_EQ(shaft.width, 3);
  EXPECT_EQ(shaft.colour, fixedColour(10));
  EXPECT_DOUBLE_EQ(shaft.x1, 100);
  EXPECT_NEAR(shaft.x2, 176, 1e-9);
  EXPECT_NEAR(shaft.y2, 100, 1e-9);
  const Primitive& core = list()[1];
  EXPECT_DOUBLE_EQ(core.width, 1);
  EXPECT_EQ(core.colour, kBlack);
  const Primitive& head = list()[2];
  EXPECT_EQ(head.kind, Kind::Arc);
  EXPECT_DOUBLE_EQ(head.x1, 200);
  EXPECT_DOUBLE_EQ(head.r, 24);
  EXPECT_NEAR(head.start, 165 * kDegree, 1e-9);  // opens toward the tail
  EXPECT_NEAR(head.end, 195 * kDegree, 1e-9);
  EXPECT_TRUE(head.edgeStart && head.edgeEnd);
  EXPECT_EQ(head.fillStyle, kFillSolid);
  EXPECT_EQ(head.fillColour, fixedColour(10));
  EXPECT_EQ(head.colour, kBlack);
}

TEST_F(DrawingOpsTest, ArrowPointingUpOpensDownward) {
  at(U'A', 100, 200);
  at(U'a', 100, 100);
  run(U"67>k8Aa");
  const Primitive& head = list()[2];
  // The tail lies below the head: screen angle 270°.
  EXPECT_NEAR((head.start + head.end) / 2, 270 * kDegree, 1e-9);
  EXPECT_NEAR(list()[0].y2, 124, 1e-9);
}

TEST_F(DrawingOpsTest, TickMarkCrossesTheMiddleOfTheSegment) {
  at(U'A', 100, 100);
  at(U'B', 200, 100);
  run(U"68'j18AB");
  ASSERT_EQ(list().size(), 1u);
  const Primitive& t = list()[0];
  EXPECT_NEAR(t.x1, 152, 1e-9);
  EXPECT_NEAR(t.y1, 92, 1e-9);
  EXPECT_NEAR(t.x2, 152, 1e-9);
  EXPECT_NEAR(t.y2, 108, 1e-9);
  EXPECT_DOUBLE_EQ(t.width, 1);
}

// --- 69: labelled point circles ---------------------------------------------------

TEST_F(DrawingOpsTest, LabelledCirclesUseTheTopicsLabelTable) {
  at(U'A', 100, 100);
  at(U'Æ', 200, 100);
  at(U'Z', 300, 100);
  run(U"69oa15AÆZ");
  ASSERT_EQ(ofKind(Kind::Circle).size(), 3u);
  EXPECT_DOUBLE_EQ(ofKind(Kind::Circle)[0].r, 5);
  EXPECT_TRUE(texts().empty());

  ops.settings.qsc = 1;
  ops.settings.mn1 = 1;
  ops.settings.mn2 = 2;
  canvas.clear();
  run(U"69oa15AÆZ");
  EXPECT_EQ(texts(), (std::vector<std::u32string>{U"Pab", U"Æ", U"Z"}));
  EXPECT_DOUBLE_EQ(ofKind(Kind::Text)[0].x1, 105);

  // Each picture is a command of its own.
  auto picture = [&](std::u32string_view script) {
    canvas.clear();
    ops.beginCommand();
    run(script);
  };
  ops.settings.mn1 = 10;
  picture(U"69oa15AÆZ");
  EXPECT_EQ(texts(), (std::vector<std::u32string>{U"I=A1", U"Æ", U"Z"}));
  ops.settings.positionsBeside = true;  // the positions beside the handed-over mechanism
  picture(U"69oa15AÆZ");
  ops.settings.positionsBeside = false;
  run(U"69oa15A");  // the same point marked again in that picture keeps its one name
  EXPECT_EQ(texts(), (std::vector<std::u32string>{U"A1", U"Æ", U"Z"}));

  ops.settings.mn1 = 4;
  picture(U"69oa15AÆZ");
  EXPECT_EQ(texts(), (std::vector<std::u32string>{U"A", U"P''", U"Z"}));

  // A point that two commands of the picture mark is named once; another
  // point on the same spot is named one line lower instead of over it.
  at(U'B', 100, 100);
  picture(U"69oa15A:69oa15AB");
  EXPECT_EQ(texts(), (std::vector<std::u32string>{U"A", U"B"}));
  EXPECT_DOUBLE_EQ(ofKind(Kind::Text)[1].y1, ofKind(Kind::Text)[0].y1 + 12);
}

// --- faults and limits ------------------------------------------------------------

TEST_F(DrawingOpsTest, OperandOutsideThePointBankAbandonsTheScriptUndrawn) {
  at(U'A', 100, 100);
  run(U"62dn15A!:66-j1AA");  // "!" has code -15
  EXPECT_TRUE(list().empty());
  ASSERT_EQ(engine.errors().size(), 1u);
  EXPECT_EQ(engine.errors()[0].command, U"62dn15A!");

  engine.clearErrors();
  run(U"66-j1A\u0600");  // code 1488, beyond point register 1296
  EXPECT_EQ(engine.errors().size(), 1u);
  engine.clearErrors();
  run(U"61(n28aP");  // the third point of the angle is missing
  EXPECT_EQ(engine.errors().size(), 1u);
  EXPECT_TRUE(list().empty());

  engine.clearErrors();
  run(U"62dn1");  // shorter than 7 characters: nothing, and no fault
  run(U"64~b1-");
  EXPECT_TRUE(engine.errors().empty());
  EXPECT_TRUE(list().empty());
}

TEST_F(DrawingOpsTest, ColourLettersOutsideTheirTableDrawBlack) {
  at(U'A', 100, 100);
  at(U'B', 200, 100);
  run(U"66-z1AB");       // fixed table ends at "p"
  run(U"66-\u00ff2AB");  // palette index far beyond 32
  run(U"66-{2AB");       // palette 26 … 32 are black
  // The last two are the same wide black line, which the picture keeps once.
  ASSERT_EQ(list().size(), 2u);
  for (const Primitive& p : list()) EXPECT_EQ(p.colour, kBlack);
  EXPECT_TRUE(engine.errors().empty());
}

TEST_F(DrawingOpsTest, CoordinatesAreLimitedAndNonNumbersNeverRecorded) {
  at(U'A', 5e6, -5e6);
  run(U"65.j14A");
  ASSERT_EQ(list().size(), 1u);
  EXPECT_DOUBLE_EQ(list()[0].x1, 999999);
  EXPECT_DOUBLE_EQ(list()[0].y1, -999999);

  canvas.clear();
  at(U'B', std::nan(""), 0);
  at(U'C', 0, std::numeric_limits<double>::infinity());
  run(U"65.j14BC:66-j1ABC:62dn15BC:69oa15BC:67>k8BC:63*g8BC:68'j18BC:61(n28BCB:64~b1-BC");
  for (const Primitive& p : list()) {
    EXPECT_TRUE(std::isfinite(p.x1) && std::isfinite(p.y1) && std::isfinite(p.x2) &&
                std::isfinite(p.y2) && std::isfinite(p.r) && std::isfinite(p.start) &&
                std::isfinite(p.end))
        << kindName(p.kind);
  }
}

TEST_F(DrawingOpsTest, ArbitraryCommandsAndRegisterValuesNeverRecordNonNumbers) {
  const double values[] = {
      0,   100.5, -3e6, 1e300, -1e300, std::nan(""), std::numeric_limits<double>::infinity(),
      640, 41};
  const char32_t pool[] = {U'a', U'z', U'A',      U'Z',      U'0',      U'9',      U'(', U')', U'!',
                           U'|', U'~', U'\u00b0', U'\u00c6', U'\u00ff', U'\u0600', U'{', U' '};
  unsigned seed = 2024;
  auto next = [&seed](unsigned n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  };
  for (int k = 0; k < Registers::kPointCount; k += 7) {
    engine.reg.px[k] = values[next(9)];
    engine.reg.py[k] = values[next(9)];
  }
  const double scales[] = {2, 0, -1, 1e300, std::nan("")};
  for (int n = 0; n < 3000; ++n) {
    ops.settings.qbr = scales[next(5)];
    ops.settings.qsc = static_cast<int>(next(2));
    ops.settings.qßß = static_cast<int>(next(2));
    ops.settings.traceCounter = static_cast<int>(next(3));
    std::u32string command = U"6";
    command += static_cast<char32_t>(U'0' + next(10));
    const unsigned length = next(12);
    for (unsigned i = 0; i < length; ++i) command += pool[next(std::size(pool))];
    run(command);
    engine.clearErrors();
  }
  ASSERT_FALSE(list().empty());
  for (const Primitive& p : list()) {
    ASSERT_TRUE(std::isfinite(p.x1) && std::isfinite(p.y1) && std::isfinite(p.x2) &&
                std::isfinite(p.y2) && std::isfinite(p.r) && std::isfinite(p.start) &&
                std::isfinite(p.end) && std::isfinite(p.width))
        << kindName(p.kind);
  }
}

TEST_F(DrawingOpsTest, RepeatedEmptyCommandDrawsTheFigureOnce) {
  at(U'A', 100, 100);
  at(U'X', 200, 100);
  at(U'B', 100, 200);
  at(U'Y', 200, 200);
  // The empty command repeats the first polyline, which is recorded once.
  run(U":66-m1AX::66-m1BY");
  const auto lines = ofKind(Kind::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_DOUBLE_EQ(lines[0].y1, 100);
  EXPECT_DOUBLE_EQ(lines[1].y1, 200);
}

}  // namespace
}  // namespace pm

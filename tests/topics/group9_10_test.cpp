// Pictures, keys and state of the synthesis group and the moving-plane example
// as the user drives them: subtopics, pair keys, placement keys, hand-over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "script/vector.h"
#include "support/test_form.h"

namespace pm {
namespace {

constexpr Rgb kBlack = rgb(0, 0, 0);
constexpr Rgb kNavy = rgb(0, 0, 128);
constexpr Rgb kGreen = rgb(0, 128, 0);
constexpr Rgb kTeal = rgb(0, 128, 128);
constexpr Rgb kRed = rgb(255, 0, 0);

void show(testing::TestForm& t, int group, int topic) {
  t.form.st.mn1 = group;
  t.form.st.mn2 = topic;
  t.key(kKeyRebuild);
}

int count(const DisplayList& list, Primitive::Kind kind, Rgb colour, double width, double r = -1) {
  int n = 0;
  for (const Primitive& p : list)
    if (p.kind == kind && p.colour == colour && p.width == width && (r < 0 || p.r == r)) ++n;
  return n;
}

bool hasText(const DisplayList& list, std::u32string_view text, double x, double y) {
  for (const Primitive& p : list)
    if (p.kind == Primitive::Kind::Text && p.text == text && p.x1 == x && p.y1 == y) return true;
  return false;
}

Point pt(testing::TestForm& t, char32_t c) { return t.form.reg().point(c); }

// --- synthesis ---------------------------------------------------------------

TEST(SynthesisGroup, TaskColumnOfTypeOne) {
  testing::TestForm t;
  show(t, 10, 1);
  const double expected[] = {100, 300, 600, 350, 350, 700, 300, 710, 500, -150, 133, 335, -320};
  for (int k = 0; k < 13; ++k)
    EXPECT_TRUE(hasText(t.picture(), numberItem(expected[k]), 950, 360 + 18 * k)) << k;
  EXPECT_EQ(t.form.cmd.groupNames[10], U" Lagengeometrie        ");
  EXPECT_EQ(t.form.cmd.topicNames[1], U" Vier Lagen einer Ebene");
  EXPECT_EQ(t.form.cmd.topicNames[8], U" Analyse               ");
}

TEST(SynthesisGroup, PoleConstructionLinesOnlyInSubtopicTwo) {
  testing::TestForm t;
  show(t, 10, 2);
  // Two bisector constructions of three segments for each of the four poles.
  // The arc script of each pole begins with an empty command, which repeats
  // the second construction; the picture keeps each line once.
  EXPECT_EQ(count(t.picture(), Primitive::Kind::Line, kNavy, 1), 4 * 6);
  EXPECT_EQ(count(t.picture(), Primitive::Kind::Line, kRed, 1), 6);  // quadrilateral M N O P Q
  show(t, 10, 3);
  EXPECT_EQ(count(t.picture(), Primitive::Kind::Line, kNavy, 1), 0);
  EXPECT_EQ(count(t.picture(), Primitive::Kind::Line, kRed, 1), 6);
  show(t, 10, 4);
  EXPECT_EQ(count(t.picture(), Primitive::Kind::Line, kRed, 1), 0);
}

// Dots of one colour and radius 1, and how many places they mark.
std::pair<int, std::size_t> dots(const DisplayList& list, Rgb colour) {
  int n = 0;
  std::vector<std::pair<long, long>> places;
  for (const Primitive& p : list) {
    if (p.kind != Primitive::Kind::Circle || p.colour != colour || p.r != 1) continue;
    ++n;
    places.emplace_back(std::lround(p.x1 * 1e6), std::lround(p.y1 * 1e6));
  }
  std::sort(places.begin(), places.end());
  places.erase(std::unique(places.begin(), places.end()), places.end());
  return {n, places.size()};
}

TEST(SynthesisGroup, EveryCurveHas361DotsPerBranch) {
  testing::TestForm t;
  show(t, 10, 4);
  // Each pass draws its dot, and the empty first command of the next script
  // draws it once more over itself; the picture keeps it once. t = 0 and
  // t = 360 share a place.
  for (Rgb colour : {kBlack, kNavy}) {  // centre points V and W
    const auto [n, places] = dots(t.picture(), colour);
    EXPECT_EQ(n, 361);
    EXPECT_GE(places, 300u);
    EXPECT_LE(places, 361u);
  }
  show(t, 10, 5);
  const auto [n, places] = dots(t.picture(), kGreen);  // circle points Ä
  EXPECT_EQ(n, 361);
  EXPECT_GE(places, 300u);
  EXPECT_LE(places, 361u);
  EXPECT_EQ(dots(t.picture(), kTeal).first, 361);  // circle points Ö, each once
}

TEST(SynthesisGroup, SpaceMovesTheConstructionPointFourDegrees) {
  testing::TestForm t;
  show(t, 10, 4);
  const double before = t.form.st.wxx;
  const Point v = pt(t, U'V');
  t.key(kKeySpace);
  EXPECT_NEAR(t.form.st.wxx - before, 4 * kDeg, 1e-12);
  EXPECT_NE(pt(t, U'V'), v);
  t.key(kKeyBackspace);
  EXPECT_NEAR(t.form.st.wxx, before, 1e-12);
  EXPECT_EQ(pt(t, U'V'), v);
}

TEST(SynthesisGroup, ChosenPairsStayWhereTheyWereChosen) {
  testing::TestForm t;
  show(t, 10, 6);
  t.keyChar('T');
  const Point firstCentre = pt(t, U'b'), firstCircle = pt(t, U'c');
  EXPECT_EQ(t.form.st.bz1, 1);
  EXPECT_EQ(t.form.st.bxx, firstCentre.x);
  EXPECT_EQ(t.form.st.bya, firstCircle.y);
  for (int k = 0; k < 5; ++k) t.key(kKeySpace);
  t.keyChar('W');
  const Point secondCentre = pt(t, U'd'), secondCircle = pt(t, U'e');
  EXPECT_EQ(t.form.st.bz2, 1);
  EXPECT_NE(secondCentre, firstCentre);
  for (int k = 0; k < 5; ++k) t.key(kKeySpace);

  show(t, 10, 7);
  EXPECT_EQ(pt(t, U'f'), firstCentre);
  EXPECT_EQ(pt(t, U'g'), firstCircle);
  EXPECT_EQ(pt(t, U'h'), secondCentre);
  EXPECT_EQ(pt(t, U'i'), secondCircle);
  // The frame line f–h in the palette colour d, width 3 × qbr.
  bool frame = false;
  for (const Primitive& p : t.picture())
    frame |= p.kind == Primitive::Kind::Line && p.x1 == firstCentre.x && p.y1 == firstCentre.y &&
             p.x2 == secondCentre.x && p.y2 == secondCentre.y && p.width == 6;
  EXPECT_TRUE(frame);
  EXPECT_EQ(t.form.st.mn0, 1);  // recording starts from type 1
  EXPECT_FALSE(t.form.st.gg.empty());
}

TEST(SynthesisGroup, PairKeysBeforeTheCurvesChooseTheOrigin) {
  testing::TestForm t;
  t.form.st.bxx = t.form.st.bya = 55;
  show(t, 10, 1);
  t.keyChar('T');
  EXPECT_EQ(t.form.st.bz1, 1);
  EXPECT_EQ(t.form.st.bxx, 0);
  EXPECT_EQ(t.form.st.bya, 0);
  t.keyChar('V');
  EXPECT_EQ(t.form.st.bz2, 1);
  EXPECT_EQ(t.form.st.byb, 0);
}

TEST(SynthesisGroup, PairKeysDoNothingOutsideTheGroup) {
  testing::TestForm t;
  show(t, 1, 1);
  t.keyChar('T');
  t.keyChar('W');
  EXPECT_EQ(t.form.st.bz1, 0);
  EXPECT_EQ(t.form.st.bz2, 0);
}

TEST(SynthesisGroup, AnalyseBeforeAnyRecordingLeavesEveryRegisterZero) {
  testing::TestForm t;
  show(t, 10, 8);
  EXPECT_EQ(t.form.st.mn0, 9);
  EXPECT_EQ(t.form.st.mn1, 1);
  EXPECT_EQ(t.form.st.mn2, 1);
  EXPECT_EQ(t.form.st.qtx, 0);
  t.key(kKeyRebuild);
  for (char32_t c = U'a'; c <= U'z'; ++c) {
    EXPECT_EQ(t.form.reg().lenOf(c), 0) << static_cast<char>(c);
    EXPECT_EQ(t.form.reg().valOf(c), 0) << static_cast<char>(c);
  }
}

TEST(SynthesisGroup, AnalysedFourBarIsAssembledInTheFirstTopic) {
  testing::TestForm t;
  show(t, 10, 6);
  t.keyChar('T');
  t.keyChar('W');
  show(t, 10, 7);
  const double crank = std::hypot(t.form.st.bxa - t.form.st.bxx, t.form.st.bya - t.form.st.byx);
  show(t, 10, 8);
  t.key(kKeyRebuild);
  EXPECT_EQ(t.form.scratch().kks, 0);
  const Point x = pt(t, U'X'), a = pt(t, U'A');
  EXPECT_NEAR(x.x, t.form.st.bxx, 1e-6);
  EXPECT_NEAR(std::hypot(a.x - x.x, a.y - x.y), crank, 1e-5);
  // It opens in position 1: the crank pin on the chosen circle point.
  EXPECT_NEAR(a.x, t.form.st.bxa, 1e-4);
  EXPECT_NEAR(a.y, t.form.st.bya, 1e-4);
  // Type 9 shows the task column as well.
  EXPECT_TRUE(hasText(t.picture(), numberItem(100), 950, 360));
}

// The report on the four-bar: where it stands, nothing of the construction is
// drawn (lines and circles sampled along their length).
int reportLinesOverDrawing(testing::TestForm& t) {
  const DisplayList& list = t.picture();
  double x0 = -1, y0 = 0;
  for (const Primitive& p : list)
    if (p.kind == Primitive::Kind::Text && p.text == U"Prüfung des Gelenkvierecks:") {
      x0 = p.x1;
      y0 = p.y1;
    }
  EXPECT_GE(x0, 0) << "no report";
  if (x0 < 0) return -1;
  struct Box {
    double x1, y1, x2, y2;
  };
  std::vector<Box> boxes;
  for (const Primitive& p : list)
    if (p.kind == Primitive::Kind::Text && p.x1 == x0 && p.y1 >= y0 && p.y1 < y0 + 100)
      boxes.push_back({p.x1, p.y1, p.x1 + t.canvas.textWidth(p.text), p.y1 + 14});
  EXPECT_GE(boxes.size(), 5u);
  auto inside = [&boxes](double x, double y) {
    for (const Box& b : boxes)
      if (x >= b.x1 && x <= b.x2 && y >= b.y1 && y <= b.y2) return true;
    return false;
  };
  int covered = 0;
  for (const Primitive& p : list) {
    bool hit = false;
    if (p.kind == Primitive::Kind::Line) {
      for (int k = 0; k <= 400 && !hit; ++k)
        hit = inside(p.x1 + (p.x2 - p.x1) * k / 400, p.y1 + (p.y2 - p.y1) * k / 400);
    } else if (p.kind == Primitive::Kind::Circle || p.kind == Primitive::Kind::Arc) {
      for (int k = 0; k < 360 && !hit; ++k)
        hit = inside(p.x1 + p.r * std::cos(k * kDeg), p.y1 + p.r * std::sin(k * kDeg));
    }
    if (hit) ++covered;
  }
  return covered;
}

TEST(SynthesisGroup, FourBarReportCoversNoConstruction) {
  testing::TestForm t;
  t.form.st.qtx = 0;
  show(t, 10, 7);  // the default four-bar
  EXPECT_EQ(reportLinesOverDrawing(t), 0);
  show(t, 10, 8);
  EXPECT_EQ(reportLinesOverDrawing(t), 0);

  testing::TestForm u;  // the pairs at 16° and 40°
  u.form.st.qtx = 0;
  for (auto [key, deg] : {std::pair{'T', 16.0}, std::pair{'W', 40.0}}) {
    u.form.st.qgw = 0;
    u.form.st.wxx = deg * kDeg;
    show(u, 10, 6);
    u.keyChar(key);
  }
  show(u, 10, 7);
  EXPECT_EQ(reportLinesOverDrawing(u), 0);
  show(u, 10, 8);
  EXPECT_EQ(reportLinesOverDrawing(u), 0);
  // Only the first analysis picture carries the report.
  u.key(kKeyRebuild);
  for (const Primitive& p : u.picture()) EXPECT_NE(p.text, U"Prüfung des Gelenkvierecks:");
}

// Placement of the task with the mouse, on the grid and off it.
TEST(SynthesisGroup, MousePlacementOfTheTask) {
  testing::TestForm t;
  show(t, 10, 1);
  t.form.st.qsr = 1;
  t.key(kKeyRebuild);  // the grid sets its spacing of 20
  t.host.cx = 109;
  t.host.cy = 231;
  t.keyChar('I');
  t.key(kKeyRebuild);
  EXPECT_EQ(t.form.reg().valOf(U'o'), 100);
  EXPECT_EQ(t.form.reg().valOf(U'p'), 240);
  EXPECT_EQ(pt(t, U'A'), (Point{100, 240}));

  t.form.st.qsr = 0;
  t.host.cx = 100;
  t.host.cy = 140;  // straight up from A, 100 away
  t.keyChar('M');
  t.key(kKeyRebuild);
  EXPECT_NEAR(t.form.reg().valOf(U'w'), 90, 1e-9);
  t.host.cy = 90;
  t.keyChar('S');
  t.key(kKeyRebuild);
  EXPECT_NEAR(t.form.reg().valOf(U'n'), 150, 1e-9);
  EXPECT_NEAR(pt(t, U'E').x, 100, 1e-9);
  EXPECT_NEAR(pt(t, U'E').y, 90, 1e-9);

  t.host.cx = 800;
  t.host.cy = 650;
  t.keyChar('L');
  t.key(kKeyRebuild);
  EXPECT_EQ(pt(t, U'D'), (Point{800, 650}));
  t.keyChar('0');  // back to the preset positions
  t.key(kKeyRebuild);
  EXPECT_EQ(pt(t, U'A'), (Point{300, 600}));
  EXPECT_EQ(pt(t, U'D'), (Point{710, 500}));
}

// A task whose positions coincide gives no poles; the pictures still build.
TEST(SynthesisGroup, DegenerateTaskDoesNotBreakTheProgram) {
  testing::TestForm t;
  show(t, 10, 1);
  t.host.cx = 300;
  t.host.cy = 600;
  for (char k : {'J', 'K', 'L'}) t.keyChar(k);
  for (int topic = 1; topic <= 7; ++topic) {
    show(t, 10, topic);
    for (const Primitive& p : t.picture())
      ASSERT_TRUE(std::isfinite(p.x1) && std::isfinite(p.y1) && std::isfinite(p.x2) &&
                  std::isfinite(p.y2))
          << "subtopic " << topic;
  }
  show(t, 10, 8);
  t.key(kKeySpace);
  EXPECT_EQ(t.form.st.mn1, 1);
}

// --- moving-plane example ----------------------------------------------------

TEST(MovingPlaneGroup, EverySubtopicShowsThePlaneAndTheScaleNote) {
  testing::TestForm t;
  for (int topic = 1; topic <= 7; ++topic) {
    show(t, 9, topic);
    bool plane = false;
    for (const Primitive& p : t.picture())
      plane |= p.kind == Primitive::Kind::FilledBox && p.x1 == 100 && p.y1 == 250 && p.x2 == 650 &&
               p.y2 == 650 && p.colour == rgb(200, 200, 0);
    EXPECT_TRUE(plane) << topic;
    EXPECT_TRUE(hasText(t.picture(), U"Mb = Mv² / Mz", 550, 260)) << topic;
  }
  EXPECT_EQ(t.form.cmd.groupNames[9], U" Komplan bewegte Ebene");
  EXPECT_EQ(t.form.cmd.topicNames[5], U" Krümmngsmittelpunkt  ");
}

TEST(MovingPlaneGroup, LocusTracesAtMost92PointsPerBranch) {
  testing::TestForm t;
  for (int step = 0; step < 6; ++step) {
    show(t, 9, 7);
    EXPECT_LE(count(t.picture(), Primitive::Kind::Line, rgb(255, 255, 255), 2), 2 * 91);
    EXPECT_EQ(t.form.cmd.traceCounter, 91);
    for (int k = 0; k < 15; ++k) t.key(kKeySpace);
  }
}

}  // namespace
}  // namespace pm

// Pictures of the pole, velocity, acceleration and curvature topics: the coupler
// curve's branches and gaps, the centrode trace, the drive arrow, the common
// part of the acceleration group, the curves of equal path curvature, and
// topic fields that select no topic.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "draw/colour_tables.h"
#include "kinematics/four_bar_model.h"
#include "support/test_form.h"
#include "topics/curvature_curves.h"
#include "topics/topics.h"

namespace pm {
namespace {

using kinematics::FourBarModel;
using kinematics::Vec;
using testing::TestForm;

constexpr double kDegree = std::numbers::pi / 180;

// Fixed colours of the trace and arrow letters used below.
const Rgb kColourB = fixedColour(1);   // "b": first branch, fixed centrode
const Rgb kColourG = fixedColour(6);   // "g": curves G3, G4
const Rgb kColourJ = fixedColour(9);   // "j": second branch, curves G1, G2
const Rgb kColourK = fixedColour(10);  // "k": velocity arrows
const Rgb kColourM = fixedColour(12);  // "m": acceleration arrows
const Rgb kColourO = fixedColour(14);  // "o": break colour of the coupler curve

void show(TestForm& t, int type, int group, int topic, double wxx = 0) {
  t.form.st.mn0 = type;
  t.form.st.mn1 = group;
  t.form.st.mn2 = topic;
  t.form.st.mn5 = 0;
  t.form.st.wxx = wxx;
  t.form.st.qgw = 0;
  t.key(kKeyRebuild);
}

std::vector<Primitive> lines(const DisplayList& list, Rgb colour, double width) {
  std::vector<Primitive> out;
  for (const Primitive& p : list)
    if (p.kind == Primitive::Kind::Line && p.colour == colour && p.width == width) out.push_back(p);
  return out;
}

bool hasText(const DisplayList& list, std::u32string_view text) {
  for (const Primitive& p : list)
    if (p.kind == Primitive::Kind::Text && p.text.find(text) != std::u32string::npos) return true;
  return false;
}

// --- coupler curve -------------------------------------------------------------

// Every traced segment of the coupler curve is the chord between two crank
// positions 4° apart on one of the two assembly branches.
void expectChordsOfCouplerCurve(TestForm& t, const std::vector<Primitive>& segments) {
  show(t, t.form.st.mn0, 1, 1);  // the shown position fixes branch and coupler point
  const FourBarModel first = FourBarModel::fromRegisters(t.form.reg());
  const FourBarModel branches[] = {first, first.otherBranch()};
  const double zero = t.form.reg().valOf(U'c');
  for (const Primitive& s : segments) {
    bool found = false;
    for (const FourBarModel& m : branches)
      for (int k = 1; k <= 90 && !found; ++k) {
        const auto from =
            m.couplerPlanePoint((zero + 4 * (k - 1)) * kDegree, m.couplerPointRatio());
        const auto to = m.couplerPlanePoint((zero + 4 * k) * kDegree, m.couplerPointRatio());
        found = from && to && std::abs(*from - Vec(s.x1, s.y1)) < 1e-6 &&
                std::abs(*to - Vec(s.x2, s.y2)) < 1e-6;
      }
    EXPECT_TRUE(found) << "segment (" << s.x1 << ", " << s.y1 << ")-(" << s.x2 << ", " << s.y2
                       << ") is not a 4-degree chord of the coupler curve";
  }
}

TEST(CouplerCurve, CrankRockerTracesOneBranchDoubleCrankBoth) {
  TestForm t;
  show(t, 1, 1, 6);
  const DisplayList crankRocker = t.picture();
  EXPECT_GE(lines(crankRocker, kColourB, 1).size(), 85u);
  EXPECT_TRUE(lines(crankRocker, kColourJ, 1).empty()) << "turn class 0 has no second branch";
  expectChordsOfCouplerCurve(t, lines(crankRocker, kColourB, 1));

  show(t, 2, 1, 6, 0.8);
  const DisplayList doubleCrank = t.picture();
  // The second branch leaves the rocker's sign and the drive angle as they were.
  EXPECT_EQ(t.form.reg().lenOf(U'c'), 180);
  EXPECT_EQ(t.form.st.wxx, 0.8);
  EXPECT_GE(lines(doubleCrank, kColourB, 1).size(), 85u);
  EXPECT_GE(lines(doubleCrank, kColourJ, 1).size(), 85u);
  expectChordsOfCouplerCurve(t, lines(doubleCrank, kColourJ, 1));
}

TEST(CouplerCurve, PiecesOnEitherSideOfAGapAreNotJoined) {
  TestForm t;
  show(t, 4, 1, 6);  // double rocker whose coupler curve has two parts
  const DisplayList picture = t.picture();
  int breaks = 0;
  for (const Primitive& p : picture)
    if (p.kind == Primitive::Kind::Circle && p.colour == kColourO) ++breaks;
  EXPECT_GE(breaks, 1) << "the double rocker should pass positions that do not close";
  std::vector<Primitive> traced = lines(picture, kColourB, 1);
  for (Rgb c : {kColourJ, kColourO})
    for (const Primitive& p : lines(picture, c, 1)) traced.push_back(p);
  expectChordsOfCouplerCurve(t, traced);
}

// --- centrodes -------------------------------------------------------------------

TEST(Centrodes, FixedCentrodeDoesNotMoveWithTheCrank) {
  TestForm t;
  // The first four lines in this colour are the pole lines X-A-P-B-Y of the
  // shown position; the trace follows them.
  show(t, 1, 1, 4, 0);
  const std::vector<Primitive> before = lines(t.picture(), kColourB, 1);
  show(t, 1, 1, 4, 1.3);
  const std::vector<Primitive> after = lines(t.picture(), kColourB, 1);
  ASSERT_GE(before.size(), 80u);
  ASSERT_EQ(before.size(), after.size());
  EXPECT_NE(before[0].x2, after[0].x2) << "the pole lines follow the crank";
  for (std::size_t i = 4; i < before.size(); ++i) {
    EXPECT_DOUBLE_EQ(before[i].x2, after[i].x2);
    EXPECT_DOUBLE_EQ(before[i].y2, after[i].y2);
  }
  // The drive angle is the user's; the trace turns only ang[a].
  EXPECT_EQ(t.form.st.wxx, 1.3);
}

TEST(Centrodes, MovingCentrodeTouchesFixedOneAtThePole) {
  TestForm t;
  show(t, 2, 1, 5, 0);
  // The moving centrode (colour g) is carried into the position of the start
  // of the trace, crank angle 0; at that angle its point G is the pole itself.
  const std::vector<Primitive> moving = lines(t.picture(), kColourG, 1);
  ASSERT_GE(moving.size(), 80u);
  show(t, 2, 1, 3, 0);
  const std::vector<Primitive> none = lines(t.picture(), kColourG, 1);
  EXPECT_TRUE(none.empty());
}

// --- velocities and accelerations ------------------------------------------------

TEST(VelocityGroup, CrankVelocityOfTheCrankRockerIs128Long) {
  TestForm t;
  show(t, 1, 2, 1, 0.4);
  Registers& r = t.form.reg();
  EXPECT_NEAR(std::abs(kinematics::at(r, U'a') - kinematics::at(r, U'A')), 128, 1e-9);
  // The arrow's shaft ends 3·6 units short of the tip.
  bool shaft = false;
  for (const Primitive& p : lines(t.picture(), kColourK, 3))
    shaft = shaft || (std::abs(Vec(p.x1, p.y1) - kinematics::at(r, U'A')) < 1e-9 &&
                      std::abs(std::hypot(p.x2 - p.x1, p.y2 - p.y1) - 110) < 1e-9);
  EXPECT_TRUE(shaft);
}

TEST(AccelerationGroup, TopicNineShowsOnlyTheCommonPart) {
  TestForm t;
  show(t, 1, 3, 1);
  EXPECT_FALSE(lines(t.picture(), kColourM, 3).empty()) << "topic 1 draws acceleration arrows";

  show(t, 1, 4, 0);  // one step back from the curvature group
  EXPECT_EQ(t.form.st.mn1, 3);
  EXPECT_EQ(t.form.st.mn2, 9);
  EXPECT_TRUE(t.form.cmd.topicNames[9].empty());
  EXPECT_EQ(t.form.cmd.groupNames[3], U" Beschleunigungen     ");
  EXPECT_TRUE(hasText(t.picture(), U"Mb = Mv² / Mz"));
  EXPECT_TRUE(lines(t.picture(), kColourM, 3).empty()) << "no acceleration construction";
}

// --- curves of equal path curvature ------------------------------------------------

TEST(CurvatureCurves, DirectionsWithoutRealPoint) {
  const double d = 100;
  // ρ = d straight against the pole normal: w = 1 − 4 < 0 (for the radius −ρ
  // of G1 and G2 on the other side).
  EXPECT_FALSE(equalCurvatureDistance(CurvatureFamily::G1, d, d, 90 * kDegree));
  EXPECT_FALSE(equalCurvatureDistance(CurvatureFamily::G4, d, d, -90 * kDegree));
  EXPECT_TRUE(equalCurvatureDistance(CurvatureFamily::G1, d, d, -90 * kDegree));
  // ρ = 0 is replaced by 0.00001: finite points, no division by zero.
  const auto tiny = equalCurvatureDistance(CurvatureFamily::G3, 0, d, 90 * kDegree);
  ASSERT_TRUE(tiny);
  EXPECT_NEAR(*tiny, (std::sqrt(1 + 4 * d / 0.00001) + 1) * 0.00001 / 2, 1e-12);
  EXPECT_EQ(curvatureRadiusOrMinimum(0), 0.00001);
  // ρ very large against d: G1 approaches the inflection circle r = −d·sin θ
  // (points of infinite curvature radius), not the pole.
  for (double theta : {10.0, 30.0, 90.0, 150.0})
    EXPECT_NEAR(*equalCurvatureDistance(CurvatureFamily::G1, 1e9, d, theta * kDegree),
                -d * std::sin(theta * kDegree), 1e-3);
  // Not-a-number input gives no point.
  EXPECT_FALSE(
      equalCurvatureDistance(CurvatureFamily::G2, 50, std::numeric_limits<double>::quiet_NaN(), 1));
}

TEST(CurvatureCurves, GapStartsANewPiece) {
  TestForm t;
  show(t, 1, 1, 1);
  const std::size_t before = t.picture().size();
  t.form.reg().setPoint(U'P', {500, 400});
  // ρ = d = 50, γ = 0: G1 has no point for 4k° with sin > 1/4, that is k = 4 … 41.
  traceEqualCurvature(t.form, CurvatureFamily::G1, 50, 50, 0, 90);
  DisplayList added(t.picture().begin() + static_cast<long>(before), t.picture().end());
  // Segments k−1 → k for k = 1 … 3 and 43 … 90; none across the gap.
  EXPECT_EQ(lines(added, kColourJ, 1).size(), 51u);
}

// Points of the coupler plane on the g-coloured curves (G3, G4) run on paths of
// the chosen curvature radius: |a| in topic 6, |CJ| in topic 7.
void expectCurvatureRadiusOnCurves(int type, int topic, double wxx) {
  TestForm t;
  show(t, type, 4, topic, wxx);
  Registers& r = t.form.reg();
  const double radius = topic == 6 ? std::abs(r.lenOf(U'a'))
                                   : std::abs(kinematics::at(r, U'C') - kinematics::at(r, U'J'));
  const FourBarModel model = FourBarModel::fromRegisters(r);
  const std::vector<Primitive> curve = lines(t.picture(), kColourG, 1);
  ASSERT_GE(curve.size(), 20u);
  for (const Primitive& s : curve) {
    const auto d = model.derivatives(model.couplerRatio({s.x2, s.y2}), 1e-4);
    ASSERT_TRUE(d);
    EXPECT_NEAR(std::abs(1 / kinematics::curvature(*d)), radius, 1e-3 * radius)
        << "type " << type << " topic " << topic << " at (" << s.x2 << ", " << s.y2 << ")";
  }
}

TEST(CurvatureCurves, CurvesOfTheCrankRadiusCarryThatCurvature) {
  expectCurvatureRadiusOnCurves(1, 6, 0.3);
  expectCurvatureRadiusOnCurves(2, 6, 2.0);
}

TEST(CurvatureCurves, CurvesOfTheCouplerRadiusCarryThatCurvature) {
  expectCurvatureRadiusOnCurves(1, 7, 0.3);
  expectCurvatureRadiusOnCurves(4, 7, 0.0);
}

TEST(CurvatureCurves, FamilyTopicShowsItsLoopCountInTheHeader) {
  TestForm t;
  show(t, 1, 4, 5);
  EXPECT_EQ(t.form.cmd.headerScratch, numberItem(91));
  const double d = t.form.reg().lenOf(U'ü');
  EXPECT_TRUE(hasText(t.picture(), numberItem(std::floor(d))));
  show(t, 1, 4, 3);
  EXPECT_TRUE(t.form.cmd.headerScratch.empty());
}

// --- every topic ---------------------------------------------------------------------

// Every transcribed script addresses only registers that exist (a fault would
// abandon the script), for every type, including the empty types 9 to 11 whose
// lengths are all 0, and at positions where the loop does not close.
TEST(GroupRoutines, EveryTopicRunsWithoutScriptFaults) {
  TestForm t;
  const int lastTopic[] = {0, 6, 6, 9, 7};
  for (int type = 1; type <= 11; ++type)
    for (int group = 1; group <= 4; ++group)
      for (int topic = 1; topic <= lastTopic[group]; ++topic)
        for (double wxx : {0.0, 2.5}) {
          show(t, type, group, topic, wxx);
          if (group == 3 && topic == 9) continue;  // stepping moves it on; see above
          EXPECT_EQ(t.form.st.mn1, group);
          EXPECT_TRUE(t.form.cmd.errors.empty())
              << "type " << type << " group " << group << " topic " << topic << ": "
              << (t.form.cmd.errors.empty() ? "" : t.form.cmd.errors[0].reason);
        }
}

// A loop that cannot close at any angle: the status number and no construction
// built on registers of no assembled mechanism (poles, plans, arrows, curves).
TEST(GroupRoutines, AMechanismThatCannotCloseShowsItsStatusAndNoConstruction) {
  const int lastTopic[] = {0, 6, 6, 8, 7};
  for (int group = 1; group <= 4; ++group)
    for (int topic = 1; topic <= lastTopic[group]; ++topic) {
      TestForm t;
      t.form.st.qd = 500;  // the frame far longer than coupler and rocker together
      show(t, 1, group, topic);
      EXPECT_EQ(t.form.engine.s.kks, 1);
      EXPECT_TRUE(t.form.cmd.errors.empty());
      int figures = 0;
      bool status = false;
      for (const Primitive& p : t.picture()) {
        figures += p.kind == Primitive::Kind::Circle || p.kind == Primitive::Kind::Arc;
        status |= p.kind == Primitive::Kind::Text && p.text == numberItem(1) && p.y1 == 600;
      }
      EXPECT_TRUE(status) << "group " << group << " topic " << topic;
      EXPECT_EQ(figures, 0) << "group " << group << " topic " << topic;
      EXPECT_TRUE(lines(t.picture(), kColourK, 3).empty() && lines(t.picture(), kColourM, 3).empty())
          << "group " << group << " topic " << topic;
    }
}

// --- bad topic fields -----------------------------------------------------------------

TEST(GroupRoutines, TopicFieldThatIsNoTopicDrawsOnlyTheCommonPart) {
  TestForm t;
  show(t, 1, 2, 1);
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), 1e300, -1e300, -3.0, 42.0}) {
    t.form.st.mn2 = bad;
    for (void (*group)(Form1&) : {group1, group2, group3, group4}) {
      const std::size_t before = t.picture().size();
      group(t.form);
      DisplayList added(t.picture().begin() + static_cast<long>(before), t.picture().end());
      EXPECT_TRUE(lines(added, kColourK, 3).empty()) << "no velocity arrows for topic " << bad;
      EXPECT_TRUE(lines(added, kColourM, 3).empty());
    }
  }
}

}  // namespace
}  // namespace pm

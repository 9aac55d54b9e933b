// Topic-level behaviour of the coupler-curve, pole-change, relative-motion and
// six-bar groups: how often the crank moves, the pages of the step-by-step
// construction, both branches of the evolute, and that no preset, type or
// topic number makes a script fault or a crash.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "draw/colour_tables.h"
#include "kinematics/linkage_model.h"
#include "script/vector.h"
#include "support/test_form.h"
#include "topics/topics.h"

namespace pm::testing {
namespace {

Rgb fixed(char32_t letter) { return fixedColour(code(letter) - code(U'a')); }

int countPrimitives(const DisplayList& list, Primitive::Kind kind, Rgb colour, double width = 1) {
  int n = 0;
  for (const Primitive& p : list)
    if (p.kind == kind && p.colour == colour && p.width == width) ++n;
  return n;
}

TestForm& show(TestForm& t, int type, int group, int topic) { return t.show(type, group, topic); }

// One command that runs a group routine directly, without the key table and
// the topic stepping (which would not let the catalogue reach every page).
void rebuildGroup(TestForm& t, int group) {
  Form1& f = t.form;
  f.cmd = CommandState{};
  t.canvas.clear();
  f.engine.beginCommand();
  f.drawing.beginCommand();
  loadParameters(f);
  caseAndTurnClass(f);
  runGroup(f, group);
}

void showConstructionPage(TestForm& t, int page, double stepping) {
  t.form.st.mn1 = 5;
  t.form.st.mn2 = 7;
  t.form.st.mn5 = page;
  t.form.st.qgw = stepping;
  rebuildGroup(t, 5);
}

TEST(CouplerCurveTopics, TopicsWithASecondDriveStepAdvanceTheCrankOnce) {
  for (int topic : {2, 3}) {
    TestForm t;
    show(t, 1, 5, topic);
    const double before = t.form.st.wxx;
    t.key(kKeySpace);
    const double step = std::abs(t.form.engine.reg.val[code(U'i')]) * kDeg;
    EXPECT_NEAR(std::abs(t.form.st.wxx - before), step, 1e-12) << "topic " << topic;
    // The second drive step cleared the request: a plain rebuild stays put.
    const double after = t.form.st.wxx;
    t.key(kKeyRebuild);
    EXPECT_EQ(t.form.st.wxx, after) << "topic " << topic;
  }
}

TEST(StepByStepConstruction, PagesAddTheirLinesInOrder) {
  TestForm t;
  show(t, 1, 5, 6);
  const Rgb line = fixed(U'j');

  showConstructionPage(t, 0, 0);
  const Form1& f = t.form;
  EXPECT_TRUE(f.cmd.errors.empty());
  // Page 0: only the mechanism; the stretched positions are computed, not drawn.
  EXPECT_EQ(countPrimitives(t.picture(), Primitive::Kind::Line, line), 0);
  EXPECT_NEAR(distance(at(f, U'2'), at(f, U'A')), distance(at(f, U'A'), at(f, U'X')), 1e-9);

  showConstructionPage(t, 11, 0);
  EXPECT_GT(countPrimitives(t.picture(), Primitive::Kind::Line, line), 0);  // X-Z-Y
  EXPECT_EQ(at(f, U'I'), Z2(0, 0));  // the first cognate follows from page 12 on
  // Drawing the mechanism leaves the crank angle register as the drive set it.
  double crank = std::fmod(crankAngle(f), 2 * kPi);
  if (crank < 0) crank += 2 * kPi;
  EXPECT_NEAR(f.engine.reg.ang[code(U'a')], crank, 1e-9);

  showConstructionPage(t, 12, 0);
  EXPECT_NE(at(f, U'I'), Z2(0, 0));
  EXPECT_EQ(at(f, U'M'), Z2(0, 0));

  showConstructionPage(t, 13, 0);
  EXPECT_NE(at(f, U'M'), Z2(0, 0));
  EXPECT_EQ(countPrimitives(t.picture(), Primitive::Kind::Line, fixed(U'b')), 0);

  showConstructionPage(t, 14, 0);
  EXPECT_GT(countPrimitives(t.picture(), Primitive::Kind::Line, fixed(U'b')), 80);
  EXPECT_TRUE(f.cmd.errors.empty());
}

TEST(StepByStepConstruction, TheCrankStandsStillUntilTheLastPage) {
  TestForm t;
  show(t, 1, 5, 6);
  for (double stepping : {1.0, 0.0, -1.0}) {
    for (int page = 0; page < 15; page += 3) {
      const double before = t.form.st.wxx;
      showConstructionPage(t, page, stepping);
      EXPECT_NEAR(t.form.st.wxx, before, 1e-12) << "page " << page << " qgw " << stepping;
      EXPECT_EQ(t.form.st.qgw, stepping);  // the sense of motion stays
    }
  }
  // From page 15 on every rebuild turns the crank by one step.
  showConstructionPage(t, 15, 0);
  EXPECT_EQ(t.form.st.qgw, 1);
  const double before = t.form.st.wxx;
  t.form.st.mn5 = 15;
  rebuildGroup(t, 5);
  EXPECT_NEAR(std::abs(t.form.st.wxx - before), 4 * kDeg, 1e-12);
  EXPECT_EQ(t.form.st.qgw, 1);
}

// Centre of curvature of the path of C at crank angle θ, from derivatives of
// the independently assembled four-bar.
std::optional<Z2> curvatureCentre(const FourBar& bar, double theta) {
  const double h = 1e-3;
  const auto m = bar.C(theta - h), c = bar.C(theta), p = bar.C(theta + h);
  if (!m || !c || !p) return std::nullopt;
  const Z2 d1 = (*p - *m) / (2 * h);
  const Z2 d2 = (*p - 2.0 * *c + *m) / (h * h);
  const double cross = (std::conj(d1) * d2).imag();
  if (cross == 0) return std::nullopt;
  return *c + Z2(0, 1) * d1 * std::norm(d1) / cross;
}

// Where the construction by Bobillier has no exact answer: the crank pin or
// the rocker pin on the frame line (the pole falls on a pivot) or a coupler line
// parallel to the frame line (the collineation point is out of reach).
bool bobillierDegenerates(const FourBar& bar, double theta) {
  const Z2 A = bar.A(theta), B = *bar.B(theta);
  const Z2 frame = (bar.Y - bar.X) / std::abs(bar.Y - bar.X);
  auto offFrame = [&](Z2 p) { return std::abs((std::conj(frame) * (p - bar.X)).imag()); };
  const Z2 coupler = (B - A) / std::abs(B - A);
  const double sine = std::abs((std::conj(frame) * coupler).imag());
  return offFrame(A) < 1e-6 || offFrame(B) < 1e-6 || sine < 1e-2;
}

class Evolute : public ::testing::TestWithParam<int> {};

TEST_P(Evolute, TracesTheCentresOfCurvatureOnEveryBranchItShould) {
  const int type = GetParam();
  TestForm t;
  show(t, type, 6, 2);
  ASSERT_TRUE(t.form.cmd.errors.empty());
  const int turnClass = t.form.cmd.turnClass;
  const bool bothBranches = turnClass == 2 || turnClass == 3;
  FourBar bar = FourBar::fromRegisters(t.form);

  // The crank angles of the marked centres, in the order the loops run.
  std::vector<std::pair<double, bool>> expected;  // angle, other branch
  for (int k = 0; k < 90; ++k)
    if (bar.C(4 * k * kDeg)) expected.emplace_back(4 * k * kDeg, false);
  if (bothBranches) {
    for (int k = 89; k >= 0; --k)
      if (bar.C(4 * k * kDeg)) expected.emplace_back(4 * k * kDeg, true);
  }
  std::vector<Z2> marked;
  for (const Primitive& p : t.picture())
    if (p.kind == Primitive::Kind::Circle && p.colour == fixed(U'c'))
      marked.emplace_back(p.x1, p.y1);
  ASSERT_EQ(marked.size(), expected.size()) << "type " << type << " turn class " << turnClass;

  FourBar otherBranch = bar;
  otherBranch.c = -otherBranch.c;
  int compared = 0;
  for (std::size_t n = 0; n < marked.size(); ++n) {
    const auto [theta, other] = expected[n];
    const FourBar& b = other ? otherBranch : bar;
    if (bobillierDegenerates(b, theta)) continue;
    // Next to the end of a rocker's range the difference quotients are too
    // coarse for the curvature.
    if (!b.C(theta - 4 * kDeg) || !b.C(theta + 4 * kDeg)) continue;
    const auto centre = curvatureCentre(b, theta);
    ASSERT_TRUE(centre.has_value());
    EXPECT_LT(std::abs(marked[n] - *centre), 1e-3 * (1 + std::abs(*centre - *b.C(theta))))
        << "type " << type << " at " << theta / kDeg << " degrees, other branch " << other;
    ++compared;
  }
  EXPECT_GT(compared, static_cast<int>(marked.size()) * 3 / 4);
}

INSTANTIATE_TEST_SUITE_P(CrankRockerAndDoubleRockers, Evolute, ::testing::Values(1, 3, 4));

TEST(Groups5To8, EveryTypeAndTopicRunsWithoutScriptFaults) {
  for (int type = 1; type <= 11; ++type) {
    for (int group = 5; group <= 8; ++group) {
      TestForm t;
      for (int topic = 1; topic <= 8; ++topic) {
        show(t, type, group, topic);
        if (t.form.st.mn1 != group) continue;  // stepped on to another group
        const bool catalogued = topic <= (group <= 6 ? 7 : 8);
        EXPECT_TRUE(t.form.cmd.errors.empty())
            << "type " << type << " group " << group << " topic " << topic;
        EXPECT_TRUE(std::isfinite(t.form.st.wxx));
        EXPECT_EQ(t.form.cmd.topicNames[topic].empty(), !catalogued)
            << "type " << type << " group " << group << " topic " << topic;
        t.key(kKeySpace);
        EXPECT_TRUE(t.form.cmd.errors.empty());
      }
    }
  }
  // The construction pages of every type, directly.
  for (int type = 1; type <= 11; ++type) {
    TestForm t;
    t.form.st.mn0 = type;
    for (int page = 0; page <= 16; ++page) {
      showConstructionPage(t, page, 1);
      EXPECT_TRUE(t.form.cmd.errors.empty()) << "type " << type << " page " << page;
    }
  }
}

TEST(Groups5To8, AMechanismThatCannotCloseShowsItsStatusAndNothingElse) {
  for (int group = 5; group <= 8; ++group) {
    for (int topic = 1; topic <= 7; ++topic) {
      TestForm t;
      t.form.st.qd = 500;  // the frame far longer than coupler and rocker together
      show(t, 1, group, topic);
      if (t.form.st.mn1 != group) continue;
      t.key(kKeySpace);
      const Form1& f = t.form;
      EXPECT_TRUE(f.cmd.errors.empty());
      EXPECT_EQ(f.engine.s.kks, 1);
      bool statusShown = false;
      for (const Primitive& p : t.picture())
        if (p.kind == Primitive::Kind::Text && p.text == numberItem(1) && p.y1 == 600)
          statusShown = true;
      EXPECT_TRUE(statusShown) << "group " << group << " topic " << topic;
      // Nothing was traced from joints that do not exist.
      for (char32_t c : {U'b', U'c', U'j'})
        EXPECT_EQ(countPrimitives(t.picture(), Primitive::Kind::Line, fixed(c)), 0)
            << "group " << group << " topic " << topic;
      EXPECT_EQ(at(f, U'B'), Z2(0, 0));
    }
  }
}

TEST(Groups5To8, NonsenseTopicAndPageNumbersDrawNoTopic) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int group = 5; group <= 8; ++group) {
    for (double topic : {nan, 1e300, -5.0, 99.0}) {
      TestForm t;
      t.form.st.mn1 = group;
      t.form.st.mn2 = topic;
      t.form.st.mn5 = nan;
      rebuildGroup(t, group);
      EXPECT_TRUE(t.form.cmd.errors.empty());
      EXPECT_FALSE(t.form.cmd.groupNames[group].empty());
    }
  }
  TestForm t;
  t.form.st.mn5 = nan;
  showConstructionPage(t, 0, 1);
  t.form.st.mn5 = nan;
  rebuildGroup(t, 5);
  EXPECT_TRUE(std::isfinite(t.form.st.wxx));
}

}  // namespace
}  // namespace pm::testing

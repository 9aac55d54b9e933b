// Kinematic truth of the four-position synthesis, checked against geometry
// computed here independently: Burmester pairs (centre point, circle point)
// and the four-bar recorded from two of them.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <utility>
#include <vector>

#include "draw/colour_tables.h"
#include "script/vector.h"
#include "support/test_form.h"

namespace pm {
namespace {

using Cx = std::complex<double>;

Cx at(Form1& f, char32_t c) {
  const Point p = f.reg().point(c);
  return {p.x, p.y};
}

double cross(Cx a, Cx b) { return a.real() * b.imag() - a.imag() * b.real(); }

// The four given positions of the plane, each as its two points.
struct Task {
  Cx first[4];
  Cx second[4];
  // Carries a point of the plane from the first position into position j.
  Cx carry(Cx q, int j) const {
    Cx turn = (second[j] - first[j]) / (second[0] - first[0]);
    turn /= std::abs(turn);
    return first[j] + turn * (q - first[0]);
  }
  // The point of the plane in the first position that lies on q in position j.
  Cx carryBack(Cx q, int j) const {
    Cx turn = (second[j] - first[j]) / (second[0] - first[0]);
    turn /= std::abs(turn);
    return first[0] + (q - first[j]) / turn;
  }
};

Task taskOf(Form1& f) {
  Task t;
  const char32_t firsts[] = {U'A', U'B', U'C', U'D'};
  const char32_t seconds[] = {U'E', U'F', U'G', U'H'};
  for (int j = 0; j < 4; ++j) {
    t.first[j] = at(f, firsts[j]);
    t.second[j] = at(f, seconds[j]);
  }
  return t;
}

// Shows synthesis subtopic mn2 with the construction point at drive angle deg.
void showSynthesis(testing::TestForm& t, int mn2, double deg) {
  t.form.st.mn1 = 10;
  t.form.st.mn2 = mn2;
  t.form.st.wxx = deg * kDeg;
  t.key(kKeyRebuild);
}

// Numbers of the recorded number string, by position.
std::vector<double> fields(const std::string& s) {
  std::vector<double> v;
  std::size_t p = 0;
  while (p < s.size()) {
    std::size_t end = s.find(':', p);
    if (end == std::string::npos) end = s.size();
    v.push_back(std::stod(s.substr(p + 1, end - p - 1)));
    p = end + 1;
  }
  return v;
}

// Every centre point with its circle point: the circle point, carried with the
// plane into the four positions, stays on one circle about the centre point.
TEST(Synthesis, CirclePointsOfEveryPositionLieOnOneCircleAboutTheCentrePoint) {
  testing::TestForm t;
  int checked = 0;
  for (int deg = 0; deg < 360; deg += 7) {
    showSynthesis(t, 5, deg);
    const Task task = taskOf(t.form);
    for (auto [centre, circle] : {std::pair{U'b', U'c'}, std::pair{U'd', U'e'}}) {
      const Cx m = at(t.form, centre);
      const Cx k = at(t.form, circle);
      ASSERT_TRUE(std::isfinite(m.real()) && std::isfinite(k.real()));
      if (std::abs(m) > 5000 || std::abs(k) > 5000) continue;  // near the far ends of the curves
      const double radius = std::abs(k - m);
      for (int j = 1; j < 4; ++j) {
        EXPECT_NEAR(std::abs(task.carry(k, j) - m), radius, 1e-6 * (1 + radius))
            << "drive " << deg << "°, position " << j + 1;
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 90);
}

// The dots of the centre-point and circle-point curves of two tasks: one whose
// construction point passes within a fraction of a unit of a pole (A placed at
// (250, 560), seven steps), one whose construction puts T beyond x = 99999 for
// a few points of the centre-point curve. A circle point, carried with the plane
// into the four positions, lies on one circle; so do the four positions of the
// moving plane's point that lies on a centre point.
TEST(Synthesis, CurvesOfCentreAndCirclePointsHaveNoStrayDots) {
  struct Case {
    const char* name;
    std::vector<std::pair<double StateRecord::*, double>> offsets;
    bool placeA;
    int steps;
  };
  const Case cases[] = {
      {"A at (250, 560)", {}, true, 7},
      {"T far off",
       {{&StateRecord::so, -65}, {&StateRecord::sp, -43}, {&StateRecord::sq, 115}, {&StateRecord::sr, -11},
        {&StateRecord::ss, -46}, {&StateRecord::st, -57}, {&StateRecord::su, -99}, {&StateRecord::sv, -19},
        {&StateRecord::sw, -58}, {&StateRecord::sx, 3}, {&StateRecord::sy, 44}, {&StateRecord::sz, -20}},
       false, 0},
  };
  for (const Case& c : cases) {
    testing::TestForm t;
    t.form.st.mn1 = 10;
    t.form.st.mn2 = 5;
    for (const auto& [field, value] : c.offsets) t.form.st.*field = value;
    if (c.placeA) {
      t.host.cx = 250;
      t.host.cy = 560;
      t.keyChar('I');
    }
    t.key(kKeyRebuild);
    for (int n = 0; n < c.steps; ++n) t.key(kKeySpace);
    const Task task = taskOf(t.form);
    int checked[2] = {0, 0};
    for (const Primitive& p : t.picture()) {
      if (p.kind != Primitive::Kind::Circle || p.r != 1) continue;
      const bool centre = p.colour == fixedColour(0) || p.colour == fixedColour(1);  // colours a and b
      if (!centre && p.colour != fixedColour(2) && p.colour != fixedColour(3)) continue;  // c and d
      const Cx q(p.x1, p.y1);
      if (q.real() < 0 || q.real() > 1022 || q.imag() < 40 || q.imag() > 731) continue;
      Cx z[4];
      for (int j = 0; j < 4; ++j) z[j] = centre ? task.carryBack(q, j) : task.carry(q, j);
      // The circle through the first three images, and the fourth against it.
      const Cx a = z[1] - z[0], b = z[2] - z[0];
      const double det = 2 * cross(a, b);
      if (std::fabs(det) < 1e-9) continue;
      const Cx m = z[0] + Cx(0, -1) * (std::norm(a) * b - std::norm(b) * a) / det;
      const double radius = std::abs(z[0] - m);
      if (radius > 5000) continue;
      ++checked[centre];
      EXPECT_NEAR(std::abs(z[3] - m), radius, 0.1 + 1e-5 * radius)
          << c.name << (centre ? ": centre" : ": circle") << " point (" << q.real() << ", " << q.imag() << ")";
    }
    EXPECT_GT(checked[0], 300) << c.name;
    EXPECT_GT(checked[1], 300) << c.name;
  }
}

// Two pairs chosen with T and W: the stored pivots are a four-bar whose moving
// pivots, carried with the plane, keep their distances from the fixed pivots
// in all four positions; the recorded strings describe exactly that four-bar.
TEST(Synthesis, RecordedFourBarIsTheChosenBurmesterFourBar) {
  for (double deg : {0.0, 120.0, 200.0}) {
    testing::TestForm t;
    showSynthesis(t, 6, deg);
    const Task task = taskOf(t.form);
    t.keyChar('T');
    t.keyChar('W');
    const StateRecord& st = t.form.st;
    const Cx f(st.bxx, st.byx), g(st.bxa, st.bya), h(st.bxy, st.byy), i(st.bxb, st.byb);
    for (int j = 1; j < 4; ++j) {
      EXPECT_NEAR(std::abs(task.carry(g, j) - f), std::abs(g - f), 1e-6 * std::abs(g - f));
      EXPECT_NEAR(std::abs(task.carry(i, j) - h), std::abs(i - h), 1e-6 * std::abs(i - h));
    }

    showSynthesis(t, 7, deg);
    ASSERT_FALSE(t.form.st.gg.empty());
    const std::vector<double> len = fields(t.form.st.gg);
    const std::vector<double> val = fields(t.form.st.hg);
    ASSERT_EQ(len.size(), 26u);
    ASSERT_EQ(val.size(), 26u);
    // Six decimals: the dimensions as found.
    EXPECT_NEAR(std::abs(len[0]), std::abs(g - f), 1e-5);
    EXPECT_NEAR(std::abs(len[1]), std::abs(i - g), 1e-5);
    EXPECT_NEAR(std::abs(len[2]), std::abs(i - h), 1e-5);
    EXPECT_NEAR(std::abs(len[3]), std::abs(h - f), 1e-5);
    EXPECT_NEAR(std::abs(len[4]), std::abs(task.first[0] - g), 1e-5);
    EXPECT_NEAR(std::abs(len[5]), std::abs(task.first[0] - i), 1e-5);
    EXPECT_NEAR(std::abs(len[6]), std::abs(task.second[0] - g), 1e-5);
    EXPECT_NEAR(std::abs(len[7]), std::abs(task.second[0] - i), 1e-5);
    EXPECT_NEAR(val[0], f.real(), 1e-6);
    EXPECT_NEAR(val[1], f.imag(), 1e-6);
    EXPECT_EQ(val[8], 4);
    // The rocker and the coupler points carry the side on which they were found.
    EXPECT_EQ(len[2] < 0, cross(h - g, i - g) < 0);
    EXPECT_EQ(len[5] < 0, cross(i - g, task.first[0] - g) < 0);
    EXPECT_EQ(len[7] < 0, cross(i - g, task.second[0] - g) < 0);
    EXPECT_EQ(t.form.st.mn0, 1);
  }
}

// After Analyse, the recorded four-bar (mechanism type 9) turned to the crank
// angle of each position brings the plane points A and E there, for every
// position that lies on the assembly branch of the first one.
TEST(Synthesis, AnalysedFourBarGuidesThePlaneThroughThePositions) {
  int reached = 0;
  for (double deg : {0.0, 200.0}) {
    testing::TestForm t;
    showSynthesis(t, 6, deg);
    const Task task = taskOf(t.form);
    t.keyChar('T');
    t.keyChar('W');
    const StateRecord& st = t.form.st;
    const Cx g(st.bxa, st.bya), h(st.bxy, st.byy), i(st.bxb, st.byb);
    showSynthesis(t, 7, deg);
    showSynthesis(t, 8, deg);
    ASSERT_EQ(t.form.st.mn0, 9);
    ASSERT_EQ(t.form.st.mn1, 1);
    ASSERT_EQ(t.form.st.mn2, 1);

    const std::vector<double> val = fields(t.form.st.hg);
    const Cx frame(val[0], val[1]);
    const double branch = cross(h - g, i - g);
    for (int j = 0; j < 4; ++j) {
      const Cx gj = task.carry(g, j), ij = task.carry(i, j);
      if ((cross(h - gj, ij - gj) < 0) != (branch < 0)) continue;  // other branch
      const Cx crank = gj - frame;
      t.form.st.wxx = val[2] * kDeg - std::atan2(-crank.imag(), crank.real());
      t.key(kKeyRebuild);
      ASSERT_EQ(t.form.scratch().kks, 0) << "position " << j + 1;
      EXPECT_LT(std::abs(at(t.form, U'C') - task.first[j]), 0.05) << "position " << j + 1;
      EXPECT_LT(std::abs(at(t.form, U'D') - task.second[j]), 0.05) << "position " << j + 1;
      EXPECT_LT(std::abs(at(t.form, U'B') - ij), 0.05) << "position " << j + 1;
      ++reached;
    }
  }
  EXPECT_GE(reached, 6);
}

}  // namespace
}  // namespace pm

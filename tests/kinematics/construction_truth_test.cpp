// Kinematic truth of the constructions that name a kinematic quantity: every
// such point of a topic's picture against the independent four-bar model, for
// the crank-rocker, the double crank, the double rocker, the Watt preset and
// the slider crank, at every checked drive angle where the loop closes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "draw/colour_tables.h"
#include "draw/label_tables.h"
#include "kinematics/truth_picture.h"
#include "script/vector.h"
#include "shell/menu_table.h"

namespace pm::kinematics {
namespace {

using pm::testing::TestForm;

Rgb fixed(char32_t letter) { return fixedColour(code(letter) - code(U'a')); }

// Centres of the small point circles of one colour and radius.
std::vector<Vec> dots(const DisplayList& list, char32_t colour, double radius) {
  std::vector<Vec> found;
  for (const Primitive& p : list) {
    if (p.kind == Primitive::Kind::Circle && p.colour == fixed(colour) && p.r == radius)
      found.emplace_back(p.x1, p.y1);
  }
  return found;
}

// The centres of curvature of the path of C at the crank angles 4k°, on both
// branches of the model, by differences of step h; with the path radii.
std::vector<Vec> evoluteOfTheModel(const FourBarModel& model, double h, std::vector<double>* radii = nullptr) {
  std::vector<Vec> centres;
  for (const FourBarModel& m : {model, model.otherBranch()}) {
    const Vec z = m.couplerPointRatio();
    for (int k = 0; k < 90; ++k) {
      const double theta = 4 * k * kDeg;
      const auto before = m.couplerPlanePoint(theta - h, z);
      const auto here = m.couplerPlanePoint(theta, z);
      const auto after = m.couplerPlanePoint(theta + h, z);
      if (!before || !here || !after) continue;
      const FourBarModel::Derivatives d{*here, (*after - *before) / (2 * h),
                                        (*after - 2.0 * *here + *before) / (h * h)};
      centres.push_back(osculatingCentre(d));
      if (radii) radii->push_back(std::abs(centres.back() - *here));
    }
  }
  return centres;
}

class ConstructionTruth : public ::testing::TestWithParam<int> {};

// Group 6, topics 6 and 7: V, built from the acceleration of the pole point by
// the right angle at K, is the inflection pole: the plane point there runs
// through an inflection, and V is W of the inflection circle. Topic 7's circle
// about the midpoint of V and P is then the inflection circle itself.
TEST_P(ConstructionTruth, InflectionPoleFromThePoleAccelerationHasAStraightPath) {
  TestForm t;
  const int type = GetParam();
  int checked = 0;
  for (int topic : {6, 7}) {
    for (double wxx : kDriveAngles) {
      const Picture s = show(t, type, 6, topic, wxx);
      if (!s.closed) continue;
      const Registers& r = t.form.reg();
      const Vec p = at(r, U'P'), v = at(r, U'V'), w = at(r, U'W');
      const double diameter = std::abs(w - p);
      if (!(diameter > 1 && diameter < 1e5)) continue;  // degenerate inflection circle
      ++checked;
      const std::string here = where(type, wxx) + " topic " + std::to_string(topic);
      const auto dV = s.model.derivatives(s.model.couplerRatio(v), 1e-4);
      ASSERT_TRUE(dV) << here;
      EXPECT_LE(std::abs(curvature(*dV)) * diameter, 1e-3) << here;
      EXPECT_LE(std::abs(v - w), 1e-6 * (1 + diameter)) << here;
      // V lies on the side of the acceleration of the pole point.
      EXPECT_GT(std::real(std::conj(at(r, U'Ç') - p) * (v - p)), 0) << here;
      if (topic == 7) {
        EXPECT_LE(std::abs(at(r, U'M') - (p + w) / 2.0), 1e-6 * (1 + diameter)) << here;
      }
    }
  }
  EXPECT_GE(checked, 6) << "type " << type;
}

// The worked example, subtopic 4: C→I is the normal acceleration of C,
// perpendicular to its velocity, v²/ρ long and pointing to the centre of
// curvature; A→Ã and B→Ä are those of A and B.
TEST_P(ConstructionTruth, ExampleNormalAccelerationsPointToTheCentresOfCurvature) {
  forEachPosition(GetParam(), 9, 4, [](const Picture& s, const Registers& r, const std::string& w) {
    const auto dC = *s.model.derivatives(s.model.couplerPointRatio());
    const Vec c = dC.p, vC = s.omega * dC.d1;
    const Vec normal = at(r, U'I') - c;
    EXPECT_LE(std::abs(std::real(std::conj(normal) * vC)), 1e-5 * (1 + std::norm(vC)))
        << w << " C-I not perpendicular to v_C";
    const Vec centre = osculatingCentre(dC);
    if (std::abs(centre - c) < 5000) expectNear(normal, normalTowards(c, centre, vC), w + " C-I");
    const Vec A = at(r, U'A'), B = at(r, U'B');
    expectNear(at(r, U'Ã') - A, normalTowards(A, s.model.frameX(), s.velocity(A)), w + " A-Ã");
    expectNear(at(r, U'Ä') - B, normalTowards(B, s.model.frameY(), s.velocity(B)), w + " B-Ä");
  });
}

// Group 1, topic 2: each labelled point is the relative pole of the two links
// its label names (a crank, b coupler, c rocker, d frame): the point has the
// same velocity as a member of either link.
TEST_P(ConstructionTruth, PoleLabelsNameTheLinksWhoseRelativePoleTheyAre) {
  const auto check = [](const Picture& s, const Registers& r, const std::string& w) {
    for (char32_t point : {U'A', U'B', U'D', U'P', U'X', U'Y'}) {
      const std::u32string label = labelText(1, 2, code(point));
      ASSERT_EQ(label.size(), 3u);
      const Vec q = at(r, point);
      if (std::abs(q) > 1e5) continue;  // a pole far off: parallel lines
      const Vec first = s.model.linkPointDerivative(static_cast<char>(label[1]), q);
      const Vec second = s.model.linkPointDerivative(static_cast<char>(label[2]), q);
      // Derivatives in the crank angle are of the order of the link lengths.
      const double scale = 1 + std::abs(at(r, U'A') - at(r, U'X')) + std::abs(first);
      EXPECT_LE(std::abs(first - second), 1e-5 * scale)
          << w << " point " << static_cast<char>(point) << " labelled "
          << static_cast<char>(label[0]) << static_cast<char>(label[1])
          << static_cast<char>(label[2]);
    }
  };
  forEachPosition(GetParam(), 1, 2, check, /*joints=*/true);
}

// Group 6, topic 2: every point of the evolute is the centre of curvature of
// the path of C at a crank angle of the 4° grid, on one of the two branches;
// no stray point where the pole falls on the frame line.
TEST_P(ConstructionTruth, EvolutePointsAreCentresOfCurvature) {
  TestForm t;
  const int type = GetParam();
  int checkedPictures = 0;
  for (double wxx : {0.0, 1.9}) {
    const Picture s = show(t, type, 6, 2, wxx);
    if (!s.closed) continue;
    ++checkedPictures;
    std::vector<double> radii;
    const std::vector<Vec> centres = evoluteOfTheModel(s.model, 1e-3, &radii);
    const std::vector<Vec> evolute = dots(t.picture(), U'c', 2);
    EXPECT_GT(evolute.size(), 20u) << where(type, wxx);
    for (const Vec& q : evolute) {
      // Nearly straight paths put their centres far outside the picture, where
      // the drawing limits the coordinates.
      if (std::abs(q - Vec(511, 385)) > 5000) continue;
      double best = INFINITY;
      for (std::size_t i = 0; i < centres.size(); ++i)
        best = std::min(best, std::abs(q - centres[i]) / (1 + 1e-3 * radii[i]));
      EXPECT_LT(best, 0.5) << where(type, wxx) << " evolute point (" << q.real() << ", "
                           << q.imag() << ") is no centre of curvature";
    }
  }
  EXPECT_GE(checkedPictures, 1) << "type " << type;
}

// Group 4, topic 3 over a revolution of every type: W is the inflection pole
// of the model, P + p''/ψ'² for the plane point p at the pole and the coupler
// angle ψ, however far off it lies (a nearly straight coupler motion puts it
// beyond x = 99999, where a clamped intersection would leave it).
TEST(FarConstructions, InflectionPoleOfEveryPositionIsTheModels) {
  int far = 0;
  for (int type = 1; type <= 8; ++type) {
    TestForm t;
    for (int k = 0; k < 90; ++k) {
      const Picture s = show(t, type, 4, 3, k * 4 * kDeg);
      if (!s.closed) continue;
      const auto pole = s.model.pole(s.model.theta0());
      const double turn = s.couplerOmega() / s.omega;  // dψ/dθ
      if (!pole || !(std::fabs(turn) > 1e-6)) continue;
      const auto d = s.model.derivatives(s.model.couplerRatio(*pole));
      ASSERT_TRUE(d);
      const Vec w = *pole + d->d2 / (turn * turn);
      const double diameter = std::abs(w - *pole);
      if (!(diameter < 1e7)) continue;  // beyond the coordinates the drawing keeps
      far += at(t.form.reg(), U'W').real() > 99999 || w.real() > 99999;
      // The differences of the model near a dead position carry errors of
      // the order of 10⁻⁴ of the diameter; a clamped W is off by far more.
      EXPECT_LE(std::abs(at(t.form.reg(), U'W') - w), 1e-3 * (1 + diameter)) << where(type, k * 4 * kDeg);
    }
  }
  EXPECT_GE(far, 5);
}

// Points the clamp used to misplace: the curve of the crank radius 80 in
// group 4, topic 6 (type 1, 23 steps: W lies 6.4·10⁵ away) and the evolute
// in group 6, topic 2 (type 2, 4 steps), each on screen against the model.
TEST(FarConstructions, CurvesAndEvoluteOnScreenHaveTheirRadii) {
  TestForm t;
  Picture s = show(t, 1, 4, 6, -23 * 4 * kDeg);
  ASSERT_TRUE(s.closed);
  for (const Primitive& p : t.picture()) {
    if (p.kind != Primitive::Kind::Line || p.width != 1) continue;
    if (!(p.colour == fixed(U'j') || p.colour == fixed(U'g'))) continue;
    const Vec q(p.x2, p.y2);
    if (q.real() < 0 || q.real() > 1022 || q.imag() < 40 || q.imag() > 731) continue;
    const auto d = s.model.derivatives(s.model.couplerRatio(q));
    ASSERT_TRUE(d);
    EXPECT_NEAR(1 / std::fabs(curvature(*d)), 80, 0.5) << "(" << q.real() << ", " << q.imag() << ")";
  }
  s = show(t, 2, 6, 2, 4 * 4 * kDeg);
  ASSERT_TRUE(s.closed);
  const std::vector<Vec> centres = evoluteOfTheModel(s.model, 1e-4);
  int onScreen = 0;
  for (const Vec& q : dots(t.picture(), U'c', 2)) {
    if (std::abs(q - Vec(511, 385)) > 1000) continue;
    ++onScreen;
    double best = INFINITY;
    for (const Vec& c : centres) best = std::min(best, std::abs(q - c));
    EXPECT_LT(best, 0.01) << "evolute point (" << q.real() << ", " << q.imag() << ")";
  }
  EXPECT_GT(onScreen, 20);
}

// The solutions of the exercises, exercises 1 to 20 of each kind, as the
// solution's construction leaves them (which the exercises' own closed form
// meets), against the model: the pole P where X-A meets Y-B, the counter
// pole D where A-B meets X-Y, the tip b of v_B, the inflection pole W whose
// path is straight, the centre J of the osculating circle of C's path, and
// the acceleration pole U whose acceleration is zero.
TEST(ExerciseSolutions, TwentyOfEachKindAreTheModels) {
  for (const MenuEntry& item : exerciseMenu()) {
    if (item.exerciseKind == 0) continue;
    TestForm t;
    ASSERT_TRUE(t.form.menuCommand(item.name));
    for (int seed = 1; seed <= 20; ++seed) {
      const std::string here = std::string(item.name) + " " + std::to_string(seed);
      t.keyChar('L');
      Registers& r = t.form.reg();
      Picture s;
      s.model = FourBarModel::fromRegisters(r);
      s.omega = r.lenOf(U'v') / 5;
      s.alpha = r.lenOf(U'x') / r.lenOf(U'a');
      const Vec X = s.model.frameX(), Y = s.model.frameY(), A = s.model.crankPin(s.model.theta0());
      const std::optional<Vec> B = s.model.rockerPin(s.model.theta0());
      ASSERT_TRUE(B && s.model.derivatives(s.model.couplerPointRatio())) << here;
      const double size = std::abs(*B - A);
      switch (item.exerciseKind) {
        case 1:
          expectNear(at(r, U'P'), *s.model.pole(s.model.theta0()), here);
          break;
        case 2: {
          const Vec D = at(r, U'D');
          EXPECT_LE(std::fabs(cross(D - A, *B - A)) / std::abs(*B - A), 1e-6 * size) << here;
          EXPECT_LE(std::fabs(cross(D - X, Y - X)) / std::abs(Y - X), 1e-6 * size) << here;
          break;
        }
        case 3:
          expectNear(at(r, U'b') - *B, s.velocity(*B), here);
          break;
        case 4: {
          const auto d = s.model.derivatives(s.model.couplerRatio(at(r, U'W')), 1e-4);
          ASSERT_TRUE(d) << here;
          EXPECT_LE(std::fabs(curvature(*d)) * size, 1e-3) << here;
          break;
        }
        case 5: {
          const auto d = s.model.derivatives(s.model.couplerPointRatio(), 1e-4);
          EXPECT_LE(std::abs(at(r, U'J') - osculatingCentre(*d)), 1e-3 * size) << here;
          break;
        }
        default:
          EXPECT_LE(std::abs(s.acceleration(at(r, U'U'))), 1e-4 * (1 + std::abs(s.acceleration(*B)))) << here;
      }
      t.keyChar('N');
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Types, ConstructionTruth, ::testing::ValuesIn(kCheckedTypes),
                         [](const auto& info) { return "Type" + std::to_string(info.param); });

// Group 4, topic 5: the diameter of the inflection circle and its angle are
// printed inside the drawing area (y from 40), and the diameter is |a_P| / ω²,
// the acceleration of the pole point over the square of the coupler's angular
// speed.
TEST(CurvesOfEqualCurvature, DiameterIsPrintedInsideTheDrawingArea) {
  TestForm t;
  for (int type : kCheckedTypes) {
    const Picture s = show(t, type, 4, 5, 0.6);
    if (!s.closed) continue;
    const Vec p = at(t.form.reg(), U'P');
    const double diameter = std::abs(s.acceleration(p)) / std::pow(s.couplerOmega(), 2);
    bool found = false;
    for (const Primitive& q : t.picture()) {
      if (q.kind != Primitive::Kind::Text) continue;
      EXPECT_GE(q.y1, 40) << "type " << type << " text above the drawing area";
      // The first number item of the line: the integer part of the diameter.
      const std::string text(q.text.begin(), q.text.end());
      if (found || text.size() < 3 || text.front() != ' ' || text.back() != ' ') continue;
      char* end = nullptr;
      const double value = std::strtod(text.c_str(), &end);
      if (end == text.c_str() || *end != ' ') continue;
      found = std::fabs(value - std::floor(diameter)) <= 1;
    }
    EXPECT_TRUE(found) << "type " << type << " diameter " << diameter << " not printed";
  }
}

}  // namespace
}  // namespace pm::kinematics

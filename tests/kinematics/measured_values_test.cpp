// The values panel against the program's own assembly: the closed-form
// velocities and accelerations against central differences of the positions
// the drive step places at neighbouring crank angles, the poles and the
// curvature against the traced paths, the listed speeds against the arrows the
// constructions draw, and the lines themselves.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kinematics/measured_values.h"
#include "kinematics/number_format.h"
#include "kinematics/planar_motion.h"
#include "support/test_form.h"

namespace pm::kinematics {
namespace {

using pm::testing::TestForm;

constexpr double kH = 1e-3;  // step of the central differences, radians of crank angle
constexpr double kDeg = std::numbers::pi / 180;
// An arbitrary drive, so that ω and α enter every formula with their own weight.
constexpr Drive kDrive{0, 1.3, -0.7};

Vec at(const TestForm& t, char32_t name) {
  const Point p = t.form.engine.reg.point(name);
  return {p.x, p.y};
}

// The program's assembly in group `group`, topic `topic` at drive angle wxx,
// without a drive step.
struct Assembly {
  bool closed = false;
  double crankAngle = 0;
  LoopGeometry geometry;
  Vec A, B, C, I, H, F, G;
};

Assembly assemble(TestForm& t, int type, double wxx, int group = 1, int topic = 1) {
  t.form.st.wxx = wxx;
  t.form.st.qgw = 0;
  t.form.st.qzw = 1;
  t.show(type, group, topic);
  t.form.st.qzw = 1;  // a loop that did not close reversed the drive
  Registers& r = t.form.engine.reg;
  Assembly s;
  s.crankAngle = t.form.cmd.shown.crankAngle;
  s.closed = t.form.engine.s.kks == 0 &&
             std::fabs(std::remainder(s.crankAngle - (r.valOf(U'c') * kDeg - wxx), 2 * std::numbers::pi)) < 1e-9;
  s.geometry.pivot = {r.valOf(U'a'), r.valOf(U'b')};
  s.geometry.frameAngle = r.valOf(U'd') * kDeg;
  s.geometry.crank = r.lenOf(U'a');
  s.geometry.coupler = r.lenOf(U'b');
  s.geometry.rocker = r.lenOf(U'c');
  s.geometry.frame = r.lenOf(U'd');
  s.geometry.toC = r.lenOf(U'e');
  s.geometry.fromBToC = r.lenOf(U'f');
  s.A = at(t, U'A');
  s.B = at(t, U'B');
  s.C = at(t, U'C');
  s.I = at(t, U'I');
  s.H = at(t, U'H');
  s.F = at(t, U'F');
  s.G = at(t, U'G');
  return s;
}

// Positions at θ − 2h, θ − h, θ, θ + h, θ + 2h (the crank angle falls as the
// drive angle grows), for differences of fourth order.
struct Neighbours {
  std::array<Assembly, 5> at;
  const Assembly& centre() const { return at[2]; }
  bool closed() const {
    for (const Assembly& s : at)
      if (!s.closed) return false;
    return true;
  }
  template <class F>
  auto values(F f) const {
    return std::array{f(at[0]), f(at[1]), f(at[2]), f(at[3]), f(at[4])};
  }
};

Neighbours neighbours(TestForm& t, int type, double wxx, int group = 1, int topic = 1) {
  Neighbours n;
  for (int k : {0, 1, 3, 4, 2}) n.at[k] = assemble(t, type, wxx - (k - 2) * kH, group, topic);
  return n;
}

// First and second derivative in θ from five equally spaced values.
template <class T>
std::pair<T, T> derivatives(const std::array<T, 5>& f) {
  const T d1 = (8.0 * (f[3] - f[1]) - (f[4] - f[0])) / (12 * kH);
  const T d2 = (-(f[4] + f[0]) + 16.0 * (f[3] + f[1]) - 30.0 * f[2]) / (12 * kH * kH);
  return {d1, d2};
}

// Velocity and acceleration of a point from its positions, for the drive
// kDrive: v = ω·dp/dθ, a = α·dp/dθ + ω²·d²p/dθ².
PointMotion differences(const std::array<Vec, 5>& p) {
  const auto [d1, d2] = derivatives(p);
  return {p[2], kDrive.omega * d1, kDrive.alpha * d1 + kDrive.omega * kDrive.omega * d2};
}

// ω and α of a link from the screen angles of its direction.
LinkMotion linkDifferences(const std::array<Vec, 5>& direction) {
  std::array<double, 5> angle{};
  angle[2] = screenAngle(direction[2]);
  for (int k : {1, 3}) angle[k] = angle[2] + std::remainder(screenAngle(direction[k]) - angle[2], 2 * std::numbers::pi);
  for (int k : {0, 4}) {
    const int inner = k == 0 ? 1 : 3;
    angle[k] = angle[inner] + std::remainder(screenAngle(direction[k]) - angle[inner], 2 * std::numbers::pi);
  }
  const auto [d1, d2] = derivatives(angle);
  return {angle[2], kDrive.omega * d1, kDrive.alpha * d1 + kDrive.omega * kDrive.omega * d2};
}

void expectClose(Vec got, Vec want, double scale, const std::string& what) {
  EXPECT_LE(std::abs(got - want), 1e-4 * (std::abs(want) + scale)) << what << ": " << got << " against " << want;
}

void expectClose(double got, double want, double scale, const std::string& what) {
  EXPECT_LE(std::fabs(got - want), 1e-4 * (std::fabs(want) + scale)) << what << ": " << got << " against " << want;
}

Drive driveAt(double angle) { return {angle, kDrive.omega, kDrive.alpha}; }

// Drive angles spread over a turn, so that even the double rockers close at
// three or more of them on each branch.
std::vector<double> driveAngles() {
  std::vector<double> out;
  for (int k = 0; k < 24; ++k) out.push_back(0.13 + k * 2 * std::numbers::pi / 24);
  return out;
}

// Near a dead position the derivatives grow without bound and differences
// lose their accuracy. The slotted types have coupler and rocker practically
// parallel at every angle and never come near one.
bool nearDeadPosition(const LoopMotion& m, const LoopGeometry& g) {
  return std::fabs(g.coupler) < 10000 && transmissionAngle(m) < 5;
}

class LoopTypes : public ::testing::TestWithParam<int> {};

TEST_P(LoopTypes, VelocitiesAndAccelerationsAreTheDerivativesOfTheAssembly) {
  TestForm t;
  const int type = GetParam();
  for (double branch : {1.0, -1.0}) {
    t.form.st.qcc = branch;
    int checked = 0;
    for (double wxx : driveAngles()) {
      const Neighbours n = neighbours(t, type, wxx);
      if (!n.closed()) continue;
      const Assembly& s = n.centre();
      const LoopMotion m = solveLoop(s.geometry, driveAt(s.crankAngle));
      const std::string here = "type " + std::to_string(type) + " branch " + std::to_string(branch) +
                               " wxx " + std::to_string(wxx);
      ASSERT_TRUE(m.closed && m.hasC) << here;
      if (nearDeadPosition(m, s.geometry)) continue;
      ++checked;
      const double scale = std::fabs(s.geometry.crank);
      // The same assembly as the drive step.
      expectClose(m.A.p, s.A, scale, here + " A");
      expectClose(m.B.p, s.B, scale, here + " B");
      expectClose(m.C.p, s.C, scale, here + " C");

      const PointMotion a = differences(n.values([](const Assembly& q) { return q.A; }));
      const PointMotion b = differences(n.values([](const Assembly& q) { return q.B; }));
      const PointMotion c = differences(n.values([](const Assembly& q) { return q.C; }));
      expectClose(m.A.v, a.v, scale, here + " v A");
      expectClose(m.A.a, a.a, scale, here + " a A");
      expectClose(m.B.v, b.v, scale, here + " v B");
      expectClose(m.B.a, b.a, scale, here + " a B");
      expectClose(m.C.v, c.v, scale, here + " v C");
      expectClose(m.C.a, c.a, scale, here + " a C");

      const Vec x = m.X, y = m.Y;
      const LinkMotion coupler = linkDifferences(n.values([](const Assembly& q) { return q.B - q.A; }));
      const LinkMotion rocker = linkDifferences(n.values([y](const Assembly& q) { return q.B - y; }));
      expectClose(m.coupler.angle, coupler.angle, 1, here + " coupler angle");
      expectClose(m.coupler.omega, coupler.omega, 1, here + " ω coupler");
      expectClose(m.coupler.alpha, coupler.alpha, 1, here + " α coupler");
      expectClose(m.rocker.omega, rocker.omega, 1, here + " ω rocker");
      expectClose(m.rocker.alpha, rocker.alpha, 1, here + " α rocker");

      // The slider read-outs: the slotted link Y-A with its block at A, and
      // the distance of the slider B from X.
      const LinkMotion slot = lineMotion(m.A, y);
      const LinkMotion slotWant = linkDifferences(n.values([y](const Assembly& q) { return q.A - y; }));
      expectClose(slot.omega, slotWant.omega, 1, here + " ω slot");
      expectClose(slot.alpha, slotWant.alpha, 1, here + " α slot");
      const DistanceMotion onSlot = distanceMotion(m.A, y);
      const PointMotion onSlotWant = differences(n.values([y](const Assembly& q) { return Vec(std::abs(q.A - y)); }));
      expectClose(onSlot.rate, onSlotWant.v.real(), scale, here + " ds/dt on the slot");
      expectClose(onSlot.acceleration, onSlotWant.a.real(), scale, here + " d²s/dt² on the slot");
      const DistanceMotion slider = distanceMotion(m.B, x);
      const PointMotion sliderWant = differences(n.values([x](const Assembly& q) { return Vec(std::abs(q.B - x)); }));
      expectClose(slider.rate, sliderWant.v.real(), scale, here + " ds/dt of B");
      expectClose(slider.acceleration, sliderWant.a.real(), scale, here + " d²s/dt² of B");
    }
    EXPECT_GE(checked, 3) << "type " << type << " branch " << branch;
  }
}

// A point of the coupler plane given by its place now, carried with A and B
// to the neighbouring positions.
PointMotion planePoint(const Neighbours& n, Vec q) {
  const Vec z = (q - n.centre().A) / (n.centre().B - n.centre().A);
  return differences(n.values([z](const Assembly& s) { return s.A + z * (s.B - s.A); }));
}

double cross(Vec a, Vec b) { return a.real() * b.imag() - a.imag() * b.real(); }

TEST_P(LoopTypes, PolesInflectionCircleAndCurvatureOfCAgreeWithTheTracedPaths) {
  TestForm t;
  const int type = GetParam();
  int checked = 0;
  for (double wxx : driveAngles()) {
    const Neighbours n = neighbours(t, type, wxx);
    if (!n.closed()) continue;
    const LoopMotion m = solveLoop(n.centre().geometry, driveAt(n.centre().crankAngle));
    if (nearDeadPosition(m, n.centre().geometry)) continue;
    const PlaneInvariants inv = couplerInvariants(m);
    if (!inv.valid || !(inv.inflectionDiameter > 1 && inv.inflectionDiameter < 1e5)) continue;
    ++checked;
    const std::string here = "type " + std::to_string(type) + " wxx " + std::to_string(wxx);
    const double speedA = std::abs(m.A.v);
    // The plane point at the pole stands still.
    EXPECT_LE(std::abs(planePoint(n, inv.pole).v), 1e-5 * speedA) << here;
    // The plane point at the inflection pole runs through an inflection.
    const PointMotion w = planePoint(n, inv.inflectionPole);
    const double curvatureW = cross(w.v, w.a) / std::pow(std::abs(w.v), 3);
    EXPECT_LE(std::fabs(curvatureW) * inv.inflectionDiameter, 1e-3) << here;
    EXPECT_NEAR(std::abs(inv.inflectionPole - inv.pole), inv.inflectionDiameter, 1e-9 * inv.inflectionDiameter);
    // The plane point at the acceleration pole is not accelerated.
    ASSERT_TRUE(inv.hasAccelerationPole) << here;
    EXPECT_LE(std::abs(planePoint(n, inv.accelerationPole).a), 1e-4 * std::abs(m.A.a)) << here;
    // C's path: the osculating circle of the traced positions.
    const PointMotion c = differences(n.values([](const Assembly& q) { return q.C; }));
    const std::optional<Curvature> k = pathCurvature(m.C);
    ASSERT_TRUE(k) << here;
    if (k->radius > 1e5) continue;
    const double traced = cross(c.v, c.a) / std::pow(std::abs(c.v), 3);
    EXPECT_NEAR(1 / k->radius, std::fabs(traced), 1e-4 / k->radius) << here;
    const Vec normal{-c.v.imag(), c.v.real()};
    const Vec centre = c.p + normal * (std::norm(c.v) / cross(c.v, c.a));
    EXPECT_LE(std::abs(k->centre - centre), 1e-4 * k->radius) << here;
  }
  EXPECT_GE(checked, 3) << "type " << type;
}

// The joints the page lets the user drag stand where the assembly put them,
// and pressing a joint's letter key with the pointer there leaves every joint
// in place: a drag starts without a jump.
TEST_P(LoopTypes, DraggableJointsStandWhereTheirLetterKeysKeepThem) {
  TestForm t;
  const int type = GetParam();
  const Assembly s = assemble(t, type, 0.4);
  ASSERT_TRUE(s.closed) << "type " << type;
  const std::vector<ShownJoint> joints = shownJoints(t.form);
  const Vec pivot = s.geometry.pivot;
  const double scale = std::fabs(s.geometry.crank);
  std::string letters;
  for (const ShownJoint& j : joints) {
    letters += j.letter;
    const Vec want = j.letter == 'X' ? pivot : j.letter == 'Y' ? Vec(t.form.engine.reg.point(U'Y').x, t.form.engine.reg.point(U'Y').y)
                                                              : at(t, static_cast<char32_t>(j.letter));
    expectClose(Vec(j.x, j.y), want, scale, std::string("type ") + std::to_string(type) + " joint " + j.letter);
  }
  EXPECT_TRUE(letters.starts_with("X") && letters.find('A') != std::string::npos) << "type " << type << ": " << letters;
  for (const ShownJoint& j : joints) {
    t.host.cx = j.x;
    t.host.cy = j.y;
    t.keyChar(j.letter);
    const std::vector<ShownJoint> after = shownJoints(t.form);
    ASSERT_EQ(after.size(), joints.size()) << "type " << type << " after " << j.letter;
    for (std::size_t k = 0; k < joints.size(); ++k)
      expectClose(Vec(after[k].x, after[k].y), Vec(joints[k].x, joints[k].y), scale,
                  std::string("type ") + std::to_string(type) + " joint " + joints[k].letter + " after key " + j.letter);
  }
}

INSTANTIATE_TEST_SUITE_P(TypesOneToEight, LoopTypes, ::testing::Range(1, 9));

TEST(SixBarValues, OutputLinksAreTheDerivativesOfTheProgramsChain) {
  TestForm t;
  for (int topic = 1; topic <= 8; ++topic) {
    int checked = 0;
    for (double wxx : driveAngles()) {
      const Neighbours n = neighbours(t, 1, wxx, 8, topic);
      if (!n.closed()) continue;
      const Registers& r = t.form.engine.reg;
      std::array<double, 10> lengths{};
      for (int k = 0; k < 10; ++k) lengths[k] = r.len[code(U'g') + k];
      const Assembly& s = n.centre();
      const LoopMotion m = solveLoop(s.geometry, driveAt(s.crankAngle));
      const SixBarMotion six = solveSixBar(m, lengths, topic);
      // The program's chain closed as far as G when G moved off the origin.
      bool chainClosed = true;
      for (const Assembly& q : n.at) chainClosed = chainClosed && q.G != Vec{};
      if (!chainClosed) continue;
      const std::string here = "topic " + std::to_string(topic) + " wxx " + std::to_string(wxx);
      ASSERT_TRUE(six.closed && six.hasG) << here;
      if (six.dyad.dead) continue;
      ++checked;
      expectClose(six.dyad.joint.p, s.F, 1, here + " F");
      expectClose(six.G.p, s.G, 1, here + " G");
      const LinkMotion first = linkDifferences(n.values([](const Assembly& q) { return q.F - q.I; }));
      const LinkMotion second = linkDifferences(n.values([](const Assembly& q) { return q.F - q.H; }));
      expectClose(six.dyad.first.angle, first.angle, 1, here + " angle I-F");
      expectClose(six.dyad.second.angle, second.angle, 1, here + " angle H-F");
      expectClose(six.dyad.first.omega, first.omega, 1, here + " ω I-F");
      expectClose(six.dyad.second.omega, second.omega, 1, here + " ω H-F");
      expectClose(six.dyad.first.alpha, first.alpha, 1, here + " α I-F");
      expectClose(six.dyad.second.alpha, second.alpha, 1, here + " α H-F");
      const PointMotion g = differences(n.values([](const Assembly& q) { return q.G; }));
      expectClose(six.G.v, g.v, 100, here + " v G");
      expectClose(six.G.a, g.a, 100, here + " a G");
    }
    EXPECT_GE(checked, 3) << "topic " << topic;
  }
}

}  // namespace
}  // namespace pm::kinematics

// Kinematic truth of the velocity, acceleration and curvature constructions:
// the points the program constructs are compared with an independent model of
// the four-bar (plain trigonometry, numerical derivatives in the crank angle).
// A mismatch is a fault in the engine or in a transcribed script.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "kinematics/truth_picture.h"

namespace pm::kinematics {
namespace {

using pm::testing::TestForm;

// Drive angles wxx at which each type is checked here (radians).
const std::vector<double> kFiveAngles = {0.0, 0.6, 1.9, 3.3, 5.2};

using Snapshot = Picture;

Snapshot rebuild(TestForm& t, int type, int group, int topic, double wxx, int qgw = 0) {
  return show(t, type, group, topic, wxx, qgw);
}

class FourBarTruth : public ::testing::TestWithParam<int> {};

// The program's assembly agrees with the model, and the velocity tips a, b, c
// are the crank speed times the derivative of A, B, C in the crank angle.
TEST_P(FourBarTruth, VelocityTipsAreCrankSpeedTimesPathDerivative) {
  TestForm t;
  const int type = GetParam();
  int checked = 0;
  for (double wxx : kFiveAngles) {
    const Snapshot s = rebuild(t, type, 2, 1, wxx);
    if (!s.closed) continue;
    ++checked;
    const Registers& r = t.form.reg();
    const std::string where = "type " + std::to_string(type) + " wxx " + std::to_string(wxx);
    expectNear(at(r, U'A'), s.model.crankPin(s.model.theta0()), where + " A");
    expectNear(at(r, U'B'), *s.model.rockerPin(s.model.theta0()), where + " B");

    const auto dA = s.model.crankPinDerivatives();
    const auto dB = *s.model.derivatives(1.0);
    const auto dC = *s.model.derivatives(s.model.couplerPointRatio());
    expectNear(at(r, U'a') - at(r, U'A'), s.omega * dA.d1, where + " a-A");
    expectNear(at(r, U'b') - at(r, U'B'), s.omega * dB.d1, where + " b-B");
    expectNear(at(r, U'c') - at(r, U'C'), s.omega * dC.d1, where + " c-C");
    // The velocity plan carries the same vectors from O.
    expectNear(at(r, U'k') - at(r, U'O'), s.omega * dB.d1, where + " k-O");
  }
  EXPECT_GE(checked, 2) << "too few closing positions for type " << type;
}

// The acceleration tips q, r, s (drawn from Á, B, C) and the plan point 6 are
// ω²·P'' + α·P' for A, B and C.
TEST_P(FourBarTruth, AccelerationTipsAreSecondDerivativePlusTangentialPart) {
  TestForm t;
  const int type = GetParam();
  int checked = 0;
  for (double wxx : kFiveAngles) {
    const Snapshot s = rebuild(t, type, 3, 1, wxx);
    if (!s.closed) continue;
    ++checked;
    const Registers& r = t.form.reg();
    const std::string where = "type " + std::to_string(type) + " wxx " + std::to_string(wxx);
    const double w2 = s.omega * s.omega;
    const auto dA = s.model.crankPinDerivatives();
    const auto dB = *s.model.derivatives(1.0);
    const auto dC = *s.model.derivatives(s.model.couplerPointRatio());
    expectNear(at(r, U'q') - at(r, U'A'), w2 * dA.d2 + s.alpha * dA.d1, where + " q-A");
    expectNear(at(r, U'r') - at(r, U'B'), w2 * dB.d2 + s.alpha * dB.d1, where + " r-B");
    expectNear(at(r, U's') - at(r, U'C'), w2 * dC.d2 + s.alpha * dC.d1, where + " s-C");
    expectNear(at(r, U'6') - at(r, U'Q'), w2 * dB.d2 + s.alpha * dB.d1, where + " 6-Q");
  }
  EXPECT_GE(checked, 2) << "too few closing positions for type " << type;
}

// The acceleration pole U is the point of the coupler plane without
// acceleration.
TEST_P(FourBarTruth, AccelerationPoleHasNoAcceleration) {
  TestForm t;
  const int type = GetParam();
  for (double wxx : kFiveAngles) {
    const Snapshot s = rebuild(t, type, 3, 7, wxx);
    if (!s.closed) continue;
    const Registers& r = t.form.reg();
    const auto dU = s.model.derivatives(s.model.couplerRatio(at(r, U'U')));
    ASSERT_TRUE(dU);
    const auto dB = *s.model.derivatives(1.0);
    const Vec accelerationOfB = s.omega * s.omega * dB.d2 + s.alpha * dB.d1;
    const Vec accelerationOfU = s.omega * s.omega * dU->d2 + s.alpha * dU->d1;
    EXPECT_LE(std::abs(accelerationOfU), 1e-4 * (1 + std::abs(accelerationOfB)))
        << "type " << type << " wxx " << wxx;
  }
}

// J is the centre of the osculating circle of the path of C.
TEST_P(FourBarTruth, CentreOfCurvatureIsOsculatingCentreOfCouplerPath) {
  TestForm t;
  const int type = GetParam();
  int checked = 0;
  for (double wxx : kFiveAngles) {
    const Snapshot s = rebuild(t, type, 4, 2, wxx);
    if (!s.closed) continue;
    const Registers& r = t.form.reg();
    const auto dC = *s.model.derivatives(s.model.couplerPointRatio());
    const Vec centre = osculatingCentre(dC);
    const double radius = std::abs(centre - dC.p);
    if (!(radius < 5000)) continue;  // nearly straight: J lies far off, not comparable
    ++checked;
    EXPECT_LE(std::abs(at(r, U'J') - centre), 1e-3 * (1 + radius))
        << "type " << type << " wxx " << wxx << " radius " << radius;
  }
  EXPECT_GE(checked, 1) << "no position with a finite curvature radius for type " << type;
}

// The point of the coupler plane at the inflection pole W runs through an
// inflection: its path has zero curvature there.
TEST_P(FourBarTruth, InflectionPolePathHasZeroCurvature) {
  TestForm t;
  const int type = GetParam();
  int checked = 0;
  for (double wxx : kFiveAngles) {
    const Snapshot s = rebuild(t, type, 4, 3, wxx);
    if (!s.closed) continue;
    const Registers& r = t.form.reg();
    const Vec w = at(r, U'W'), p = at(r, U'P');
    const double diameter = std::abs(w - p);
    if (!(diameter > 1 && diameter < 5000)) continue;  // degenerate inflection circle
    ++checked;
    const auto dW = s.model.derivatives(s.model.couplerRatio(w), 1e-4);
    ASSERT_TRUE(dW);
    // A point of the plane at that distance from W has a curvature of the
    // order 1 / diameter; W's own is zero.
    EXPECT_LE(std::abs(curvature(*dW)) * diameter, 1e-3) << "type " << type << " wxx " << wxx;
  }
  EXPECT_GE(checked, 1) << "no usable inflection circle for type " << type;
}

INSTANTIATE_TEST_SUITE_P(AllTypes, FourBarTruth, ::testing::Range(1, 9),
                         [](const auto& info) { return "Type" + std::to_string(info.param); });

// Stepping backwards reverses every velocity arrow but keeps the accelerations.
TEST(FourBarTruthBackwards, StepBackReversesVelocitiesOnly) {
  TestForm t;
  for (int type : {1, 2, 4}) {
    const Snapshot s = rebuild(t, type, 3, 1, 1.0, -1);
    ASSERT_TRUE(s.closed) << "type " << type;
    Registers& r = t.form.reg();
    const auto dB = *s.model.derivatives(1.0);
    const auto dA = s.model.crankPinDerivatives();
    ASSERT_LT(s.omega * r.lenOf(U'v'), 0);
    expectNear(at(r, U'a') - at(r, U'A'), s.omega * dA.d1, "reversed a-A");
    expectNear(at(r, U'b') - at(r, U'B'), s.omega * dB.d1, "reversed b-B");
    const double w2 = s.omega * s.omega;
    expectNear(at(r, U'r') - at(r, U'B'), w2 * dB.d2 + s.alpha * dB.d1, "r-B stepping back");
  }
}

}  // namespace
}  // namespace pm::kinematics

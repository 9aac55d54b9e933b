// The pole-change velocity K − P is the velocity with which the instantaneous
// centre runs along the fixed centrode, and the inflection-pole topics put the
// inflection pole where the coupler plane's point has a path without
// curvature; both against an independently assembled four-bar.
#include <gtest/gtest.h>

#include "kinematics/linkage_model.h"
#include "support/test_form.h"

namespace pm::testing {
namespace {

// Intersection of the line p1-p2 with the line p3-p4.
Z2 meet(Z2 p1, Z2 p2, Z2 p3, Z2 p4) {
  const Z2 d1 = p2 - p1, d2 = p4 - p3;
  const double t = (std::conj(p3 - p1) * d2).imag() / (std::conj(d1) * d2).imag();
  return p1 + t * d1;
}

// Curvature of the path of the coupler-plane point that lies at q at crank
// angle θ.
double pathCurvature(const FourBar& bar, Z2 q, double theta) {
  const Z2 a0 = bar.A(theta), b0 = *bar.B(theta);
  const Z2 local = (q - a0) / (b0 - a0);
  auto at = [&](double t) { return bar.A(t) + local * (*bar.B(t) - bar.A(t)); };
  const double h = 1e-3;
  const Z2 d1 = (at(theta + h) - at(theta - h)) / (2 * h);
  const Z2 d2 = (at(theta + h) - 2.0 * at(theta) + at(theta - h)) / (h * h);
  return (std::conj(d1) * d2).imag() / std::pow(std::abs(d1), 3);
}

struct Case {
  int type;
  int topic;
  int key;
};

class PoleChange : public ::testing::TestWithParam<Case> {};

TEST_P(PoleChange, VelocityOfThePoleAndTheInflectionPoles) {
  const Case c = GetParam();
  TestForm t;
  t.form.st.mn0 = c.type;
  t.form.st.mn1 = 6;
  t.form.st.mn2 = c.topic;
  t.key(kKeyRebuild);
  const FourBar bar = FourBar::fromRegisters(t.form);
  for (int step = 0; step < 8; ++step) {
    t.key(c.key);
    const Form1& f = t.form;
    ASSERT_TRUE(f.cmd.errors.empty());
    const double theta = crankAngle(f);
    const double w = f.engine.reg.len[code(U'v')] / 5 * (f.st.qgw == -1 ? -1 : 1);
    auto pole = [&](double a) { return meet(bar.X, bar.A(a), bar.Y, *bar.B(a)); };
    const Z2 P = at(f, U'P');
    ASSERT_NEAR(std::abs(P - pole(theta)), 0, 1e-6);

    const double h = 1e-5;
    const Z2 poleVelocity = w * (pole(theta + h) - pole(theta - h)) / (2 * h);
    EXPECT_NEAR(std::abs(at(f, U'K') - P - poleVelocity), 0, 1e-4 * (1 + std::abs(poleVelocity)));

    if (c.topic < 6) continue;
    // W: the inflection pole, on the side of the pole point's acceleration.
    const Z2 W = at(f, U'W');
    EXPECT_NEAR(pathCurvature(bar, W, theta), 0, 1e-7);
    EXPECT_GT((std::conj(at(f, U'Ç') - P) * (W - P)).real(), 0);
    // V, found from the acceleration of the pole point by the right-angle
    // construction, is the inflection pole too, so the circle on V-P of the
    // last topic is the inflection circle.
    EXPECT_NEAR(std::abs(at(f, U'V') - W), 0, 1e-6 * (1 + std::abs(W - P)));
  }
}

INSTANTIATE_TEST_SUITE_P(TypesAndTopics, PoleChange,
                         ::testing::Values(Case{1, 4, kKeySpace}, Case{2, 4, kKeyBackspace},
                                           Case{3, 3, kKeySpace}, Case{1, 6, kKeySpace},
                                           Case{2, 7, kKeySpace}, Case{4, 7, kKeyBackspace}));

}  // namespace
}  // namespace pm::testing

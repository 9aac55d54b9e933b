// Relative motion of B against the turning crank plane: the guidance velocity
// H − B, the relative velocity K − B and the Coriolis acceleration U − T drawn
// by the relative-motion topics, checked against derivatives of an
// independently assembled four-bar.
#include <gtest/gtest.h>

#include "kinematics/linkage_model.h"
#include "script/vector.h"
#include "support/test_form.h"

namespace pm::testing {
namespace {

const Z2 kQuarterTurn(0, 1);

// Angular velocity of the crank per unit of crank angle as the drawing scales
// it: the velocity of A is len[A] = len[a]·len[v]/5, reversed when stepping
// backwards.
double omega(const Form1& f) {
  const double w = f.engine.reg.len[code(U'v')] / 5;
  return f.st.qgw == -1 ? -w : w;
}

struct Case {
  int type;
  int key;  // Space steps forward, Backspace backward
};

class RelativeMotion : public ::testing::TestWithParam<Case> {};

TEST_P(RelativeMotion, GuidanceRelativeAndCoriolisMatchTheKinematics) {
  const Case c = GetParam();
  TestForm t;
  t.form.st.mn0 = c.type;
  t.form.st.mn1 = 7;
  t.form.st.mn2 = 7;  // the Coriolis topic builds every point of the group
  t.key(kKeyRebuild);
  const FourBar model = FourBar::fromRegisters(t.form);
  const double h = 1e-5;
  for (int step = 0; step < 12; ++step) {
    t.key(c.key);
    ASSERT_TRUE(t.form.cmd.errors.empty());
    const Form1& f = t.form;
    const double theta = crankAngle(f);
    const double w = omega(f);
    const auto bMinus = model.B(theta - h), bPlus = model.B(theta + h), b0 = model.B(theta);
    ASSERT_TRUE(bMinus && bPlus && b0) << "step " << step;
    const Z2 B = at(f, U'B');
    ASSERT_NEAR(std::abs(B - *b0), 0, 1e-6);
    const Z2 X = at(f, U'X');

    // Velocity of B: w·dB/dθ.
    const Z2 vB = w * (*bPlus - *bMinus) / (2 * h);
    EXPECT_NEAR(std::abs(at(f, U'b') - B - vB), 0, 1e-4 * (1 + std::abs(vB)));

    // Guidance velocity: the crank-plane point at B turned with the crank.
    // A turn of the crank plane by dθ moves a point P by −i·(P − X)·dθ here.
    const Z2 guidance = w * (-kQuarterTurn) * (B - X);
    EXPECT_NEAR(std::abs(at(f, U'H') - B - guidance), 0, 1e-6 * (1 + std::abs(guidance)));

    // Relative velocity: what is left of B's velocity.
    const Z2 relative = vB - guidance;
    const Z2 K = at(f, U'K');
    EXPECT_NEAR(std::abs(K - B - relative), 0, 1e-4 * (1 + std::abs(relative)));

    // Coriolis: 2ω × v_rel, twice as long as ω·|v_rel| and a quarter turn off.
    const Z2 coriolis = at(f, U'U') - at(f, U'T');
    EXPECT_NEAR(std::abs(coriolis), 2 * std::abs(w) * std::abs(K - B),
                1e-6 * (1 + std::abs(coriolis)));
    EXPECT_NEAR((std::conj(coriolis) * (K - B)).real(), 0, 1e-6 * (1 + std::norm(K - B)));
    EXPECT_NEAR(std::abs(coriolis - 2 * w * (-kQuarterTurn) * (K - B)), 0,
                1e-6 * (1 + std::abs(coriolis)));
  }
}

INSTANTIATE_TEST_SUITE_P(TypesAndDirections, RelativeMotion,
                         ::testing::Values(Case{1, kKeySpace}, Case{2, kKeySpace},
                                           Case{3, kKeySpace}, Case{1, kKeyBackspace},
                                           Case{2, kKeyBackspace}));

TEST(RelativeMotion, SteppingBackwardsTurnsTheVelocityArrowsAround) {
  // The same position shown once while stepping forwards and once while
  // stepping backwards: H, K, T and U point the other way.
  TestForm forward;
  forward.form.st.mn0 = 2;
  forward.form.st.mn1 = 7;
  forward.form.st.mn2 = 7;
  forward.form.st.qgw = 1;  // the sense of the last step; a rebuild does not step
  forward.form.st.wxx = 0.3;
  forward.key(kKeyRebuild);

  TestForm backward;
  backward.form.st.mn0 = 2;
  backward.form.st.mn1 = 7;
  backward.form.st.mn2 = 7;
  backward.form.st.qgw = -1;
  backward.form.st.wxx = 0.3;
  backward.key(kKeyRebuild);

  ASSERT_NEAR(forward.form.st.wxx, backward.form.st.wxx, 1e-12);
  const Z2 B = at(forward.form, U'B');
  ASSERT_NEAR(std::abs(B - at(backward.form, U'B')), 0, 1e-9);
  for (char32_t p : {U'H', U'K', U'T'}) {
    EXPECT_NEAR(std::abs((at(forward.form, p) - B) + (at(backward.form, p) - B)), 0, 1e-6)
        << static_cast<char>(p);
  }
  // U − T is quadratic in the velocities and keeps its direction, so U itself
  // mirrors only together with T.
  const Z2 forwardCoriolis = at(forward.form, U'U') - at(forward.form, U'T');
  const Z2 backwardCoriolis = at(backward.form, U'U') - at(backward.form, U'T');
  EXPECT_NEAR(std::abs(forwardCoriolis - backwardCoriolis), 0, 1e-6);
}

}  // namespace
}  // namespace pm::testing

// Roberts' cognates: the two four-bars X-I-J-Z and Y-M-L-Z built by the
// coupler-curve topics must be rigid linkages whose coupler point is C, over
// every crank position, and C itself must be where plain trigonometry puts it.
#include <gtest/gtest.h>

#include <vector>

#include "kinematics/linkage_model.h"
#include "support/test_form.h"

namespace pm::testing {
namespace {

// Everything the cognate check reads from one picture.
struct CognatePositions {
  Z2 X, Y, Z, A, B, C, I, J, L, M;
  double crank;
};

CognatePositions read(const Form1& f) {
  return {at(f, U'X'), at(f, U'Y'), at(f, U'Z'), at(f, U'A'), at(f, U'B'),  at(f, U'C'),
          at(f, U'I'), at(f, U'J'), at(f, U'L'), at(f, U'M'), crankAngle(f)};
}

// Steps the crank of the given type through `steps` positions in the topic
// and collects what each picture shows.
std::vector<CognatePositions> walk(int type, int topic, int steps, FourBar* model = nullptr) {
  TestForm t;
  t.form.st.mn0 = type;
  t.form.st.mn1 = 5;
  t.form.st.mn2 = topic;
  t.key(kKeyRebuild);
  if (model) *model = FourBar::fromRegisters(t.form);
  std::vector<CognatePositions> seen;
  for (int i = 0; i < steps; ++i) {
    t.key(kKeySpace);
    EXPECT_TRUE(t.form.cmd.errors.empty()) << "type " << type << " step " << i;
    seen.push_back(read(t.form));
  }
  return seen;
}

constexpr double kTol = 1e-6;

void expectConstant(const std::vector<double>& values, const char* what, int type) {
  for (double v : values)
    EXPECT_NEAR(v, values.front(), kTol * (1 + values.front())) << what << " type " << type;
}

class RobertsCognates : public ::testing::TestWithParam<int> {};

TEST_P(RobertsCognates, BothCognatesAreRigidAndCarryTheCouplerPoint) {
  const int type = GetParam();
  FourBar model;
  const auto seen = walk(type, 4, 24, &model);
  std::vector<double> zx, zy, xi, ij, zj, ic, jc, ym, ml, zl, mc, lc;
  double crankTravel = 0;
  for (const CognatePositions& p : seen) {
    // The mechanism itself, assembled independently at the same crank angle.
    const auto c = model.C(p.crank);
    ASSERT_TRUE(c.has_value());
    EXPECT_NEAR(std::abs(*c - p.C), 0, kTol * 100);
    crankTravel = std::max(crankTravel, std::abs(p.crank - seen.front().crank));
    // The third pivot stays where it is.
    zx.push_back(distance(p.Z, p.X));
    zy.push_back(distance(p.Z, p.Y));
    // First cognate: crank X-I, coupler I-J with C, rocker J-Z.
    xi.push_back(distance(p.X, p.I));
    ij.push_back(distance(p.I, p.J));
    zj.push_back(distance(p.Z, p.J));
    ic.push_back(distance(p.I, p.C));
    jc.push_back(distance(p.J, p.C));
    // Second cognate: Y-M, coupler M-L with C, L-Z.
    ym.push_back(distance(p.Y, p.M));
    ml.push_back(distance(p.M, p.L));
    zl.push_back(distance(p.Z, p.L));
    mc.push_back(distance(p.M, p.C));
    lc.push_back(distance(p.L, p.C));
  }
  EXPECT_GT(crankTravel, 0.5) << "the crank must actually move";
  expectConstant(zx, "Z-X", type);
  expectConstant(zy, "Z-Y", type);
  expectConstant(xi, "X-I", type);
  expectConstant(ij, "I-J", type);
  expectConstant(zj, "Z-J", type);
  expectConstant(ic, "I-C", type);
  expectConstant(jc, "J-C", type);
  expectConstant(ym, "Y-M", type);
  expectConstant(ml, "M-L", type);
  expectConstant(zl, "Z-L", type);
  expectConstant(mc, "M-C", type);
  expectConstant(lc, "L-C", type);
  // Roberts: the crank of the first cognate equals A-C, that of the second B-C.
  EXPECT_NEAR(xi.front(), std::abs(model.e), 1e-6);
  EXPECT_NEAR(ym.front(), std::abs(model.f), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Types, RobertsCognates, ::testing::Values(1, 2, 3, 5, 8));

TEST(RobertsCognates, SingleCognateTopicsBuildTheSameLinkages) {
  const auto all = walk(1, 4, 3);
  const auto xz = walk(1, 5, 3);
  const auto yz = walk(1, 6, 3);
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_NEAR(std::abs(all[i].I - xz[i].I), 0, kTol);
    EXPECT_NEAR(std::abs(all[i].J - xz[i].J), 0, kTol);
    EXPECT_NEAR(std::abs(all[i].L - yz[i].L), 0, kTol);
    EXPECT_NEAR(std::abs(all[i].M - yz[i].M), 0, kTol);
  }
}

TEST(RobertsCognates, StretchAndLinkTopicsFindTheSameThirdPivot) {
  // The links topic builds Z from X-Y like C from A-B, the cognate topics from
  // Y-X like C from B-A: both must be the one third pivot.
  const auto links = walk(2, 3, 2);
  const auto stretch = walk(2, 2, 2);
  const auto cognates = walk(2, 4, 2);
  for (std::size_t i = 0; i < links.size(); ++i) {
    EXPECT_NEAR(std::abs(links[i].Z - cognates[i].Z), 0, 1e-6);
    EXPECT_NEAR(std::abs(stretch[i].Z - cognates[i].Z), 0, 1e-6);
  }
}

}  // namespace
}  // namespace pm::testing

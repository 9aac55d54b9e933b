// Kinematic truth of the remaining named points of the analysis topics and of
// the worked example: velocity plan and rotated velocities, the acceleration
// plan and its components, the pole acceleration and the pole-change velocity,
// the pole tangent, the acceleration pole on the inflection circle, the
// curves of equal path curvature, the centrodes, the relative motion of B
// against the crank plane and the points of the moving-plane example. Each is
// compared with the independent four-bar model for the checked types.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "draw/colour_tables.h"
#include "kinematics/truth_picture.h"
#include "script/vector.h"

namespace pm::kinematics {
namespace {

using pm::testing::TestForm;

Rgb fixed(char32_t letter) { return fixedColour(code(letter) - code(U'a')); }

class PointTruth : public ::testing::TestWithParam<int> {};

// Velocity plan and rotated velocities (group 2, topic 3): j and l carry the
// velocities of A and C from O; the velocities of A, B and C turned by the same
// quarter turn end on the pole rays (Â on A-X, Ô, Î).
TEST_P(PointTruth, VelocityPlanAndRotatedVelocities) {
  forEachPosition(GetParam(), 2, 3, [](const Picture& s, const Registers& r, const std::string& w) {
    const FourBarModel& m = s.model;
    const Vec vA = s.omega * m.crankPinDerivatives().d1;
    const Vec vB = s.omega * m.derivatives(1.0)->d1;
    const Vec vC = s.omega * m.derivatives(m.couplerPointRatio())->d1;
    expectNear(at(r, U'j') - at(r, U'O'), vA, w + " j-O");
    expectNear(at(r, U'l') - at(r, U'O'), vC, w + " l-O");
    const Vec toX = m.frameX() - at(r, U'A');
    const Vec turned = std::abs(vA) * toX / std::abs(toX);
    const Vec quarter = turned / vA;
    expectNear(at(r, U'Â') - at(r, U'A'), turned, w + " Â-A");
    expectNear(at(r, U'Ô') - at(r, U'B'), quarter * vB, w + " Ô-B");
    expectNear(at(r, U'Î') - at(r, U'C'), quarter * vC, w + " Î-C");
  });
}

// Vector sum (group 2, topic 2): D and E lie on the directions of the
// velocity of B and of its velocity relative to A.
TEST_P(PointTruth, VectorSumDirections) {
  forEachPosition(GetParam(), 2, 2, [](const Picture& s, const Registers& r, const std::string& w) {
    const Vec B = at(r, U'B');
    const Vec vB = s.velocity(B), vBA = vB - s.omega * s.model.crankPinDerivatives().d1;
    const Vec d = at(r, U'D') - B, e = at(r, U'E') - B;
    EXPECT_LE(std::abs(cross(d, vB)), 1e-4 * (1 + std::abs(d) * std::abs(vB))) << w << " D";
    EXPECT_LE(std::abs(cross(e, vBA)), 1e-4 * (1 + std::abs(e) * std::abs(vBA))) << w << " E";
  });
}

// Acceleration plan (group 3, topic 4): 4 and 9 are the normal and the total
// acceleration of A, 7 the normal acceleration of B about Y, 9→5 the normal
// acceleration of B relative to A, 8 the acceleration of C; Á, Ã, Ä, Å the
// same components drawn at A and B; Æ and Ç the acceleration of the coupler
// point at the pole.
TEST_P(PointTruth, AccelerationPlanAndComponents) {
  forEachPosition(GetParam(), 3, 4, [](const Picture& s, const Registers& r, const std::string& w) {
    const FourBarModel& m = s.model;
    const Vec q = at(r, U'Q'), A = at(r, U'A'), B = at(r, U'B'), C = at(r, U'C');
    const auto dA = m.crankPinDerivatives();
    const Vec vA = s.omega * dA.d1, vB = s.velocity(B);
    const Vec normalA = normalTowards(A, m.frameX(), vA);
    const Vec normalB = normalTowards(B, m.frameY(), vB);
    const Vec relativeB = normalTowards(B, A, vB - vA);
    expectNear(at(r, U'4') - q, normalA, w + " 4-Q");
    expectNear(at(r, U'Ã') - A, normalA, w + " Ã-A");
    expectNear(at(r, U'9') - q, s.omega * s.omega * dA.d2 + s.alpha * dA.d1, w + " 9-Q");
    expectNear(at(r, U'Á') - A, s.alpha * dA.d1, w + " Á-A");
    expectNear(at(r, U'7') - q, normalB, w + " 7-Q");
    expectNear(at(r, U'Ä') - B, normalB, w + " Ä-B");
    expectNear(at(r, U'5') - at(r, U'9'), relativeB, w + " 5-9");
    expectNear(at(r, U'Å') - B, relativeB, w + " Å-B");
    expectNear(at(r, U'8') - q, s.acceleration(C), w + " 8-Q");
    const Vec P = at(r, U'P');
    if (std::abs(P) < 1e5) {
      expectNear(at(r, U'Æ') - q, s.acceleration(P), w + " Æ-Q");
      expectNear(at(r, U'Ç') - P, s.acceleration(P), w + " Ç-P");
    }
  });
}

// Group 4, topic 1: the pole tangent P-T is the direction in which the pole
// runs along the fixed centrode.
TEST_P(PointTruth, PoleTangentFollowsThePole) {
  forEachPosition(GetParam(), 4, 1, [](const Picture& s, const Registers& r, const std::string& w) {
    const auto u = s.model.poleDerivative();
    const Vec t = at(r, U'T') - at(r, U'P');
    if (!u || std::abs(*u) < 1e-6 || std::abs(t) < 1e-9) return;
    EXPECT_LE(std::abs(cross(t / std::abs(t), *u / std::abs(*u))), 1e-4) << w;
  });
}

// Group 4, topic 4: the acceleration pole U lies on the inflection circle
// (its acceleration, and so its normal acceleration, is zero): P-U-W is a
// right angle.
TEST_P(PointTruth, AccelerationPoleLiesOnTheInflectionCircle) {
  forEachPosition(GetParam(), 4, 4, [](const Picture& s, const Registers& r, const std::string& w) {
    const Vec P = at(r, U'P'), U = at(r, U'U'), W = at(r, U'W');
    const double d = std::abs(W - P);
    if (!(d > 1 && d < 1e5)) return;
    EXPECT_LE(std::abs(std::real(std::conj(U - P) * (U - W))), 1e-6 * d * d) << w;
    EXPECT_LE(std::abs(s.acceleration(U)), 1e-4 * (1 + std::abs(s.acceleration(P)))) << w;
  });
}

// Path radius of the coupler-plane point at q.
double pathRadius(const FourBarModel& m, Vec q) {
  const auto d = m.derivatives(m.couplerRatio(q));
  return d ? 1 / std::fabs(curvature(*d)) : NAN;
}

// Group 4, topics 5 to 7: every point of a curve of equal path curvature has
// a path of that radius: d/8 … 16d (d the inflection circle's diameter), the
// crank radius, or the path radius of C.
TEST_P(PointTruth, CurvesOfEqualCurvatureHaveTheirRadius) {
  const int type = GetParam();
  for (int topic : {5, 6, 7}) {
    TestForm t;
    int checked = 0;
    for (double wxx : {0.6, 1.9, 3.3}) {
      const Picture s = show(t, type, 4, topic, wxx);
      if (!s.closed) continue;
      Registers& r = t.form.reg();
      const Vec P = at(r, U'P');
      const double d = std::abs(at(r, U'W') - P);
      if (!(d > 1 && d < 5000)) continue;  // a degenerate inflection circle
      std::vector<double> radii;
      if (topic == 5) {
        for (int i = 1; i <= 8; ++i) radii.push_back(d * std::pow(2.0, i - 4));
      } else if (topic == 6) {
        radii.push_back(std::abs(r.lenOf(U'a')));
      } else {
        radii.push_back(pathRadius(s.model, at(r, U'C')));
      }
      for (const Primitive& p : t.picture()) {
        if (p.kind != Primitive::Kind::Line || p.width != 1) continue;
        if (!(p.colour == fixed(U'j') || p.colour == fixed(U'g'))) continue;
        const Vec q(p.x2, p.y2);
        // Near the pole the points barely move and differences lose precision.
        if (std::abs(q - P) < 40 || std::abs(q) > 3000) continue;
        const double radius = pathRadius(s.model, q);
        double best = INFINITY;
        // Large radii come from small second differences and carry their error.
        for (double rho : radii)
          best = std::min(best, std::fabs(radius - rho) / rho / (1 + 1e-3 * rho));
        EXPECT_LT(best, 3e-3) << where(type, wxx) << " topic " << topic
                              << (p.colour == fixed(U'j') ? " j" : " g") << " point (" << q.real()
                              << ", " << q.imag() << ") radius " << radius;
        ++checked;
      }
    }
    EXPECT_GT(checked, 50) << "type " << type << " topic " << topic;
  }
}

// Group 6: the pole-change velocity K − P is the speed of the pole along the
// fixed centrode (topic 4); the arrow P-Ê of its split is the acceleration of
// the pole point, and so is P-Ç (topic 5).
TEST_P(PointTruth, PoleChangeVelocityAndPoleAcceleration) {
  forEachPosition(GetParam(), 6, 4, [](const Picture& s, const Registers& r, const std::string& w) {
    const Vec P = at(r, U'P');
    const auto u = s.model.poleDerivative();
    // A pole far off runs too fast for differences to follow it.
    if (!u || std::abs(P - s.model.frameX()) > 5000) return;
    expectNear(at(r, U'K') - P, s.omega * *u, w + " K-P");
    // The construction's G and H: the velocities of the points of the crank
    // and of the rocker that coincide with the pole.
    expectNear(at(r, U'G') - P, s.omega * s.model.linkPointDerivative('a', P), w + " G-P");
    expectNear(at(r, U'H') - P, s.omega * s.model.linkPointDerivative('c', P), w + " H-P");
    expectNear(at(r, U'Ç') - P, s.acceleration(P), w + " Ç-P");
    expectNear(at(r, U'Ê') - P, s.acceleration(P), w + " Ê-P");
  });
}

// Group 1, topics 4 and 5: the traced fixed centrode consists of the poles of
// the crank angles 0°, 4°, …; the moving centrode of those poles carried into
// the coupler's shown position.
TEST_P(PointTruth, CentrodesConsistOfPoles) {
  const int type = GetParam();
  TestForm t;
  int checked = 0;
  for (double wxx : {0.6, 3.3}) {
    const Picture s = show(t, type, 1, 1, wxx);
    if (!s.closed) continue;
    const FourBarModel& m = s.model;
    const Vec S = m.crankPin(m.theta0()), T = *m.rockerPin(m.theta0());
    std::vector<Vec> fixedPoles, movingPoles;
    for (int k = 0; k <= 90; ++k) {
      const double theta = 4 * k * kDeg;
      const auto p = m.pole(theta);
      if (!p) continue;
      fixedPoles.push_back(*p);
      const Vec a = m.crankPin(theta), b = *m.rockerPin(theta);
      movingPoles.push_back(S + (*p - a) / (b - a) * (T - S));
    }
    for (int topic : {4, 5}) {
      show(t, type, 1, topic, wxx);
      const char32_t colour = topic == 4 ? U'b' : U'g';
      const std::vector<Vec>& expected = topic == 4 ? fixedPoles : movingPoles;
      int dots = 0;
      for (const Primitive& p : t.picture()) {
        if (p.kind != Primitive::Kind::Circle || p.r != 1 || !(p.colour == fixed(colour))) continue;
        const Vec q(p.x1, p.y1);
        if (std::abs(q) > 1e5) continue;  // a pole far off, limited by the drawing
        // The moving centrode's dot command also names the register 4, which
        // this group leaves at the origin.
        if (topic == 5 && q == at(t.form.reg(), U'4')) continue;
        ++dots;
        double best = INFINITY;
        for (const Vec& e : expected) best = std::min(best, std::abs(q - e) / (1 + 1e-6 * std::abs(e)));
        EXPECT_LT(best, 1e-6) << where(type, wxx) << " topic " << topic;
      }
      EXPECT_GT(dots, 10) << where(type, wxx) << " topic " << topic;
      ++checked;
    }
  }
  EXPECT_GE(checked, 2) << "type " << type;
}

// Group 7 (topic 7 builds every point): B's motion split into the motion of
// the crank-plane point at B (guidance: velocity H, tangential acceleration I,
// normal acceleration N, total S − Q) and the motion relative to the crank
// plane (velocity K, normal acceleration B − M about A, Coriolis U − T); what
// is left of B's acceleration, 6 − W, is the relative tangential part, along
// the relative velocity.
TEST_P(PointTruth, RelativeMotionOfBAgainstTheCrankPlane) {
  forEachPosition(GetParam(), 7, 7, [](const Picture& s, const Registers& r, const std::string& w) {
    const FourBarModel& m = s.model;
    const Vec A = at(r, U'A'), B = at(r, U'B'), X = m.frameX(), q = at(r, U'Q');
    const auto dA = m.crankPinDerivatives();
    const Vec turn = dA.d1 / (dA.p - X), turn2 = dA.d2 / (dA.p - X);
    const Vec guidanceVelocity = s.omega * (B - X) * turn;
    const Vec guidanceTangential = s.alpha * (B - X) * turn;
    const Vec guidanceNormal = s.omega * s.omega * (B - X) * turn2;
    const Vec vB = s.velocity(B), relative = vB - guidanceVelocity;
    expectNear(at(r, U'H') - B, guidanceVelocity, w + " H-B");
    expectNear(at(r, U'I') - B, guidanceTangential, w + " I-B");
    expectNear(B - at(r, U'N'), guidanceNormal, w + " B-N");
    expectNear(at(r, U'S') - q, guidanceNormal + guidanceTangential, w + " S-Q");
    expectNear(at(r, U'Ö') - B, guidanceNormal + guidanceTangential, w + " Ö-B");
    expectNear(at(r, U'K') - B, relative, w + " K-B");
    expectNear(at(r, U'L') - at(r, U'O'), guidanceVelocity, w + " L-O");
    expectNear(at(r, U'R') - q, guidanceNormal, w + " R-Q");
    expectNear(B - at(r, U'M'), normalTowards(B, A, relative), w + " B-M");
    expectNear(at(r, U'U') - at(r, U'T'), 2.0 * s.omega * turn * relative, w + " U-T");
    const Vec rest = at(r, U'6') - at(r, U'W');
    EXPECT_LE(std::abs(std::real(std::conj(rest) * (B - A))),
              1e-4 * (1 + std::abs(rest)) * std::abs(B - A))
        << w << " 6-W not along the relative velocity";
    expectNear(at(r, U'6') - q, s.acceleration(B), w + " 6-Q");
  });
}

// The worked example (group 9): pole, velocities and accelerations of B and
// C, the centre of curvature J of C, the acceleration pole U and the inflection
// pole W of the hidden four-bar.
TEST_P(PointTruth, MovingPlaneExamplePoints) {
  const int type = GetParam();
  forEachPosition(type, 9, 7, [](const Picture& s, const Registers& r, const std::string& w) {
    const FourBarModel& m = s.model;
    const Vec B = at(r, U'B'), C = at(r, U'C'), P = at(r, U'P');
    if (auto p = m.pole(m.theta0()); p && std::abs(*p) < 1e5) expectNear(P, *p, w + " P");
    expectNear(at(r, U'b') - B, s.velocity(B), w + " b-B");
    expectNear(at(r, U'c') - C, s.velocity(C), w + " c-C");
    expectNear(at(r, U'r') - B, s.acceleration(B), w + " r-B");
    expectNear(at(r, U's') - C, s.acceleration(C), w + " s-C");
    const auto dC = *m.derivatives(m.couplerPointRatio());
    const Vec centre = osculatingCentre(dC);
    const double rho = std::abs(centre - C);
    if (rho < 5000) {
      EXPECT_LE(std::abs(at(r, U'J') - centre), 1e-3 * (1 + rho)) << w << " J";
    }
    const Vec U = at(r, U'U');
    EXPECT_LE(std::abs(s.acceleration(U)), 1e-4 * (1 + std::abs(s.acceleration(B)))) << w << " U";
    const Vec W = at(r, U'W');
    const double d = std::abs(W - P);
    if (d > 1 && d < 1e5) {
      const auto dW = m.derivatives(m.couplerRatio(W), 1e-4);
      ASSERT_TRUE(dW);
      EXPECT_LE(std::abs(curvature(*dW)) * d, 1e-3) << w << " W";
    }
  });
}

// The example's locus (group 9, topic 7): every traced point has a path of
// the curvature radius of C.
TEST_P(PointTruth, MovingPlaneLocusHasThePathRadiusOfC) {
  const int type = GetParam();
  TestForm t;
  int checked = 0;
  for (double wxx : kDriveAngles) {
    const Picture s = show(t, type, 9, 7, wxx);
    if (!s.closed) continue;
    const Registers& r = t.form.reg();
    const Vec P = at(r, U'P');
    const double d = std::abs(at(r, U'W') - P);
    const double rho = pathRadius(s.model, at(r, U'C'));
    if (!(d > 1 && d < 5000) || !(rho < 5000)) continue;
    for (const Primitive& p : t.picture()) {
      if (p.kind != Primitive::Kind::Line || p.width != 2 || !(p.colour == fixed(U'p'))) continue;
      const Vec q(p.x2, p.y2);
      if (std::abs(q - P) < 40 || std::abs(q) > 3000) continue;
      EXPECT_NEAR(pathRadius(s.model, q), rho, 3e-3 * rho * (1 + 1e-3 * rho)) << where(type, wxx);
      ++checked;
    }
  }
  EXPECT_GT(checked, 50) << "type " << type;
}

INSTANTIATE_TEST_SUITE_P(Types, PointTruth, ::testing::ValuesIn(kCheckedTypes),
                         [](const auto& info) { return "Type" + std::to_string(info.param); });

}  // namespace
}  // namespace pm::kinematics

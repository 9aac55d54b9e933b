// One picture of a topic at a chosen drive angle, with the independent
// four-bar model of that state: the common harness of the kinematic-truth
// tests. The crank angle is set through the drive angle wxx with the stepping
// request 0, so the picture does not depend on how the drive steps.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "kinematics/four_bar_model.h"
#include "support/test_form.h"

namespace pm::kinematics {

// Drive angles wxx at which the constructions are checked (radians).
inline const std::vector<double> kDriveAngles = {0.0, 0.6, 1.2, 1.9, 2.6, 3.3, 4.2, 5.2};

// The mechanism types every construction is checked for: crank-rocker,
// double crank, double rocker, Watt preset, slider crank.
inline const std::vector<int> kCheckedTypes = {1, 2, 3, 5, 8};

struct Picture {
  bool closed = false;
  FourBarModel model;
  double omega = 0;  // crank angular speed per unit of the crank angle
  double alpha = 0;  // tangential acceleration factor of the crank

  // Velocity and acceleration of the coupler-plane point at q.
  Vec velocity(Vec q) const { return omega * model.derivatives(model.couplerRatio(q))->d1; }
  // Angular speed of the coupler.
  double couplerOmega() const {
    const auto dA = model.crankPinDerivatives();
    const auto dB = *model.derivatives(1.0);
    return omega * std::imag((dB.d1 - dA.d1) / (dB.p - dA.p));
  }
  Vec acceleration(Vec q) const {
    const auto d = *model.derivatives(model.couplerRatio(q));
    return omega * omega * d.d2 + alpha * d.d1;
  }
};

// One rebuild of (group, topic) for a mechanism type at the drive angle wxx,
// with the stepping request qgw; returns the independent model of that state.
inline Picture show(testing::TestForm& t, int type, int group, int topic, double wxx,
                    int qgw = 0) {
  Form1& f = t.form;
  f.st.mn0 = type;
  f.st.mn1 = group;
  f.st.mn2 = topic;
  f.st.mn5 = 0;
  f.st.wxx = wxx;
  f.st.qgw = qgw;
  t.key(kKeyRebuild);
  Picture s;
  Registers& r = f.reg();
  s.model = FourBarModel::fromRegisters(r);
  // The loop closes at the shown angle and a little either side of it.
  s.closed = f.scratch().kks == 0 && s.model.derivatives(s.model.couplerPointRatio(), 1e-3);
  s.omega = r.lenOf(U'v') / 5 * (qgw == -1 ? -1 : 1);
  s.alpha = r.lenOf(U'a') != 0 ? r.lenOf(U'x') / r.lenOf(U'a') : 0;
  return s;
}

// Tolerance for a constructed vector against its model value.
inline double tolerance(Vec expected) { return 1e-4 * (1 + std::abs(expected)); }

inline void expectNear(Vec got, Vec expected, const std::string& what) {
  EXPECT_LE(std::abs(got - expected), tolerance(expected))
      << what << ": got (" << got.real() << ", " << got.imag() << "), expected (" << expected.real()
      << ", " << expected.imag() << ")";
}

inline std::string where(int type, double wxx) {
  return "type " + std::to_string(type) + " wxx " + std::to_string(wxx);
}

// The part of an acceleration along the unit direction towards `centre`
// that a point at distance |p − centre| with speed |v| must have: v²/r.
inline Vec normalTowards(Vec p, Vec centre, Vec v) {
  const double r = std::abs(centre - p);
  return std::norm(v) / r * (centre - p) / r;
}

// Runs `check` on every picture of (group, topic) at the checked drive angles
// where the loop closes; at least three positions must be checked.
inline void forEachPosition(int type, int group, int topic,
                     const std::function<void(const Picture&, const Registers&,
                                              const std::string&)>& check,
                     bool joints = false) {
  testing::TestForm t;
  t.form.st.qsc = joints ? 1 : 0;
  int checked = 0;
  for (double wxx : kDriveAngles) {
    const Picture s = show(t, type, group, topic, wxx);
    if (!s.closed) continue;
    ++checked;
    check(s, t.form.reg(), where(type, wxx));
  }
  EXPECT_GE(checked, 3) << "type " << type << " group " << group << " topic " << topic;
}

}  // namespace pm::kinematics

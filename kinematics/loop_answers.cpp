#include "kinematics/loop_answers.h"

#include <cmath>

namespace pm::kinematics {

LoopAnswers loopAnswers(const LoopMotion& m) {
  LoopAnswers out;
  if (!m.closed || m.dead) return out;
  // P: the coupler point at rest, v_A + ω·J(P − A) = 0.
  const double omega = m.coupler.omega;
  const double scale = std::abs(m.A.v) + std::abs(m.B.v);
  if (std::fabs(omega) * (std::abs(m.A.p - m.Y) + std::abs(m.A.p - m.X)) > 1e-9 * scale)
    out.pole = m.A.p - m.A.v / (omega * kQuarterTurn);
  // Pac: the point whose velocity is the same as a point of the crank and as
  // a point of the rocker, ω_a·J(D − X) = ω_c·J(D − Y).
  const double relative = m.crank.omega - m.rocker.omega;
  if (std::fabs(relative) > 1e-9 * (std::fabs(m.crank.omega) + std::fabs(m.rocker.omega)))
    out.counterPole = (m.crank.omega * m.X - m.rocker.omega * m.Y) / relative;
  out.velocityTipB = m.B.p + m.B.v;
  const PlaneInvariants inv = couplerInvariants(m);
  if (inv.valid && out.pole) out.inflectionPole = inv.inflectionPole;
  if (inv.hasAccelerationPole) out.accelerationPole = inv.accelerationPole;
  if (m.hasC)
    if (const std::optional<Curvature> k = pathCurvature(m.C)) out.curvatureCentreC = k->centre;
  return out;
}

}  // namespace pm::kinematics

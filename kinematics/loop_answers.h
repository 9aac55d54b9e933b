// The points the exercises ask for, in closed form from the motion of the loop
// X-A-B-Y with its coupler point C (kinematics/planar_motion), independently
// of the construction scripts that draw them. Coordinates and signs as in
// planar_motion.h.
#pragma once

#include <optional>

#include "kinematics/planar_motion.h"

namespace pm::kinematics {

struct LoopAnswers {
  std::optional<Vec> pole;              // P = Pbd: the coupler's instantaneous centre
  std::optional<Vec> counterPole;       // Pac: where crank and rocker move alike
  std::optional<Vec> velocityTipB;      // B + v_B: the tip of B's velocity arrow
  std::optional<Vec> inflectionPole;    // W
  std::optional<Vec> curvatureCentreC;  // centre of curvature of C's path
  std::optional<Vec> accelerationPole;  // U: the coupler point without acceleration
};

// Each answer is missing where the loop does not close, stands in a dead
// position or where the point lies at infinity (a coupler or crank and
// rocker without relative turning, C on a straight piece of its path).
LoopAnswers loopAnswers(const LoopMotion& m);

}  // namespace pm::kinematics

#include "diagrams/motion_of_form.h"

#include <cmath>
#include <numbers>

#include "kinematics/physical_values.h"
#include "shell/form1.h"

namespace pm {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

}  // namespace

std::optional<kinematics::TabledMechanism> shownMechanism(const Form1& form) {
  const ShownMechanism& s = form.cmd.shown;
  if (!s.taken) return std::nullopt;
  // In mm with the drive of the values panel: the one conversion both use.
  const physical::Mechanism p = physical::shownMechanism(s);
  kinematics::TabledMechanism m;
  m.loop = p.loop;
  m.drive = p.drive;
  if (s.group == 8 && s.topic >= 1 && s.topic <= 8) {
    m.sixBarTopic = static_cast<int>(s.topic);
    m.sixBarLengths = p.sixBar;
  }
  return m;
}

ShownTable shownMotionTable(const Form1& form) {
  ShownTable out;
  const std::optional<kinematics::TabledMechanism> m = shownMechanism(form);
  if (!m) {
    out.reason = "Kein Getriebe dargestellt";
    return out;
  }
  out.table = kinematics::motionTable(*m);
  if (!out.table) out.reason = "Das Getriebe ist bei diesem Kurbelwinkel nicht montierbar";
  return out;
}

bool turnCrankTo(Form1& form, double degrees) {
  if (form.depth > 0 || form.ending || !std::isfinite(degrees)) return false;
  const std::optional<kinematics::TabledMechanism> m = shownMechanism(form);
  if (!m) return false;
  const std::optional<kinematics::CrankRange> range = kinematics::crankRange(m->loop, m->drive.angle);
  if (!range) return false;
  // The angle as it lies in the range; a hair inside its edges, where the
  // loop closes whatever the rounding (at an edge that does not close the
  // drive would turn round instead of moving).
  double target = degrees * kDegree;
  if (!range->fullTurn) {
    const double middle = (range->first + range->last) / 2;
    target = middle + std::remainder(target - middle, 2 * std::numbers::pi);
    const double inside = 1e-7;
    target = std::fmin(std::fmax(target, range->first + inside), range->last - inside);
  }
  // The drive step shows the crank at val c − wxx.
  form.st.wxx += m->drive.angle - target;
  form.Form_KeyDown(kKeyRebuild, 0);
  return true;
}

}  // namespace pm

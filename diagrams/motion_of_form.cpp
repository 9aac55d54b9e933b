#include "diagrams/motion_of_form.h"

#include <cmath>
#include <numbers>

#include "shell/form1.h"

namespace pm {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

double shownLength(const ShownMechanism& s, char letter) { return s.lengths[static_cast<std::size_t>(letter - 'a')]; }

// Drawing units per mm: the zoom the lengths were loaded with.
double zoomOf(const Form1& form) {
  const double z = form.st.qzz;
  return std::isfinite(z) && z != 0 ? z : 1;
}

}  // namespace

std::optional<kinematics::TabledMechanism> shownMechanism(const Form1& form) {
  const ShownMechanism& s = form.cmd.shown;
  if (!s.taken) return std::nullopt;
  const double zoom = zoomOf(form);
  kinematics::TabledMechanism m;
  kinematics::LoopGeometry& g = m.loop;
  g.pivot = {s.pivotX / zoom, s.pivotY / zoom};
  g.frameAngle = s.frameAngle * kDegree;
  g.crank = shownLength(s, 'a') / zoom;
  g.coupler = shownLength(s, 'b') / zoom;
  g.rocker = shownLength(s, 'c') / zoom;
  g.frame = shownLength(s, 'd') / zoom;
  g.toC = shownLength(s, 'e') / zoom;
  g.fromBToC = shownLength(s, 'f') / zoom;
  // The drive of the values panel: ω = len v / 5, reversed while stepping
  // backwards; the tangential acceleration of A is len x.
  m.drive.angle = s.crankAngle;
  m.drive.omega = shownLength(s, 'v') / 5;
  if (form.st.qgw == -1) m.drive.omega = -m.drive.omega;
  const double crank = shownLength(s, 'a');
  m.drive.alpha = crank != 0 ? shownLength(s, 'x') / crank : 0;
  if (form.st.mn1 == 8 && form.st.mn2 >= 1 && form.st.mn2 <= 8) {
    m.sixBarTopic = static_cast<int>(form.st.mn2);
    for (std::size_t k = 0; k < m.sixBarLengths.size(); ++k)
      m.sixBarLengths[k] = s.lengths[6 + k] / zoom;
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

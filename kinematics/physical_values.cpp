#include "kinematics/physical_values.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "shell/form1.h"
#include "topics/parameter_strings.h"

namespace pm::physical {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

// Degrees brought into [0, 360); a value that is not finite gives 0.
double wrapped(double degrees) {
  if (!std::isfinite(degrees)) return 0;
  double d = std::fmod(degrees, 360.0);
  if (d < 0) d += 360;
  return d >= 360 ? 0 : d;
}

bool isLinkLetter(char letter) { return letter >= 'a' && letter <= 'p'; }

// The preset field of a length or number as the current type loads it.
double presetLength(const StateRecord& st, char letter) {
  return fieldOf(presetLengthString(st, st.mn0), letter);
}
double presetNumber(const StateRecord& st, char letter) {
  return fieldOf(presetNumberString(st, st.mn0), letter);
}

// The length the loader gives letter a … z before the zoom: factor · (preset + offset).
double unzoomed(const StateRecord& st, char letter) {
  return lengthFactor(st, letter) * (presetLength(st, letter) + *lengthOffset(st, letter));
}

double sense(double qgw) { return qgw == -1 ? -1 : 1; }

// Where each six-bar topic takes its dyad's ends I and H from.
constexpr std::pair<char, char> kSixBarEnds[] = {{'Z', 'E'}, {'C', 'D'}, {'D', 'C'}, {'C', 'E'},
                                                 {'E', 'C'}, {'D', 'E'}, {'E', 'D'}, {'Z', 'C'}};

// The two lengths that place an end point of the dyad (C is the loop's own).
void endDimensions(char end, std::vector<Dimension>& out) {
  switch (end) {
    case 'D':
      out.push_back({'g', "Kurbeldreieck XD g"});
      out.push_back({'h', "Kurbeldreieck AD h"});
      break;
    case 'E':
      out.push_back({'i', "Schwingendreieck BE i"});
      out.push_back({'j', "Schwingendreieck YE j"});
      break;
    case 'Z':
      out.push_back({'k', "Gestelldreieck XZ k"});
      out.push_back({'l', "Gestelldreieck YZ l"});
      break;
    default:
      break;
  }
}

}  // namespace

const std::vector<Dimension>& loopDimensions() {
  static const std::vector<Dimension> kLoop = {
      {'a', "Kurbel a"},    {'b', "Koppel b"},         {'c', "Schwinge c"},
      {'d', "Gestell d"},   {'e', "Koppelpunkt AC e"}, {'f', "Koppelpunkt BC f"},
  };
  return kLoop;
}

std::vector<Dimension> sixBarDimensions(int topic) {
  std::vector<Dimension> out;
  if (topic < 1 || topic > 8) return out;
  const auto [i, h] = kSixBarEnds[topic - 1];
  // g … l in letter order, whichever ends use them.
  for (char end : {'D', 'E', 'Z'})
    if (i == end || h == end) endDimensions(end, out);
  out.push_back({'m', std::string("Glied ") + i + "F m"});
  out.push_back({'n', std::string("Glied ") + h + "F n"});
  out.push_back({'o', "Glied FG o"});
  out.push_back({'p', std::string("Glied ") + h + "G p"});
  return out;
}

double millimetres(double lengthRegister, double zoom) {
  // A zoom of 0 loads every length as 0; there is nothing to scale back.
  if (!(zoom > 0) || !std::isfinite(zoom)) return lengthRegister;
  return lengthRegister / zoom;
}

Vec positionFromPivot(Vec point, Vec pivot) {
  const Vec r = point - pivot;
  return {r.real(), -r.imag()};
}

double screenDegrees(double radians) { return std::isfinite(radians) ? wrapped(radians / kDegree) : NAN; }

double crankAngle(double valC, double wxx) { return wrapped(valC - wxx / kDegree); }

double driveAngleFor(double valC, double phi) { return (valC - phi) * kDegree; }

double crankOmega(double lenV, double qgw) { return sense(qgw) * lenV / 5; }

double crankAlpha(double lenX, double crankMm) { return crankMm != 0 ? lenX / crankMm : 0; }

Mechanism shownMechanism(const ShownMechanism& s) {
  auto mm = [&s](char letter) { return millimetres(s.lengths[static_cast<std::size_t>(letter - 'a')], s.zoom); };
  Mechanism m;
  m.loop.pivot = {};
  m.loop.frameAngle = s.frameAngle * kDegree;
  m.loop.crank = mm('a');
  m.loop.coupler = mm('b');
  m.loop.rocker = mm('c');
  m.loop.frame = mm('d');
  m.loop.toC = mm('e');
  m.loop.fromBToC = mm('f');
  for (std::size_t k = 0; k < m.sixBar.size(); ++k) m.sixBar[k] = mm(static_cast<char>('g' + k));
  m.drive.angle = s.crankAngle;
  m.drive.omega = crankOmega(s.lengths['v' - 'a'], s.sense);
  m.drive.alpha = crankAlpha(s.lengths['x' - 'a'], m.loop.crank);
  return m;
}

double lengthOf(const StateRecord& st, char letter) {
  return isLinkLetter(letter) ? std::fabs(unzoomed(st, letter)) : 0;
}

bool setLength(StateRecord& st, char letter, double mm) {
  if (!isLinkLetter(letter) || !(mm >= 0) || !std::isfinite(mm)) return false;
  // factor · (preset + offset) = ±mm with the sign the length has now.
  const double now = presetLength(st, letter) + *lengthOffset(st, letter);
  *lengthOffset(st, letter) = (now < 0 ? -mm : mm) - presetLength(st, letter);
  return true;
}

double crankAngleOf(const StateRecord& st) {
  return crankAngle(presetNumber(st, 'c') + st.sc, st.wxx);
}

bool setCrankAngle(StateRecord& st, double phi) {
  if (!std::isfinite(phi)) return false;
  st.wxx = driveAngleFor(presetNumber(st, 'c') + st.sc, wrapped(phi));
  return true;
}

double omegaOf(const StateRecord& st) { return crankOmega(unzoomed(st, 'v'), st.qgw); }

bool setOmega(StateRecord& st, double omega) {
  if (!std::isfinite(omega)) return false;
  st.qv = 5 * omega * sense(st.qgw) - presetLength(st, 'v');
  return true;
}

double alphaOf(const StateRecord& st) { return crankAlpha(unzoomed(st, 'x'), unzoomed(st, 'a')); }

bool setAlpha(StateRecord& st, double alpha) {
  if (!std::isfinite(alpha)) return false;
  const double crank = unzoomed(st, 'a');
  if (alpha == 0 && st.qxx == 0) return true;  // no tangential acceleration: α is 0
  if (crank == 0) return alpha == 0;           // a crank of length 0 has α = 0
  st.qxx = 1;
  st.qx = alpha * crank - presetLength(st, 'x');
  return true;
}

}  // namespace pm::physical

#include "topics/synthesis_check.h"

#include <cmath>
#include <complex>
#include <cstdio>

#include "kinematics/planar_motion.h"

namespace pm {
namespace {

using Cx = std::complex<double>;

constexpr double kTwoPi = 6.28318530717958647692;

Cx cx(Point p) { return {p.x, p.y}; }
Point pt(Cx c) { return {c.real(), c.imag()}; }

using kinematics::cross;
using kinematics::screenAngle;

// The angle a brought into [0, 2π).
double wrap(double a) {
  a = std::fmod(a, kTwoPi);
  return a < 0 ? a + kTwoPi : a;
}

// Whether the angle p lies strictly inside the arc swept from a to b in the
// sense s (+1 growing angles).
bool inSweep(double a, double b, int s, double p) {
  const double length = wrap(s * (b - a));
  const double to = wrap(s * (p - a));
  return to > 0 && to < length;
}

bool finite(Cx c) { return std::isfinite(c.real()) && std::isfinite(c.imag()); }

}  // namespace

Point carryIntoPosition(const SynthesisFourBar& m, Point q, int j) {
  const Cx base = cx(m.second[0]) - cx(m.first[0]);
  const Cx here = cx(m.second[static_cast<std::size_t>(j)]) - cx(m.first[static_cast<std::size_t>(j)]);
  Cx turn = here / base;
  turn /= std::abs(turn);
  return pt(cx(m.first[static_cast<std::size_t>(j)]) + turn * (cx(q) - cx(m.first[0])));
}

SynthesisCheck checkSynthesisFourBar(const SynthesisFourBar& m) {
  SynthesisCheck c;
  const Cx x = cx(m.crankPivot), y = cx(m.rockerPivot);
  const Cx g = cx(m.crankPin), i = cx(m.rockerPin);
  const double a = std::abs(g - x), b = std::abs(i - g), r = std::abs(i - y), d = std::abs(y - x);
  if (!(a > 0 && b > 0 && r > 0 && d > 0) || !finite(x) || !finite(y) || !finite(g) || !finite(i))
    return c;
  if (!(std::abs(cx(m.second[0]) - cx(m.first[0])) > 0)) return c;

  // Crank angle and assembly branch (side of the rocker pin seen from the
  // crank pin toward the rocker pivot) of every position.
  std::array<double, 4> theta{};
  std::array<double, 4> side{};
  for (int j = 0; j < 4; ++j) {
    const auto k = static_cast<std::size_t>(j);
    if (!(std::abs(cx(m.second[k]) - cx(m.first[k])) > 0)) return c;
    const Cx gj = cx(carryIntoPosition(m, m.crankPin, j));
    const Cx ij = cx(carryIntoPosition(m, m.rockerPin, j));
    theta[k] = screenAngle(gj - x);
    c.crankDegrees[k] = theta[k] / (kTwoPi / 360);
    side[k] = cross(y - gj, ij - gj);
  }
  // A position whose rocker pin lies on the line (a dead position itself)
  // belongs to both branches.
  const double flat = 1e-9 * b * std::abs(y - g);
  for (std::size_t k = 0; k < 4; ++k)
    c.onBranch[k] = std::fabs(side[k]) <= flat || (side[k] > 0) == (side[0] > 0);

  // The loop closes where |A − Y| lies in [|b − r|, b + r]; with the frame
  // angle φ that is lo ≤ cos(θ − φ) ≤ hi. Beyond hi lies a dead zone about φ,
  // below lo one about φ + π.
  const double phi = screenAngle(y - x);
  const double lo = (a * a + d * d - (b + r) * (b + r)) / (2 * a * d);
  const double hi = (a * a + d * d - (b - r) * (b - r)) / (2 * a * d);
  const bool zoneNear = hi < 1, zoneFar = lo > -1;
  c.turnsFully = !zoneNear && !zoneFar;
  auto passesDeadPosition = [&](std::size_t from, std::size_t to, int s) {
    return (zoneNear && inSweep(theta[from], theta[to], s, phi)) ||
           (zoneFar && inSweep(theta[from], theta[to], s, wrap(phi + kTwoPi / 2)));
  };

  std::vector<std::size_t> reached;
  for (std::size_t k = 0; k < 4; ++k)
    if (c.onBranch[k]) reached.push_back(k);

  // The senses of rotation in which the positions come in the order given:
  // each one lies further on from position 1 than the one before.
  auto inOrder = [&](int s) {
    double before = 0;
    for (std::size_t n = 1; n < reached.size(); ++n) {
      const double on = wrap(s * (theta[reached[n]] - theta[reached[0]]));
      if (on <= before) return false;
      before = on;
    }
    return true;
  };
  auto deadPairs = [&](int s) {
    std::vector<std::pair<int, int>> pairs;
    for (std::size_t n = 1; n < reached.size(); ++n)
      if (passesDeadPosition(reached[n - 1], reached[n], s))
        pairs.emplace_back(static_cast<int>(reached[n - 1]) + 1, static_cast<int>(reached[n]) + 1);
    return pairs;
  };
  auto sweep = [&](int s) {
    double total = 0;
    for (std::size_t n = 1; n < reached.size(); ++n)
      total += wrap(s * (theta[reached[n]] - theta[reached[n - 1]]));
    return total;
  };

  c.valid = true;
  const bool up = inOrder(1), down = inOrder(-1);
  if (!up && !down) {
    c.orderDefect = true;
    return c;
  }
  if (up != down) {
    c.sense = up ? 1 : -1;
  } else {
    // Two positions or fewer on the branch: both senses keep the order; the
    // one with fewer dead positions, then the shorter way, is taken.
    const std::size_t deadUp = deadPairs(1).size(), deadDown = deadPairs(-1).size();
    c.sense = deadUp != deadDown ? (deadUp < deadDown ? 1 : -1) : (sweep(1) <= sweep(-1) ? 1 : -1);
  }
  c.deadBetween = deadPairs(c.sense);
  return c;
}

namespace {

std::u32string ascii(const std::string& s) { return {s.begin(), s.end()}; }

// An angle in degrees with one decimal and a decimal comma.
std::u32string degrees(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  std::u32string out = ascii(buf);
  for (char32_t& ch : out)
    if (ch == U'.') ch = U',';
  return out + U"°";
}

// "Lage 4" or "Lagen 2 und 4" or "Lagen 2, 3 und 4".
std::u32string positionList(const std::vector<int>& positions) {
  std::u32string out = positions.size() == 1 ? U"Lage " : U"Lagen ";
  for (std::size_t n = 0; n < positions.size(); ++n) {
    if (n > 0) out += n + 1 == positions.size() ? U" und " : U", ";
    out += static_cast<char32_t>(U'0' + positions[n]);
  }
  return out;
}

}  // namespace

std::vector<std::u32string> synthesisReportLines(const SynthesisCheck& c) {
  std::vector<std::u32string> lines;
  if (!c.valid) {
    lines.push_back(U"Keine Prüfung: Lagen oder Glieder entartet");
    return lines;
  }
  std::u32string angles = U"Kurbelwinkel:";
  for (std::size_t k = 0; k < 4; ++k)
    angles += U"  " + ascii(std::to_string(k + 1)) + U": " + degrees(c.crankDegrees[k]);
  lines.push_back(angles);

  std::vector<int> other;
  for (std::size_t k = 0; k < 4; ++k)
    if (!c.onBranch[k]) other.push_back(static_cast<int>(k) + 1);
  if (other.empty()) {
    lines.push_back(U"Alle vier Lagen auf einem Montagezweig");
  } else {
    lines.push_back(U"Verzweigungsdefekt: " + positionList(other) + U" auf dem anderen Montagezweig");
  }

  std::u32string sequence;  // the positions on the branch, "1-2-3-4" when all are
  for (std::size_t k = 0; k < 4; ++k) {
    if (!c.onBranch[k]) continue;
    if (!sequence.empty()) sequence += U'-';
    sequence += static_cast<char32_t>(U'1' + k);
  }
  if (c.orderDefect) {
    lines.push_back(U"Reihenfolgedefekt: die Kurbel erreicht die Lagen nicht in der Folge " +
                    sequence);
  } else if (c.deadBetween.empty()) {
    lines.push_back(U"Folge " + sequence + U" ohne Totlage, Kurbel dreht " +
                    std::u32string(c.sense > 0 ? U"im Gegenuhrzeigersinn" : U"im Uhrzeigersinn"));
  } else {
    for (const auto& [from, to] : c.deadBetween)
      lines.push_back(U"Totlage zwischen Lage " + ascii(std::to_string(from)) + U" und " +
                      ascii(std::to_string(to)));
  }
  lines.push_back(c.turnsFully ? U"Kurbel voll umlauffähig" : U"Kurbel nicht voll umlauffähig");
  return lines;
}

}  // namespace pm

#include "kinematics/planar_motion.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <utility>

namespace pm::kinematics {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// The unit vector of a screen angle.
Vec direction(double angle) { return {std::cos(angle), -std::sin(angle)}; }

double dot(Vec a, Vec b) { return a.real() * b.real() + a.imag() * b.imag(); }

// Solves x·c1 + y·c2 = w for real x, y; false when c1 and c2 are parallel.
bool solve2(Vec c1, Vec c2, Vec w, double& x, double& y) {
  const double det = cross(c1, c2);
  if (!(std::fabs(det) > 1e-9 * std::abs(c1) * std::abs(c2))) return false;
  x = cross(w, c2) / det;
  y = cross(c1, w) / det;
  return true;
}

}  // namespace

double screenAngle(Vec v) {
  if (v == Vec{}) return 0;
  double a = std::atan2(-v.imag(), v.real());
  if (a < 0) a += kTwoPi;
  return a >= kTwoPi ? 0 : a;
}

PointMotion carried(const PointMotion& base, const LinkMotion& link, Vec q) {
  const Vec r = q - base.p;
  return {q, base.v + link.omega * kQuarterTurn * r,
          base.a + link.alpha * kQuarterTurn * r - link.omega * link.omega * r};
}

std::optional<Vec> dyadJoint(Vec p, Vec q, double r1, double r2) {
  double d = std::abs(q - p);
  const Vec u = d == 0 ? Vec{1, 0} : (q - p) / d;
  if (d == 0) d = 0.001;
  if (r2 >= 0 && r2 < 0.0001) r2 = 0.0001;
  if (r2 < 0 && r2 > -0.0001) r2 = -0.0001;
  const double a1 = std::fabs(r1), a2 = std::fabs(r2);
  if (d > a1 + a2 || a2 > d + a1 || a1 > d + a2) return std::nullopt;
  const double along = (d * d + (r1 * r1 - r2 * r2)) / 2 / d;
  const double across = std::sqrt(std::max(0.0, r1 * r1 - along * along));
  const double side = r2 < 0 ? -1 : 1;
  return p + u * Vec(along, side * across);
}

DyadMotion solveDyad(const PointMotion& p, const PointMotion& q, double r1, double r2) {
  DyadMotion m;
  const std::optional<Vec> j = dyadJoint(p.p, q.p, r1, r2);
  if (!j) return m;
  m.closed = true;
  const Vec r1v = *j - p.p, r2v = *j - q.p;
  m.first.angle = screenAngle(r1v);
  m.second.angle = screenAngle(r2v);
  m.joint.p = *j;
  // v_j = v_p + ω1·J·r1 = v_q + ω2·J·r2; dividing by J (J⁻¹ = i) leaves
  // ω1·r1 − ω2·r2 = i·(v_q − v_p), two real equations.
  const Vec i{0, 1};
  if (!solve2(r1v, -r2v, i * (q.v - p.v), m.first.omega, m.second.omega)) {
    m.dead = true;
    return m;
  }
  // The same for the accelerations, the centripetal parts moved to the right.
  const Vec rest = q.a - p.a + m.first.omega * m.first.omega * r1v -
                   m.second.omega * m.second.omega * r2v;
  solve2(r1v, -r2v, i * rest, m.first.alpha, m.second.alpha);
  m.joint = carried(p, m.first, *j);
  return m;
}

LoopMotion solveLoop(const LoopGeometry& g, const Drive& drive) {
  LoopMotion m;
  m.X = g.pivot;
  m.Y = g.pivot + g.frame * direction(g.frameAngle);
  m.crank = {drive.angle, drive.omega, drive.alpha};
  const PointMotion x{m.X, {}, {}};
  m.A = carried(x, m.crank, m.X + g.crank * direction(drive.angle));
  const DyadMotion b = solveDyad(m.A, {m.Y, {}, {}}, g.coupler, g.rocker);
  if (!b.closed) return m;
  m.closed = true;
  m.dead = b.dead;
  m.B = b.joint;
  m.coupler = b.first;
  m.rocker = b.second;
  if (const std::optional<Vec> c = dyadJoint(m.A.p, m.B.p, g.toC, g.fromBToC)) {
    m.hasC = true;
    m.C = carried(m.A, m.coupler, *c);
  }
  return m;
}

SixBarMotion solveSixBar(const LoopMotion& m, const std::array<double, 10>& lengths, int topic) {
  SixBarMotion six;
  if (!m.closed || topic < 1 || topic > 8) return six;
  // I and H of the topics Watt-dc, -ba, -ab, -bc, -cb and St-ac, -ca, -db.
  static constexpr std::pair<char, char> kEnds[] = {{'Z', 'E'}, {'C', 'D'}, {'D', 'C'}, {'C', 'E'},
                                                    {'E', 'C'}, {'D', 'E'}, {'E', 'D'}, {'Z', 'C'}};
  std::tie(six.first, six.second) = kEnds[topic - 1];
  auto len = [&lengths](char letter) { return lengths[static_cast<std::size_t>(letter - 'g')]; };
  const PointMotion x{m.X, {}, {}}, y{m.Y, {}, {}};
  auto pointOf = [&](char name) -> std::optional<PointMotion> {
    std::optional<Vec> p;
    switch (name) {
      case 'C':
        if (m.hasC) return m.C;
        return std::nullopt;
      case 'D':
        if ((p = dyadJoint(m.X, m.A.p, len('g'), len('h')))) return carried(x, m.crank, *p);
        return std::nullopt;
      case 'E':
        if ((p = dyadJoint(m.B.p, m.Y, len('i'), len('j')))) return carried(y, m.rocker, *p);
        return std::nullopt;
      default:  // Z, the third fixed pivot
        if ((p = dyadJoint(m.X, m.Y, len('k'), len('l')))) return PointMotion{*p, {}, {}};
        return std::nullopt;
    }
  };
  const std::optional<PointMotion> i = pointOf(six.first), h = pointOf(six.second);
  if (!i || !h) return six;
  six.dyad = solveDyad(*i, *h, len('m'), len('n'));
  if (!six.dyad.closed) return six;
  const std::optional<Vec> g = dyadJoint(six.dyad.joint.p, h->p, len('o'), len('p'));
  six.closed = g.has_value();
  if (g && !six.dyad.dead) {
    six.hasG = true;
    six.G = carried(*h, six.dyad.second, *g);
  }
  return six;
}

PlaneInvariants couplerInvariants(const LoopMotion& m) {
  PlaneInvariants inv;
  if (!m.closed || m.dead) return inv;
  const double omega = m.coupler.omega, alpha = m.coupler.alpha;
  const Vec k = alpha * kQuarterTurn - omega * omega;
  if (k != Vec{}) {
    // a(z) = a_A + (α·J − ω²)·(z − A) vanishes at U.
    inv.hasAccelerationPole = true;
    inv.accelerationPole = m.A.p - m.A.a / k;
  }
  const Vec crank = m.A.p - m.X, rocker = m.B.p - m.Y;
  const double det = cross(crank, rocker);
  if (omega == 0 || !(std::fabs(det) > 1e-12 * std::abs(crank) * std::abs(rocker))) return inv;
  inv.valid = true;
  inv.pole = m.X + crank * (cross(m.Y - m.X, rocker) / det);
  // The plane point at the pole is accelerated towards the inflection pole:
  // a_P = ω²·(W − P).
  const Vec aP = carried(m.A, m.coupler, inv.pole).a;
  inv.inflectionPole = inv.pole + aP / (omega * omega);
  inv.inflectionDiameter = std::abs(aP) / (omega * omega);
  return inv;
}

std::optional<Curvature> pathCurvature(const PointMotion& m) {
  const double speed = std::abs(m.v);
  const double c = cross(m.v, m.a);
  if (!(speed > 1e-12) || !(std::fabs(c) > 1e-12 * speed * speed * speed)) return std::nullopt;
  const Vec normal{-m.v.imag(), m.v.real()};
  return Curvature{m.p + normal * (speed * speed / c), speed * speed * speed / std::fabs(c)};
}

DistanceMotion distanceMotion(const PointMotion& m, Vec o) {
  DistanceMotion d;
  const Vec r = m.p - o;
  d.s = std::abs(r);
  if (d.s == 0) return d;
  const Vec u = r / d.s;
  d.rate = dot(m.v, u);
  d.acceleration = dot(m.a, u) + (std::norm(m.v) - d.rate * d.rate) / d.s;
  return d;
}

LinkMotion lineMotion(const PointMotion& m, Vec o) {
  LinkMotion l;
  const Vec r = m.p - o;
  const double r2 = std::norm(r);
  l.angle = screenAngle(r);
  if (r2 == 0) return l;
  // v·(J r) = ω·|r|²; differentiated once more, with (J v)·v = 0.
  const Vec turned = kQuarterTurn * r;
  l.omega = dot(m.v, turned) / r2;
  l.alpha = dot(m.a, turned) / r2 - 2 * l.omega * dot(r, m.v) / r2;
  return l;
}

double transmissionAngle(const LoopMotion& m) {
  const Vec coupler = m.B.p - m.A.p, rocker = m.B.p - m.Y;
  const double n = std::abs(coupler) * std::abs(rocker);
  if (n == 0) return 0;
  const double c = std::clamp(std::fabs(dot(coupler, rocker)) / n, 0.0, 1.0);
  return std::acos(c) * 180 / std::numbers::pi;
}

Grashof grashof(std::array<double, 4> lengths) {
  for (double& l : lengths) l = std::fabs(l);
  std::sort(lengths.begin(), lengths.end());
  const double extremes = lengths[0] + lengths[3], middle = lengths[1] + lengths[2];
  const double tolerance = 1e-9 * (extremes + middle);
  if (std::fabs(extremes - middle) <= tolerance) return Grashof::Limit;
  return extremes < middle ? Grashof::Fulfilled : Grashof::NotFulfilled;
}

}  // namespace pm::kinematics

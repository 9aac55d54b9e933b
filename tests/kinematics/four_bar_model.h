// An independent model of the four-bar for the kinematic-truth tests: plain
// trigonometry on the loaded lengths, no script of the program. The program's
// picture at one crank angle fixes only the assembly branch of B and the place
// of C on the coupler; everything else is computed here, and derivatives with
// respect to the crank angle are taken by central differences.
#pragma once

#include <cmath>
#include <complex>
#include <optional>

#include "script/registers.h"

namespace pm::kinematics {

using Vec = std::complex<double>;  // a point (x, y) of the screen, y downward

inline Vec at(const Registers& r, char32_t c) { return {r.point(c).x, r.point(c).y}; }

// 2D cross product: positive when b lies counterclockwise of a in (x, y).
inline double cross(Vec a, Vec b) { return a.real() * b.imag() - a.imag() * b.real(); }

class FourBarModel {
 public:
  // From the registers after a command: the loaded lengths and numbers, the
  // crank angle ang[a], and the program's B and C at that angle.
  static FourBarModel fromRegisters(Registers& w) {
    constexpr double kDegree = 3.14159265358979323846 / 180;
    FourBarModel m;
    m.x_ = {w.valOf(U'a'), w.valOf(U'b')};
    const double frame = w.valOf(U'd') * kDegree;
    m.y_ = m.x_ + w.lenOf(U'd') * Vec(std::cos(frame), -std::sin(frame));
    m.crank_ = w.lenOf(U'a');
    m.coupler_ = std::abs(w.lenOf(U'b'));
    m.rocker_ = std::abs(w.lenOf(U'c'));
    m.theta0_ = w.angOf(U'a');
    const Vec a = m.crankPin(m.theta0_);
    const Vec b = at(w, U'B');
    m.side_ = cross(m.y_ - a, b - a) >= 0 ? 1 : -1;
    m.couplerPoint_ = (at(w, U'C') - a) / (b - a);
    return m;
  }

  // The same mechanism assembled on the other branch of B (C keeps its place
  // on the coupler).
  FourBarModel otherBranch() const {
    FourBarModel m = *this;
    m.side_ = -side_;
    return m;
  }

  double theta0() const { return theta0_; }
  Vec frameX() const { return x_; }
  Vec frameY() const { return y_; }

  Vec crankPin(double theta) const { return x_ + crank_ * Vec(std::cos(theta), -std::sin(theta)); }

  // B at the crank angle θ on the branch of the program's picture; nothing
  // when the loop does not close there.
  std::optional<Vec> rockerPin(double theta) const {
    const Vec a = crankPin(theta);
    const double d = std::abs(y_ - a);
    if (d == 0) return std::nullopt;
    const double p = (d * d + coupler_ * coupler_ - rocker_ * rocker_) / (2 * d);
    const double h2 = coupler_ * coupler_ - p * p;
    if (h2 < 0) return std::nullopt;
    const Vec u = (y_ - a) / d;
    const Vec normal{-u.imag(), u.real()};  // u turned so that cross(u, normal) > 0
    return a + p * u + side_ * std::sqrt(h2) * normal;
  }

  // A point of the coupler plane, given by its complex ratio z on A-B
  // (point = A + z·(B − A)), at the crank angle θ.
  std::optional<Vec> couplerPlanePoint(double theta, Vec z) const {
    const std::optional<Vec> b = rockerPin(theta);
    if (!b) return std::nullopt;
    const Vec a = crankPin(theta);
    return a + z * (*b - a);
  }
  Vec couplerRatio(Vec point) const {
    const Vec a = crankPin(theta0_);
    return (point - a) / (*rockerPin(theta0_) - a);
  }
  Vec couplerPointRatio() const { return couplerPoint_; }

  // First and second derivative of a coupler-plane point with respect to θ.
  struct Derivatives {
    Vec p, d1, d2;
  };
  std::optional<Derivatives> derivatives(Vec z, double h = 1e-3) const {
    const auto m = couplerPlanePoint(theta0_ - h, z);
    const auto c = couplerPlanePoint(theta0_, z);
    const auto p = couplerPlanePoint(theta0_ + h, z);
    if (!m || !c || !p) return std::nullopt;
    return Derivatives{*c, (*p - *m) / (2 * h), (*p - 2.0 * *c + *m) / (h * h)};
  }
  // The instantaneous centre of the coupler at θ: the crank line X-A meets
  // the rocker line Y-B.
  std::optional<Vec> pole(double theta) const {
    const std::optional<Vec> b = rockerPin(theta);
    if (!b) return std::nullopt;
    const Vec a = crankPin(theta);
    const Vec u = a - x_, v = *b - y_;
    const double det = cross(u, v);
    if (det == 0) return std::nullopt;
    return x_ + u * (cross(y_ - x_, v) / det);
  }
  // Derivative of the pole in the crank angle (how fast it runs along the
  // fixed centrode).
  std::optional<Vec> poleDerivative(double h = 1e-5) const {
    const auto m = pole(theta0_ - h), p = pole(theta0_ + h);
    if (!m || !p) return std::nullopt;
    return (*p - *m) / (2 * h);
  }

  // Derivative in the crank angle of the point at q (shown position) carried
  // by link 'a' (crank X-A), 'b' (coupler), 'c' (rocker Y-B) or 'd' (frame).
  Vec linkPointDerivative(char link, Vec q) const {
    switch (link) {
      case 'a': {
        const auto d = crankPinDerivatives();
        return (q - x_) * d.d1 / (d.p - x_);
      }
      case 'b':
        return derivatives(couplerRatio(q))->d1;
      case 'c': {
        const auto d = *derivatives(1.0);
        return (q - y_) * d.d1 / (d.p - y_);
      }
      default:
        return 0;
    }
  }

  Derivatives crankPinDerivatives(double h = 1e-3) const {
    const Vec m = crankPin(theta0_ - h), c = crankPin(theta0_), p = crankPin(theta0_ + h);
    return {c, (p - m) / (2 * h), (p - 2.0 * c + m) / (h * h)};
  }

 private:
  Vec x_, y_;
  double crank_ = 0, coupler_ = 0, rocker_ = 0, theta0_ = 0;
  int side_ = 1;
  Vec couplerPoint_;
};

// Centre of the osculating circle of a path with derivatives d1, d2.
inline Vec osculatingCentre(const FourBarModel::Derivatives& d) {
  const double k = cross(d.d1, d.d2);
  const Vec normal{-d.d1.imag(), d.d1.real()};
  return d.p + normal * (std::norm(d.d1) / k);
}

// Curvature of a path with derivatives d1, d2 (1 / radius, signed).
inline double curvature(const FourBarModel::Derivatives& d) {
  return cross(d.d1, d.d2) / std::pow(std::abs(d.d1), 3);
}

}  // namespace pm::kinematics

// An independent model of the four-bar and its added dyads for the kinematic
// tests of the coupler-curve, relative-motion and six-bar topics: plain
// complex-number geometry built from the loaded lengths, sharing nothing with
// the script engine. Screen coordinates (y grows downwards), angles as the
// registers hold them (direction (cos a, -sin a)).
#pragma once

#include <cmath>
#include <complex>
#include <optional>

#include "script/registers.h"
#include "shell/form1.h"

namespace pm::testing {

using Z2 = std::complex<double>;

inline Z2 at(const Form1& f, char32_t name) {
  const Point p = f.engine.reg.point(name);
  return {p.x, p.y};
}

inline double distance(Z2 p, Z2 q) { return std::abs(p - q); }

// The joint at distance |r1| from p and |r2| from q; the sign of r2 picks the
// side of the line p-q (positive: the side a quarter turn from p→q, with y
// down). Nothing where the circles do not meet.
inline std::optional<Z2> dyad(Z2 p, Z2 q, double r1, double r2) {
  const double d = std::abs(q - p);
  if (d == 0) return std::nullopt;
  r1 = std::fabs(r1);
  const double a2 = std::fabs(r2);
  if (d > r1 + a2 || a2 > d + r1 || r1 > d + a2) return std::nullopt;
  const double along = (d * d + r1 * r1 - a2 * a2) / (2 * d);
  const double across = std::sqrt(std::max(0.0, r1 * r1 - along * along));
  const Z2 u = (q - p) / d;
  return p + u * Z2(along, r2 < 0 ? -across : across);
}

// The four-bar as the loaded registers describe it.
struct FourBar {
  Z2 X, Y;
  double a, b, c, e, f;

  static FourBar fromRegisters(const Form1& form) {
    const Registers& r = form.engine.reg;
    FourBar m;
    const double deg = std::acos(-1.0) / 180;
    m.X = {r.val[code(U'a')], r.val[code(U'b')]};
    const double frame = r.val[code(U'd')] * deg;
    m.Y = m.X + r.len[code(U'd')] * Z2(std::cos(frame), -std::sin(frame));
    m.a = r.len[code(U'a')];
    m.b = r.len[code(U'b')];
    m.c = r.len[code(U'c')];
    m.e = r.len[code(U'e')];
    m.f = r.len[code(U'f')];
    return m;
  }

  Z2 A(double theta) const { return X + a * Z2(std::cos(theta), -std::sin(theta)); }
  std::optional<Z2> B(double theta) const { return dyad(A(theta), Y, b, c); }
  std::optional<Z2> C(double theta) const {
    const auto b = B(theta);
    if (!b) return std::nullopt;
    return dyad(A(theta), *b, e, f);
  }
};

// Which two points each six-bar chain hangs its dyad on (I, H), by topic.
struct DyadEnds {
  char32_t i, h;
};
inline constexpr DyadEnds kEnds[] = {{U'Z', U'E'}, {U'C', U'D'}, {U'D', U'C'}, {U'C', U'E'},
                                     {U'E', U'C'}, {U'D', U'E'}, {U'E', U'D'}, {U'Z', U'C'}};

inline double len(const Form1& f, char32_t c) { return f.engine.reg.len[code(c)]; }

// The whole six-bar at crank angle θ, assembled without the script engine.
struct SixBarModel {
  FourBar bar;
  double e, f, g, h, i, j, k, l, m, n, o, p;
  DyadEnds ends;

  static SixBarModel fromRegisters(const Form1& form, int topic) {
    SixBarModel s;
    s.bar = FourBar::fromRegisters(form);
    s.e = len(form, U'e'), s.f = len(form, U'f'), s.g = len(form, U'g'), s.h = len(form, U'h');
    s.i = len(form, U'i'), s.j = len(form, U'j'), s.k = len(form, U'k'), s.l = len(form, U'l');
    s.m = len(form, U'm'), s.n = len(form, U'n'), s.o = len(form, U'o'), s.p = len(form, U'p');
    s.ends = kEnds[topic - 1];
    return s;
  }

  // An added joint (C, D, E or Z) at crank angle θ.
  std::optional<Z2> joint(char32_t name, double theta) const {
    const Z2 A = bar.A(theta);
    const auto B = bar.B(theta);
    if (!B) return std::nullopt;
    switch (name) {
      case U'C':
        return dyad(A, *B, e, f);
      case U'D':
        return dyad(bar.X, A, g, h);
      case U'E':
        return dyad(*B, bar.Y, i, j);
      default:
        return dyad(bar.X, bar.Y, k, l);  // Z
    }
  }

  // The joint F of the dyad I-F-H.
  std::optional<Z2> F(double theta) const {
    const auto I = joint(ends.i, theta), H = joint(ends.h, theta);
    if (!I || !H) return std::nullopt;
    return dyad(*I, *H, m, n);
  }

  std::optional<Z2> G(double theta) const {
    const auto F = this->F(theta);
    if (!F) return std::nullopt;
    return dyad(*F, *joint(ends.h, theta), o, p);
  }
};

// The crank angle the drive step gives for the current state.
inline double crankAngle(const Form1& f) {
  const double deg = std::acos(-1.0) / 180;
  return f.engine.reg.val[code(U'c')] * deg - f.st.wxx;
}

}  // namespace pm::testing

// Category 4: ruler-and-compass constructions. Operation 42 is the assembly
// step of every dyad; it and 43 report through kks whether the circles meet.
#include <cmath>

#include "script/operations.h"
#include "script/vector.h"

namespace pm::ops {

namespace {

constexpr double kMinCentreDistance = 0.001;
constexpr double kMinSecondRadius = 0.0001;

inline int at(const Context& c, int pos) { return c.r.cmdCode[pos]; }
inline double px(const Context& c, int pos) { return c.r.px[at(c, pos)]; }
inline double py(const Context& c, int pos) { return c.r.py[at(c, pos)]; }

inline void setPoint(Context& c, int pos, double x, double y) {
  const int k = at(c, pos);
  c.r.px[k] = x;
  c.r.py[k] = y;
}

inline void difference(Context& c, int a, int b) {
  c.s.X = px(c, a) - px(c, b);
  c.s.Y = py(c, a) - py(c, b);
}

// Where two circles about points 8 and 9 meet: the foot p along the centre
// line (standard angle a) and the half chord h. Sets kks; false when the
// circles do not meet.
// The centre line's direction is kept as its cosine and sine.
struct CircleCut {
  double cosA = 0, sinA = 1, p = 0, h = 0, side = 1;
};

bool cutCircles(Context& c, double r1, double r2, CircleCut& cut) {
  Scratch& s = c.s;
  difference(c, 9, 8);
  // The centre distance as polarStd gives it; its angle is needed only for
  // the zero vector (curLen and curAng are scratch: no later command reads them).
  double d = vectorLength(s);
  if (d > 0) {
    // cos and sin of the standard angle, without evaluating the angle.
    cut.cosA = s.X / d;
    cut.sinA = s.Y / d;
  } else {
    polarStd(s);
    cut.cosA = std::cos(s.curAng);  // the zero vector's sentinel angle
    cut.sinA = std::sin(s.curAng);
  }
  s.kks = 0;
  if (d == 0) d = kMinCentreDistance;
  // The second radius keeps its sign (it selects the branch) but is never 0.
  if (r2 >= 0 && r2 < kMinSecondRadius) r2 = kMinSecondRadius;
  if (r2 < 0 && r2 > -kMinSecondRadius) r2 = -kMinSecondRadius;
  const double ad = std::fabs(d), a1 = std::fabs(r1), a2 = std::fabs(r2);
  if (ad > a1 + a2) {
    s.kks = 1;
    return false;
  }
  if (a2 > ad + a1) {
    s.kks = 2;
    return false;
  }
  if (a1 > ad + a2) {
    s.kks = 3;
    return false;
  }
  cut.p = ((d * d + (r1 * r1 - r2 * r2)) / 2) / d;
  // Touching circles can leave r1² − p² a rounding error below 0: that is the
  // touching point, h = 0.
  const double q = r1 * r1 - cut.p * cut.p;
  cut.h = q > 0 ? std::sqrt(q) : 0.0;
  cut.side = r2 < 0 ? -1.0 : 1.0;
  return true;
}

// Distance of two points, the length the standard polar routine gives.
double distance(Context& c, int a, int b) {
  difference(c, a, b);
  return vectorLength(c.s);
}

}  // namespace

void construction(int op, Context& c) {
  Scratch& s = c.s;
  Registers& r = c.r;
  switch (op) {
    case 1:  // intersection of line 5–6 with line 8–9
      intersectLines(s, px(c, 5), py(c, 5), px(c, 6), py(c, 6), px(c, 8), py(c, 8), px(c, 9),
                     py(c, 9));
      setPoint(c, 3, s.X, s.Y);
      break;
    case 2: {  // circle about 8 radius len 6 with circle about 9 radius len 11 → point 4
      CircleCut cut;
      if (!cutCircles(c, r.len[at(c, 6)], r.len[at(c, 11)], cut)) break;
      const double ca = cut.cosA, sa = cut.sinA;
      const double x8 = px(c, 8), y8 = py(c, 8);
      setPoint(c, 4, x8 + cut.p * ca - cut.side * cut.h * sa,
               y8 + cut.p * sa + cut.side * cut.h * ca);
      const int l6 = at(c, 6) + Registers::kLabelOffset;
      const int l11 = at(c, 11) + Registers::kLabelOffset;
      r.len[l6] = (px(c, 4) + px(c, 8)) / 2;
      r.ang[l6] = (py(c, 4) + py(c, 8)) / 2;
      r.len[l11] = (px(c, 4) + px(c, 9)) / 2;
      r.ang[l11] = (py(c, 4) + py(c, 9)) / 2;
      break;
    }
    case 3: {  // circle about 8 through 6 with circle about 9 through 11 → points 3 and 4
      const double r1 = distance(c, 8, 6);
      const double r2 = distance(c, 9, 11);
      CircleCut cut;
      if (!cutCircles(c, r1, r2, cut)) break;
      const double ca = cut.cosA, sa = cut.sinA;
      const double x8 = px(c, 8), y8 = py(c, 8);
      const double fx = x8 + cut.p * ca, fy = y8 + cut.p * sa;
      setPoint(c, 3, fx - cut.h * sa, fy + cut.h * ca);
      setPoint(c, 4, fx + cut.h * sa, fy - cut.h * ca);
      break;
    }
    case 4: {  // line 6–7 with the circle about 9 through 10 → points 3 and 4
      const double radius = distance(c, 10, 9);
      difference(c, 6, 7);
      polarStd(s);
      const double a = s.curAng;
      difference(c, 6, 7);
      polarScreen(s);
      s.curAng += kPi / 2;
      s.curLen = 100;
      vectorFromPolar(s);
      const double x9 = px(c, 9), y9 = py(c, 9);
      intersectLines(s, px(c, 6), py(c, 6), px(c, 7), py(c, 7), x9, y9, x9 + s.X, y9 + s.Y);
      const double fx = s.X, fy = s.Y;
      const double q = radius * radius - ((fx - x9) * (fx - x9) + (fy - y9) * (fy - y9));
      if (!(q > 0)) {  // the line misses or touches the circle: both at the centre
        setPoint(c, 3, x9, y9);
        setPoint(c, 4, x9, y9);
        break;
      }
      const double h = std::sqrt(q);
      setPoint(c, 3, fx + h * std::cos(a), fy + h * std::sin(a));
      setPoint(c, 4, fx - h * std::cos(a), fy - h * std::sin(a));
      break;
    }
    case 5: {  // a point on the bisector of the angle at point 6
      difference(c, 6, 5);
      polarScreen(s);
      const double r1 = s.curLen, a1 = s.curAng;
      difference(c, 6, 7);
      polarScreen(s);
      const double r2 = s.curLen, a2 = s.curAng;
      const double m = a1 + (a2 - a1) / 2;
      const double rm = (r1 + r2) / 2;
      setPoint(c, 3, px(c, 6) - rm * std::cos(m), py(c, 6) + rm * std::sin(m));
      break;
    }
    case 6: {  // triangle 3-4-5 similar to triangle 7-8-9
      // The vector 4→3 is vector 5→4 turned by the angle from 9→8 to 8→7 and
      // scaled by |8→7| / |9→8|: angles add and lengths multiply, which is the
      // product of the three vectors as complex numbers (screen y negated),
      // (v3 · v2 / v1). Without a vector 9→8 the current vector stays 5→4.
      difference(c, 8, 9);
      const double x1 = s.X, y1 = -s.Y;
      difference(c, 7, 8);
      const double x2 = s.X, y2 = -s.Y;
      difference(c, 4, 5);
      const double x3 = s.X, y3 = -s.Y;
      const double n1 = x1 * x1 + y1 * y1;
      if (n1 != 0) {
        // v3 · v2 · conj(v1) / |v1|²
        const double px32 = x3 * x2 - y3 * y2, py32 = x3 * y2 + y3 * x2;
        const double x = (px32 * x1 + py32 * y1) / n1;
        const double y = (py32 * x1 - px32 * y1) / n1;
        s.X = x;
        s.Y = -y;
      }
      setPoint(c, 3, px(c, 4) + s.X, py(c, 4) + s.Y);
      break;
    }
    case 7: {  // on the ray from point 6 through point 7 at the distance of 5 and 6
      difference(c, 5, 6);
      polarScreen(s);
      const double length = s.curLen;
      difference(c, 7, 6);
      polarScreen(s);
      const double a = s.curAng;
      setPoint(c, 3, px(c, 6) + length * std::cos(a), py(c, 6) - length * std::sin(a));
      break;
    }
    case 8:  // angle of vector 3 = angle of vector 5
      r.ang[at(c, 3)] = r.ang[at(c, 5)];
      break;
    case 9: {  // point 4 = midpoint of points 3 and 7
      const double x3 = px(c, 3), y3 = py(c, 3);
      setPoint(c, 4, x3 + 0.5 * (px(c, 7) - x3), y3 + 0.5 * (py(c, 7) - y3));
      break;
    }
    default:
      break;
  }
}

}  // namespace pm::ops

#include "topics/curvature_curves.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <string_view>

#include "script/utf8.h"
#include "shell/form1.h"
#include "topics/topics.h"

namespace pm {

namespace {

struct FamilyStyle {
  char32_t vector;             // vector register that carries the point
  std::u32string_view script;  // places R = P + that vector and traces to it
};

FamilyStyle styleOf(CurvatureFamily family) {
  switch (family) {
    case CurvatureFamily::G1:
      return {U'h', U":22R=P+h:64~j1-R"};
    case CurvatureFamily::G2:
      return {U'g', U":22R=P+g:64~j1-R"};
    case CurvatureFamily::G3:
      return {U'h', U":22R=P+h:64~g1-R"};
    case CurvatureFamily::G4:
      return {U'g', U":22R=P+g:64~g1-R"};
  }
  return {U'h', U":22R=P+h:64~j1-R"};
}

}  // namespace

double curvatureRadiusOrMinimum(double rho) { return rho == 0 ? 0.00001 : rho; }

std::optional<double> equalCurvatureDistance(CurvatureFamily family, double rho, double d,
                                             double theta) {
  rho = curvatureRadiusOrMinimum(rho);
  // θ is measured so that the inflection circle is r = −d·sin θ. G3 and G4
  // solve r² = ρ·(r + d sin θ), G1 and G2 the same relation for −ρ; the sign
  // of the sine term differs between the two pairs accordingly (with one sign
  // for all four, G1 and G2 would be the curves of the inflection circle
  // mirrored through the pole).
  const double side = family == CurvatureFamily::G1 || family == CurvatureFamily::G2 ? -1 : 1;
  const double w = 1 + side * 4 * d * std::sin(theta) / rho;
  if (!(w >= 0) || !std::isfinite(w)) return std::nullopt;
  const double root = std::sqrt(w);
  switch (family) {
    case CurvatureFamily::G1:
      return (root - 1) * rho / 2;
    case CurvatureFamily::G2:
      return (-root - 1) * rho / 2;
    case CurvatureFamily::G3:
      return (root + 1) * rho / 2;
    case CurvatureFamily::G4:
      return (1 - root) * rho / 2;
  }
  return std::nullopt;
}

void traceEqualCurvature(Form1& f, CurvatureFamily family, double rho, double d, double gamma,
                         int lastK) {
  constexpr double kDegree = std::numbers::pi / 180;
  const FamilyStyle style = styleOf(family);
  bool gap = false;
  for (int k = 0; k <= lastK; ++k) {
    f.cmd.traceCounter = k;
    const double theta = 4 * k * kDegree - gamma;
    const std::optional<double> r = equalCurvatureDistance(family, rho, d, theta);
    if (!r) {
      gap = true;
      continue;
    }
    f.reg().lenOf(style.vector) = *r;
    f.reg().angOf(style.vector) = gamma + theta - std::numbers::pi / 2;
    // After a gap the trace restarts, as at the first step of a loop.
    if (gap) f.cmd.traceCounter = 0;
    f.run(style.script);
    f.cmd.traceCounter = k;
    gap = false;
  }
}

void inflectionCircle(Form1& f) {
  f.run(U":41P=XA*BY:41D=XY*AB:46TPA~BPD");
  f.run(U":66-d1DAB:66-d1DXY:66-d1PAX:66-d1PBY:66-d1PDD");
  f.run(U":66-o4PP:66-j2PP");
  f.run(U":23N=¬+PT:46EPN~DPX:46FYP~NPY:41G=EPxYF");
  velocityBase(f);
  f.run(U":27EP|Aa:27FP|Bb:41G=EPxXa:41H=FPxYb:");
  f.run(U":23I=.+GP:23J=.+HP:41K=IGxJH:");
  f.run(U"23Ì=.+KP:23Í=.+PK:46ÎÍP~aAP:41Ò=KÌxPÎ:23Ó=.+ÒK:41Ô=PÍxÒÓ:36W=Ô");
  f.run(U":49PM=MW:66-m1WP:61(m11PMPP:69om15PW");
  // The circle command draws no circle of a radius above 99999: near P such
  // a circle is the pole tangent, and W lies far off the picture.
  const Point p = f.reg().point(U'P'), w = f.reg().point(U'W');
  const double diameter = std::hypot(w.x - p.x, w.y - p.y);
  if (diameter / 2 > 99999 && std::isfinite(diameter)) {
    double direction = std::atan2(p.y - w.y, w.x - p.x) * 180 / std::numbers::pi;
    if (direction < 0) direction += 360;
    const auto whole = [](double v) { return std::to_string(std::llround(std::min(v, 1e15))); };
    f.canvas.setFont("Arial", 11);
    f.setPosition(20, 60);
    f.print(fromUtf8("Wendekreis zu groß zum Zeichnen: Durchmesser " + whole(diameter) +
                     ", Wendepol Wp von P aus in Richtung " + whole(direction) + "°"),
            true);
  }
}

}  // namespace pm

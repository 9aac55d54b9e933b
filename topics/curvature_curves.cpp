#include "topics/curvature_curves.h"

#include <cmath>
#include <numbers>
#include <string_view>

#include "shell/form1.h"

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

}  // namespace pm

// Curves of equal path curvature: the points of the moving plane whose paths
// have the curvature radius ρ, given the inflection circle of diameter d. In
// the direction θ (measured from the pole normal) they lie at the distances
// r from the pole that solve the Euler-Savary relation; the four families
// G1 … G4 are its four roots for ρ and −ρ.
#pragma once

#include <optional>

namespace pm {

class Form1;

enum class CurvatureFamily { G1, G2, G3, G4 };

// The radius ρ used by the curves: exactly 0 becomes 0.00001.
double curvatureRadiusOrMinimum(double rho);

// Distance from the pole of the family's point in direction θ (radians), or
// nothing where 1 ± 4 d sin θ / ρ is negative (or not a number): minus for
// G1 and G2 (radius −ρ), plus for G3 and G4.
std::optional<double> equalCurvatureDistance(CurvatureFamily family, double rho, double d,
                                             double theta);

// Traces one family for k = 0 … lastK at θ = 4k° − γ; the point is
// P + (r at the screen angle 4k° − 90°). Directions without a point leave a
// gap: the next point that exists starts a new piece.
void traceEqualCurvature(Form1& f, CurvatureFamily family, double rho, double d, double gamma,
                         int lastK);

// The inflection circle (groups 4 and 6): pole tangent and normal, the
// inflection pole W from the velocity tips, the centre M and the circle
// through P and W. A circle too large to be drawn is named in a note that
// says how large it is and in which direction W lies.
void inflectionCircle(Form1& f);

}  // namespace pm

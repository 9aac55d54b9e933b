// The locus of the worked example of the moving plane: the points whose paths
// have the same radius of curvature d as the path of the coupler point C.
#pragma once

#include <optional>

namespace pm {

// Signed distance ρ from the pole P of the locus point in direction φ of one
// branch (sigma +1 or −1), for the inflection-pole distance a and the curvature
// radius d. ρ solves ρ² − d·ρ − a·d·sin φ = 0. d = 0 counts as 0.00001. Empty
// where the discriminant 1 + 4·a·sin φ / d is negative or not a number: there
// the branch has no point.
std::optional<double> equalCurvatureLocusDistance(double sigma, double phi, double a, double d);

}  // namespace pm

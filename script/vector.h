// The four vector routines that carry all trigonometry of the engine. They talk
// only through the scratch state: (X, Y) in or out, (curLen, curAng) in or out.
//
// Standard angle: direction (cos a, sin a). Screen angle: direction (cos a, -sin a).
// Both conversions return angles in (0, 2π]; +x gives 2π.
#pragma once

#include <cmath>

#include "script/scratch.h"

namespace pm {

inline constexpr double kPi = 3.14159265358979323846;  // 4·atan(1)
inline constexpr double kDeg = kPi / 180.0;             // radians per degree

// The length of (X, Y), as both polar conversions give it in curLen; for a
// routine that needs the length alone, without the angle's atan.
inline double vectorLength(const Scratch& s) { return std::sqrt(s.X * s.X + s.Y * s.Y); }

void polarStd(Scratch& s);         // (X, Y) → curLen, curAng (standard angle)
void polarScreen(Scratch& s);      // (X, Y) → curLen, curAng (screen angle)
void vectorFromPolar(Scratch& s);  // curLen, curAng (screen angle) → (X, Y)
// Intersection of line (x1,y1)-(x2,y2) with line (x3,y3)-(x4,y4) into (X, Y),
// with the vertical, parallel and clamping sentinels (no clamp while
// s.farIntersections is set).
void intersectLines(Scratch& s, double x1, double y1, double x2, double y2, double x3, double y3,
                    double x4, double y4);

}  // namespace pm

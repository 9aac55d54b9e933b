// Font sizes of the picture: points at 96 dpi of the user scale, so a size-11
// font is 11 · 96 / 72 = 14.67 drawing units high. Line widths are drawing units.
#pragma once

namespace pm {

inline constexpr double kPointsToUnits = 96.0 / 72.0;

// Em height in drawing units of a font of the given point size.
constexpr double pixelSize(double pointSize) { return pointSize * kPointsToUnits; }

// Arial's line height (ascent 1854 + descent 434 of 2048 units) in ems.
inline constexpr double kArialLineHeightEm = 2288.0 / 2048.0;

}  // namespace pm

// Fonts of the picture in Qt. "Arial" is the program's font; where it is not
// installed it resolves to the metric-compatible Liberation Sans, and the label
// font "Areal" falls back to the same font. Sizes are points at 96 dpi of the
// user scale, independent of the paint device's resolution.
#pragma once

#include <QtGui/QFont>
#include <QtGui/QFontMetricsF>
#include <string_view>

#include "draw/recording_canvas.h"

namespace pm {

// Registers the font substitutions (idempotent; needs a QGuiApplication).
void installFontSubstitutions();

// A font scaled up by kFontOversampling, so that layout in drawing units keeps
// sub-unit precision: draw it under a scale of 1 / kFontOversampling.
inline constexpr double kFontOversampling = 64;
QFont pictureFont(std::string_view name, double pointSize);

// pictureFont with its metrics, kept for the fonts last used: building a QFont
// and resolving its metrics costs more than laying out a short label.
struct PictureFont {
  QFont font;
  QFontMetricsF metrics;
};
const PictureFont& cachedPictureFont(std::string_view name, double pointSize);
// Drawing units per pixel of pictureFont(…, pointSize).
double fontUnitScale(double pointSize);

// Text metrics from Qt's fonts, in drawing units, matching what the painter
// backend draws. Needs a QGuiApplication.
class QtFontMetrics final : public FontMetrics {
 public:
  double width(std::string_view font, double pointSize, std::u32string_view text) const override;
  double lineHeight(std::string_view font, double pointSize) const override;
  double ascent(std::string_view font, double pointSize) const;
};

const QtFontMetrics& qtFontMetrics();

}  // namespace pm

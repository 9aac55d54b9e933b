// The animation of a revolution as a GIF: the frames of a run, kept as the
// display lists they showed, are drawn at the size asked for with crisp edges
// (a GIF has no room for blended pixels: each costs a colour and breaks the
// runs its compression lives on) and encoded with one palette, each frame as
// the rectangle in which it changed. The window
// ("&Umlauf als Animation speichern …") and planimove-render --gif both make
// their files here, so that they agree frame by frame.
#pragma once

#include <QtCore/QSize>
#include <QtGui/QImage>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "draw/colour.h"
#include "draw/display_list.h"

namespace pm {

// One frame as it was shown: its list (already presented through the view),
// its background picture (null: none) and background colour.
struct AnimationFrame {
  DisplayList list;
  QImage background;
  Rgb backgroundColour;
};

// The default width of an animation, in pixels: fit for a slide or a web page.
inline constexpr int kAnimationWidth = 800;

// The GIF of the frames at `size`, `delayCentiseconds` a frame, looping.
// `progress(done, total)` is called as the work goes on and may return false
// to cancel: then nothing and `error` says so. Empty and a message in `error`
// on any failure.
std::vector<std::uint8_t> encodeAnimation(const std::vector<AnimationFrame>& frames, QSize size,
                                          int delayCentiseconds,
                                          const std::function<bool(int done, int total)>& progress,
                                          std::string& error);

}  // namespace pm

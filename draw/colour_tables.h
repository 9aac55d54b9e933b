// The two colour tables addressed by colour letters: the fixed 16-colour table
// ("a" … "p") and the palette ("a" … "z", indices 26 … 32 black) rebuilt on every
// command from the intensity fields rr1, gg1, bb1 and the background colour.
#pragma once

#include <array>

#include "draw/colour.h"

namespace pm {

inline constexpr int kFixedColourCount = 16;
inline constexpr int kPaletteSize = 33;
using Palette = std::array<Rgb, kPaletteSize>;

inline constexpr std::array<Rgb, kFixedColourCount> kFixedColours = {
    rgb(0, 0, 0),       rgb(0, 0, 128),   rgb(0, 128, 0),   rgb(0, 128, 128),
    rgb(128, 0, 0),     rgb(128, 0, 128), rgb(128, 128, 0), rgb(192, 192, 192),
    rgb(128, 128, 128), rgb(0, 0, 255),   rgb(0, 255, 0),   rgb(0, 255, 255),
    rgb(255, 0, 0),     rgb(255, 0, 255), rgb(255, 255, 0), rgb(255, 255, 255)};

// Fixed colour k; an index outside 0 … 15 gives black. Inline: every dot and
// line of a script asks for one.
inline Rgb fixedColour(int k) {
  const bool known = static_cast<unsigned>(k) < static_cast<unsigned>(kFixedColourCount);
  return known ? kFixedColours[k] : Rgb{};
}

// The palette for the intensities rr1 (clamped to 0 … 160), gg1 (0 … 224) and
// bb1 (0 … 256) and the background colour cb (entry 16).
Palette buildPalette(double rr1, double gg1, double bb1, Rgb cb);

// Palette entry k; an index outside 0 … 32 gives black.
Rgb paletteColour(const Palette& palette, int k);

}  // namespace pm

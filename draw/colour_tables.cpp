// Fixed colour table and palette.
#include "draw/colour_tables.h"

#include <cmath>

namespace pm {
namespace {

// Clamps an intensity field; a field that is not a number counts as 0.
double clampLevel(double v, double hi) {
  if (!(v > 0)) return 0;
  return v > hi ? hi : v;
}

}  // namespace

Palette buildPalette(double rr1, double gg1, double bb1, Rgb cb) {
  const double lo = clampLevel(rr1, 160);
  const double mid = clampLevel(gg1, 224);
  const double hi = clampLevel(bb1, 256);
  Palette p{};  // 26 … 32 stay black
  p[0] = rgb(lo, lo, lo);
  p[1] = rgb(lo, lo, mid);
  p[2] = rgb(lo, mid, lo);
  p[3] = rgb(lo, mid, mid);
  p[4] = rgb(mid, lo, lo);
  p[5] = rgb(mid, lo, mid);
  p[6] = rgb(mid, mid, lo);
  p[7] = rgb(196, 196, 196);
  p[8] = rgb(mid, mid, mid);
  p[9] = rgb(lo, lo, hi);
  p[10] = rgb(lo, hi, lo);
  p[11] = rgb(lo, hi, hi);
  p[12] = rgb(hi, lo, lo);
  p[13] = rgb(hi, lo, hi);
  p[14] = rgb(hi, hi, lo);
  p[15] = rgb(hi, hi, hi);
  p[16] = cb;
  p[17] = rgb(128, 128, 224);
  p[18] = rgb(128, 160, 128);
  p[19] = rgb(160, 128, 256);
  p[20] = rgb(224, 128, 128);
  p[21] = rgb(196, 196, 64);
  p[22] = rgb(192, 128, 96);
  p[23] = rgb(96, 160, 256);
  p[24] = rgb(160, 128, 128);
  p[25] = rgb(64, 160, 160);
  return p;
}

Rgb paletteColour(const Palette& palette, int k) {
  return (k >= 0 && k < kPaletteSize) ? palette[k] : Rgb{};
}

}  // namespace pm

// A small GIF writer for palette images (Qt reads GIF but does not write it).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pm::pictures {

struct PaletteImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;                 // one palette index per pixel, rows top down
  std::vector<std::array<std::uint8_t, 3>> palette;  // at most 256 colours
  int transparentIndex = -1;                          // palette index shown as transparent, -1 none
};

// Encodes the image as GIF89a with LZW compression; a transparent index is
// written as a graphic control extension before the image.
std::vector<std::uint8_t> encodeGif(const PaletteImage& image);
bool writeGif(const std::string& path, const PaletteImage& image);

}  // namespace pm::pictures

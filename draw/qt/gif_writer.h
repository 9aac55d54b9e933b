// GIF files through giflib (Qt reads GIF but does not write it): single
// palette pictures (the help and explanatory pictures) and looping animations
// (a revolution of the crank). Every GIF the programs and tools write goes
// through this one writer.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QImage;

namespace pm {

struct PaletteImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;                  // one palette index per pixel, rows top down
  std::vector<std::array<std::uint8_t, 3>> palette;  // 1 … 256 colours
  int transparentIndex = -1;                         // palette index shown as transparent, -1 none
};

using GifPalette = std::vector<std::array<std::uint8_t, 3>>;

// Writes a GIF89a into memory, frame by frame, so that a long animation never
// holds more than one frame at a time. Frames are full-size pictures of their
// own colour table, or, in an animation of one palette, the rectangle in
// which a frame differs from the one before.
class GifEncoder {
 public:
  // `looping`: an animation repeated without end (the NETSCAPE2.0 block).
  GifEncoder(int width, int height, bool looping);
  // A looping animation of one palette (1 … 255 colours) for all its frames:
  // the frames' pixels are indices into it (their own palettes are not
  // used). Each frame after the first is stored as the rectangle in which it
  // differs from the one before, with the unchanged pixels in it transparent
  // (the index after the palette's colours): far less to store where only
  // the mechanism moves.
  GifEncoder(int width, int height, GifPalette palette);
  ~GifEncoder();
  GifEncoder(const GifEncoder&) = delete;
  GifEncoder& operator=(const GifEncoder&) = delete;

  // Appends a frame of the encoder's size shown for `delayCentiseconds`
  // (0: no timing); false (see error()) when it cannot be encoded.
  bool addFrame(const PaletteImage& frame, int delayCentiseconds = 0);
  int frameCount() const { return frames_; }
  // Closes the file and hands out its bytes; empty after any failure.
  std::vector<std::uint8_t> finish();
  const std::string& error() const { return error_; }

 private:
  struct File;
  std::unique_ptr<File> file_;
  int width_, height_;
  int frames_ = 0;
  std::string error_;
  bool addSharedFrame(const PaletteImage& frame, int delayCentiseconds);
};

// One palette for the frames of an animation: their most frequent colours
// (the flat colours of links, joints and texts first), at most 255 (one
// index stays free for transparency), counted over the frames offered to
// sample(); indexed() gives each pixel the index of its own colour or, for
// one not among them, of the nearest.
class AnimationPalette {
 public:
  explicit AnimationPalette(std::size_t maxColours = 255) : maxColours_(maxColours) {}
  void sample(const QImage& frame);
  // Chooses the colours; sampling ends.
  void choose();
  const GifPalette& colours() const { return colours_; }
  PaletteImage indexed(const QImage& frame);

 private:
  std::size_t maxColours_;
  std::unordered_map<std::uint32_t, std::size_t> counts_;
  std::unordered_map<std::uint32_t, std::uint8_t> index_;
  GifPalette colours_;
};

// One picture as a GIF file (a transparent index becomes a graphic control
// extension); empty when the image is not valid.
std::vector<std::uint8_t> encodeGif(const PaletteImage& image);
// The picture as a GIF file, written through writeFileAtomically; false and
// the reason in `error` when it is not valid or cannot be written.
bool writeGif(const std::filesystem::path& path, const PaletteImage& image, std::string& error);

// A palette image of a picture: its own colours when it has at most 256 (in
// the order they first appear), otherwise its 256 most frequent colours, each
// other colour shown as the nearest of them.
PaletteImage toPaletteImage(const QImage& image);

}  // namespace pm

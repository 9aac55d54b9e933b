// GIF files through giflib (Qt reads GIF but does not write it): single
// palette pictures (the help and explanatory pictures) and looping animations
// (a revolution of the crank). Every GIF the programs and tools write goes
// through this one writer.
#pragma once

#include <array>
#include <cstdint>
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

// Writes a GIF89a into memory, frame by frame, so that a long animation never
// holds more than one frame at a time. Frames are full-size pictures of their
// own colour table.
class GifEncoder {
 public:
  // `looping`: an animation repeated without end (the NETSCAPE2.0 block).
  GifEncoder(int width, int height, bool looping);
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

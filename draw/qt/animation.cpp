#include "draw/qt/animation.h"

#include "draw/qt/gif_writer.h"
#include "draw/qt/painter_backend.h"

namespace pm {

namespace {
// Every so many frames are sampled for the palette: a revolution shows the
// same figures in every frame, moved.
constexpr int kSampleEvery = 5;
}  // namespace

std::vector<std::uint8_t> encodeAnimation(const std::vector<AnimationFrame>& frames, QSize size,
                                          int delayCentiseconds,
                                          const std::function<bool(int, int)>& progress,
                                          std::string& error) {
  if (frames.empty()) {
    error = "keine Bilder";
    return {};
  }
  auto render = [&](const AnimationFrame& f) {
    return renderImage(f.list, f.background.isNull() ? nullptr : &f.background, size, 1,
                       f.backgroundColour, QRectF(), Edges::Crisp);
  };
  const int frameCount = static_cast<int>(frames.size());
  const int samples = (frameCount + kSampleEvery - 1) / kSampleEvery;
  const int total = samples + frameCount;
  int done = 0;
  auto step = [&] {
    if (progress && !progress(++done, total)) {
      error = "abgebrochen";
      return false;
    }
    return true;
  };
  AnimationPalette palette;
  for (int i = 0; i < frameCount; i += kSampleEvery) {
    const QImage image = render(frames[static_cast<std::size_t>(i)]);
    if (image.isNull()) {
      error = "ein Bild von " + std::to_string(size.width()) + " × " + std::to_string(size.height()) +
              " Pixeln lässt sich nicht erzeugen";
      return {};
    }
    palette.sample(image);
    if (!step()) return {};
  }
  palette.choose();
  GifEncoder encoder(size.width(), size.height(), palette.colours());
  for (const AnimationFrame& f : frames) {
    if (!encoder.addFrame(palette.indexed(render(f)), delayCentiseconds)) {
      error = encoder.error();
      return {};
    }
    if (!step()) return {};
  }
  std::vector<std::uint8_t> bytes = encoder.finish();
  if (bytes.empty()) error = encoder.error();
  return bytes;
}

}  // namespace pm

#include "draw/qt/gif_writer.h"

#include <gif_lib.h>

#include <QtGui/QImage>
#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "shell/atomic_file.h"

namespace pm {

namespace {

int appendBytes(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

// The palette as a giflib colour map of a power-of-two size (at least 2),
// the unused entries black.
ColorMapObject* colourMap(const PaletteImage& image) {
  int bits = 1;
  while ((1u << bits) < image.palette.size() && bits < 8) ++bits;
  std::vector<GifColorType> colours(std::size_t{1} << bits, GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < image.palette.size() && i < colours.size(); ++i)
    colours[i] = {image.palette[i][0], image.palette[i][1], image.palette[i][2]};
  return GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
}

std::string giflibError(const char* what, int code) {
  const char* text = GifErrorString(code);
  return std::string(what) + ": " + (text ? text : "giflib error " + std::to_string(code));
}

}  // namespace

struct GifEncoder::File {
  std::vector<std::uint8_t> bytes;
  GifFileType* gif = nullptr;
  bool looping = false;
  bool screenWritten = false;
  bool failed = false;
};

GifEncoder::GifEncoder(int width, int height, bool looping)
    : file_(std::make_unique<File>()), width_(width), height_(height) {
  file_->looping = looping;
  int code = 0;
  if (width < 1 || height < 1 || width > 65535 || height > 65535) {
    error_ = "GIF: size " + std::to_string(width) + "x" + std::to_string(height) + " out of range";
    file_->failed = true;
    return;
  }
  file_->gif = EGifOpen(&file_->bytes, appendBytes, &code);
  if (!file_->gif) {
    error_ = giflibError("GIF", code);
    file_->failed = true;
    return;
  }
  EGifSetGifVersion(file_->gif, true);
}

GifEncoder::~GifEncoder() {
  if (file_->gif) EGifCloseFile(file_->gif, nullptr);
}

bool GifEncoder::addFrame(const PaletteImage& frame, int delayCentiseconds) {
  File& f = *file_;
  if (f.failed) return false;
  auto fail = [&](std::string message) {
    error_ = std::move(message);
    f.failed = true;
    return false;
  };
  if (frame.width != width_ || frame.height != height_ ||
      frame.pixels.size() != static_cast<std::size_t>(width_) * height_)
    return fail("GIF: frame of another size than the picture");
  if (frame.palette.empty() || frame.palette.size() > 256)
    return fail("GIF: a frame needs 1 to 256 colours");
  const auto colours = static_cast<std::uint8_t>(frame.palette.size() - 1);
  if (std::any_of(frame.pixels.begin(), frame.pixels.end(),
                  [colours](std::uint8_t p) { return p > colours; }))
    return fail("GIF: a pixel names no colour of the palette");

  ColorMapObject* map = colourMap(frame);
  if (!map) return fail("GIF: out of memory");
  struct MapGuard {
    ColorMapObject* m;
    ~MapGuard() { GifFreeMapObject(m); }
  } guard{map};

  GifFileType* gif = f.gif;
  // A still picture carries its palette as the global table (as simple
  // readers expect); animation frames each carry their own.
  const bool globalTable = !f.looping && frames_ == 0;
  if (!f.screenWritten) {
    if (EGifPutScreenDesc(gif, width_, height_, 8, 0, globalTable ? map : nullptr) == GIF_ERROR)
      return fail(giflibError("GIF", gif->Error));
    if (f.looping) {
      static const GifByteType kApplication[] = "NETSCAPE2.0";
      static const GifByteType kLoopForever[] = {1, 0, 0};
      if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
          EGifPutExtensionBlock(gif, 11, kApplication) == GIF_ERROR ||
          EGifPutExtensionBlock(gif, 3, kLoopForever) == GIF_ERROR ||
          EGifPutExtensionTrailer(gif) == GIF_ERROR)
        return fail(giflibError("GIF", gif->Error));
    }
    f.screenWritten = true;
  }
  if (frame.transparentIndex >= 0 || delayCentiseconds > 0 || f.looping) {
    GraphicsControlBlock control{};
    control.DisposalMode = f.looping ? DISPOSE_DO_NOT : DISPOSAL_UNSPECIFIED;
    control.UserInputFlag = false;
    control.DelayTime = std::max(0, delayCentiseconds);
    control.TransparentColor =
        frame.transparentIndex >= 0 && frame.transparentIndex <= colours ? frame.transparentIndex
                                                                         : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, length, extension) == GIF_ERROR)
      return fail(giflibError("GIF", gif->Error));
  }
  if (EGifPutImageDesc(gif, 0, 0, width_, height_, false, globalTable ? nullptr : map) ==
      GIF_ERROR)
    return fail(giflibError("GIF", gif->Error));
  std::vector<GifPixelType> row(static_cast<std::size_t>(width_));
  for (int y = 0; y < height_; ++y) {
    std::memcpy(row.data(), frame.pixels.data() + static_cast<std::size_t>(y) * width_, row.size());
    if (EGifPutLine(gif, row.data(), width_) == GIF_ERROR)
      return fail(giflibError("GIF", gif->Error));
  }
  ++frames_;
  return true;
}

std::vector<std::uint8_t> GifEncoder::finish() {
  File& f = *file_;
  if (!f.gif) return {};
  int code = 0;
  const bool closed = EGifCloseFile(f.gif, &code) == GIF_OK;
  f.gif = nullptr;
  if (!closed && !f.failed) {
    error_ = giflibError("GIF", code);
    f.failed = true;
  }
  if (!f.failed && frames_ == 0) {
    error_ = "GIF: no frame";
    f.failed = true;
  }
  if (f.failed) return {};
  return std::move(f.bytes);
}

std::vector<std::uint8_t> encodeGif(const PaletteImage& image) {
  GifEncoder encoder(image.width, image.height, false);
  if (!encoder.addFrame(image)) return {};
  return encoder.finish();
}

bool writeGif(const std::filesystem::path& path, const PaletteImage& image, std::string& error) {
  const auto bytes = encodeGif(image);
  if (bytes.empty()) {
    error = "kein gültiges Bild";
    return false;
  }
  return writeFileAtomically(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
}

PaletteImage toPaletteImage(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  PaletteImage out;
  out.width = image.width();
  out.height = image.height();
  const std::size_t count = static_cast<std::size_t>(out.width) * out.height;
  out.pixels.resize(count);
  if (count == 0) return out;

  // Exact colours while there are few enough.
  std::unordered_map<QRgb, std::uint8_t> index;
  bool exact = true;
  for (int y = 0; y < out.height && exact; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < out.width; ++x) {
      const QRgb c = line[x] & 0xffffffu;
      auto it = index.find(c);
      if (it == index.end()) {
        if (out.palette.size() == 256) {
          exact = false;
          break;
        }
        it = index.emplace(c, static_cast<std::uint8_t>(out.palette.size())).first;
        out.palette.push_back({static_cast<std::uint8_t>(qRed(c)),
                               static_cast<std::uint8_t>(qGreen(c)),
                               static_cast<std::uint8_t>(qBlue(c))});
      }
      out.pixels[static_cast<std::size_t>(y) * out.width + x] = it->second;
    }
  }
  if (exact) return out;

  // More than 256 colours (the blended edges of antialiased lines): the 256
  // most frequent colours stay exact, every other colour takes the nearest of
  // them. The flat colours of links, joints and texts thus keep their values.
  std::unordered_map<QRgb, std::size_t> histogram;
  for (int y = 0; y < out.height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < out.width; ++x) ++histogram[line[x] & 0xffffffu];
  }
  std::vector<std::pair<QRgb, std::size_t>> byCount(histogram.begin(), histogram.end());
  std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  });
  byCount.resize(256);
  out.palette.clear();
  index.clear();
  for (const auto& [c, n] : byCount) {
    index.emplace(c, static_cast<std::uint8_t>(out.palette.size()));
    out.palette.push_back({static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
                           static_cast<std::uint8_t>(qBlue(c))});
  }
  auto nearest = [&out](QRgb c) {
    int best = 0, bestDistance = 1 << 30;
    for (std::size_t i = 0; i < out.palette.size(); ++i) {
      const int dr = qRed(c) - out.palette[i][0], dg = qGreen(c) - out.palette[i][1],
                db = qBlue(c) - out.palette[i][2];
      const int d = dr * dr + dg * dg + db * db;
      if (d < bestDistance) {
        bestDistance = d;
        best = static_cast<int>(i);
      }
    }
    return static_cast<std::uint8_t>(best);
  };
  for (int y = 0; y < out.height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < out.width; ++x) {
      const QRgb c = line[x] & 0xffffffu;
      auto it = index.find(c);
      if (it == index.end()) it = index.emplace(c, nearest(c)).first;
      out.pixels[static_cast<std::size_t>(y) * out.width + x] = it->second;
    }
  }
  return out;
}

}  // namespace pm

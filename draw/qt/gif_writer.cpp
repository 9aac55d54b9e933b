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
  // An animation of one palette: the palette, and the last frame's pixels.
  bool shared = false;
  GifPalette palette;
  std::vector<std::uint8_t> previous;
};

namespace {

// The loop block of an animation (NETSCAPE2.0, repeated without end).
bool putLoopBlock(GifFileType* gif) {
  static const GifByteType kApplication[] = "NETSCAPE2.0";
  static const GifByteType kLoopForever[] = {1, 0, 0};
  return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
         EGifPutExtensionBlock(gif, 11, kApplication) != GIF_ERROR &&
         EGifPutExtensionBlock(gif, 3, kLoopForever) != GIF_ERROR &&
         EGifPutExtensionTrailer(gif) != GIF_ERROR;
}

bool putControl(GifFileType* gif, int disposal, int delay, int transparent) {
  GraphicsControlBlock control{};
  control.DisposalMode = disposal;
  control.UserInputFlag = false;
  control.DelayTime = std::max(0, delay);
  control.TransparentColor = transparent;
  GifByteType extension[4];
  const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
  return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, length, extension) != GIF_ERROR;
}

}  // namespace

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

GifEncoder::GifEncoder(int width, int height, GifPalette palette) : GifEncoder(width, height, true) {
  file_->shared = true;
  if (palette.empty() || palette.size() > 255) {
    error_ = "GIF: an animation of one palette needs 1 to 255 colours";
    file_->failed = true;
  }
  file_->palette = std::move(palette);
}

bool GifEncoder::addSharedFrame(const PaletteImage& frame, int delayCentiseconds) {
  File& f = *file_;
  auto fail = [&](std::string message) {
    error_ = std::move(message);
    f.failed = true;
    return false;
  };
  const auto colours = f.palette.size();
  if (std::any_of(frame.pixels.begin(), frame.pixels.end(),
                  [colours](std::uint8_t p) { return p >= colours; }))
    return fail("GIF: a pixel names no colour of the palette");
  GifFileType* gif = f.gif;
  const int transparent = static_cast<int>(colours);
  if (!f.screenWritten) {
    PaletteImage table;
    table.palette = f.palette;
    table.palette.push_back({0, 0, 0});  // the transparent index
    ColorMapObject* map = colourMap(table);
    if (!map) return fail("GIF: out of memory");
    const bool ok = EGifPutScreenDesc(gif, width_, height_, 8, 0, map) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!ok || !putLoopBlock(gif)) return fail(giflibError("GIF", gif->Error));
    f.screenWritten = true;
  }
  // The rectangle in which this frame differs from the one before; the
  // first frame is stored whole, a frame equal to the one before as one
  // transparent pixel.
  int left = 0, top = 0, right = width_ - 1, bottom = height_ - 1;
  if (!f.previous.empty()) {
    left = width_;
    top = height_;
    right = bottom = -1;
    for (int y = 0; y < height_; ++y) {
      const std::uint8_t* now = frame.pixels.data() + static_cast<std::size_t>(y) * width_;
      const std::uint8_t* before = f.previous.data() + static_cast<std::size_t>(y) * width_;
      if (std::memcmp(now, before, static_cast<std::size_t>(width_)) == 0) continue;
      int x0 = 0, x1 = width_ - 1;
      while (now[x0] == before[x0]) ++x0;
      while (now[x1] == before[x1]) --x1;
      left = std::min(left, x0);
      right = std::max(right, x1);
      top = std::min(top, y);
      bottom = y;
    }
    if (right < 0) left = right = top = bottom = 0;
  }
  const int w = right - left + 1, h = bottom - top + 1;
  if (!putControl(gif, DISPOSE_DO_NOT, delayCentiseconds, f.previous.empty() ? NO_TRANSPARENT_COLOR : transparent) ||
      EGifPutImageDesc(gif, left, top, w, h, false, nullptr) == GIF_ERROR)
    return fail(giflibError("GIF", gif->Error));
  std::vector<GifPixelType> row(static_cast<std::size_t>(w));
  for (int y = top; y <= bottom; ++y) {
    const std::size_t at = static_cast<std::size_t>(y) * width_ + left;
    for (int x = 0; x < w; ++x) {
      const std::uint8_t p = frame.pixels[at + x];
      const bool unchanged = !f.previous.empty() && p == f.previous[at + x];
      // An unchanged pixel is transparent, unless its own colour continues
      // the run before it: the longer the runs of one code, the shorter the file.
      const bool continues = x > 0 && row[x - 1] == p;
      row[x] = unchanged && !continues ? static_cast<GifPixelType>(transparent) : p;
    }
    if (EGifPutLine(gif, row.data(), w) == GIF_ERROR) return fail(giflibError("GIF", gif->Error));
  }
  f.previous = frame.pixels;
  ++frames_;
  return true;
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
  if (f.shared) return addSharedFrame(frame, delayCentiseconds);
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
    if (f.looping && !putLoopBlock(gif)) return fail(giflibError("GIF", gif->Error));
    f.screenWritten = true;
  }
  if (frame.transparentIndex >= 0 || delayCentiseconds > 0 || f.looping) {
    const int transparent = frame.transparentIndex >= 0 && frame.transparentIndex <= colours
                                ? frame.transparentIndex
                                : NO_TRANSPARENT_COLOR;
    if (!putControl(gif, f.looping ? DISPOSE_DO_NOT : DISPOSAL_UNSPECIFIED, delayCentiseconds,
                    transparent))
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
  AnimationPalette palette(256);
  palette.sample(image);
  palette.choose();
  return palette.indexed(image);
}

void AnimationPalette::sample(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) ++counts_[line[x] & 0xffffffu];
  }
}

void AnimationPalette::choose() {
  std::vector<std::pair<std::uint32_t, std::size_t>> byCount(counts_.begin(), counts_.end());
  // Most frequent first; equal counts by colour, so that the palette never
  // depends on the order of a hash table.
  std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  });
  if (byCount.size() > maxColours_) byCount.resize(maxColours_);
  if (byCount.empty()) byCount.push_back({0xffffffu, 1});
  colours_.clear();
  index_.clear();
  for (const auto& [c, n] : byCount) {
    index_.emplace(c, static_cast<std::uint8_t>(colours_.size()));
    colours_.push_back({static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
                        static_cast<std::uint8_t>(qBlue(c))});
  }
  counts_.clear();
}

PaletteImage AnimationPalette::indexed(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  PaletteImage out;
  out.width = image.width();
  out.height = image.height();
  out.palette = colours_;
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
  auto nearest = [this](QRgb c) {
    int best = 0, bestDistance = 1 << 30;
    for (std::size_t i = 0; i < colours_.size(); ++i) {
      const int dr = qRed(c) - colours_[i][0], dg = qGreen(c) - colours_[i][1], db = qBlue(c) - colours_[i][2];
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
      auto it = index_.find(c);
      if (it == index_.end()) it = index_.emplace(c, nearest(c)).first;
      out.pixels[static_cast<std::size_t>(y) * out.width + x] = it->second;
    }
  }
  return out;
}

}  // namespace pm

// Reads a GIF back with giflib: every frame as an image, its delay, and
// whether the file loops. Used by the tests of the writer and the animation.
// A frame smaller than the picture is put over the frame before at its place,
// its transparent pixels showing what was there, as a viewer shows it.
#pragma once

#include <gif_lib.h>

#include <QtGui/QImage>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pm {

// The frames of a GIF as giflib reads them back, with their delays and
// whether the file asks to loop.
struct DecodedGif {
  std::vector<QImage> frames;
  std::vector<int> delays;
  bool loops = false;
};

namespace gif_detail {

struct Reader {
  const std::vector<std::uint8_t>* bytes;
  std::size_t pos = 0;
};

inline int readBytes(GifFileType* gif, GifByteType* out, int n) {
  auto* r = static_cast<gif_detail::Reader*>(gif->UserData);
  const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), r->bytes->size() - r->pos);
  std::memcpy(out, r->bytes->data() + r->pos, take);
  r->pos += take;
  return static_cast<int>(take);
}

}  // namespace gif_detail

inline DecodedGif decodeGif(const std::vector<std::uint8_t>& bytes) {
  DecodedGif out;
  gif_detail::Reader reader{&bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, gif_detail::readBytes, &error);
  if (!gif) return out;
  if (DGifSlurp(gif) == GIF_OK) {
    // giflib files the blocks before the first image with that image.
    auto findLoop = [&out](const ExtensionBlock* blocks, int count) {
      for (int e = 0; e + 1 < count; ++e) {
        const ExtensionBlock& b = blocks[e];
        if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
            std::memcmp(b.Bytes, "NETSCAPE2.0", 11) == 0)
          out.loops = blocks[e + 1].ByteCount == 3 && blocks[e + 1].Bytes[0] == 1;
      }
    };
    findLoop(gif->ExtensionBlocks, gif->ExtensionBlockCount);
    if (gif->ImageCount > 0)
      findLoop(gif->SavedImages[0].ExtensionBlocks, gif->SavedImages[0].ExtensionBlockCount);
    QImage shown(gif->SWidth, gif->SHeight, QImage::Format_RGB32);
    shown.fill(qRgb(0, 0, 0));
    for (int i = 0; i < gif->ImageCount; ++i) {
      const SavedImage& s = gif->SavedImages[i];
      const ColorMapObject* map = s.ImageDesc.ColorMap ? s.ImageDesc.ColorMap : gif->SColorMap;
      GraphicsControlBlock control{};
      control.TransparentColor = NO_TRANSPARENT_COLOR;
      const bool hasControl = DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK;
      const int w = s.ImageDesc.Width, h = s.ImageDesc.Height;
      for (int y = 0; y < h; ++y) {
        if (s.ImageDesc.Top + y >= shown.height()) break;
        auto* line = reinterpret_cast<QRgb*>(shown.scanLine(s.ImageDesc.Top + y));
        for (int x = 0; x < w && s.ImageDesc.Left + x < shown.width(); ++x) {
          const int index = s.RasterBits[y * w + x];
          if (index == control.TransparentColor) continue;
          const GifColorType c = map->Colors[index];
          line[s.ImageDesc.Left + x] = qRgb(c.Red, c.Green, c.Blue);
        }
      }
      out.frames.push_back(shown.copy());
      out.delays.push_back(hasControl ? control.DelayTime : -1);
    }
  }
  DGifCloseFile(gif, &error);
  return out;
}

inline DecodedGif decodeGifFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return decodeGif(bytes);
}

}  // namespace pm

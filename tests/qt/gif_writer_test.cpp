// The help-picture GIF writer: what it writes must decode to the same pixels.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "gif_writer.h"
#include "help_pictures.h"

namespace {

QImage decode(const std::vector<std::uint8_t>& bytes) {
  QImage image;
  image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "GIF");
  return image;
}

TEST(GifWriter, RoundTripsPalettePixelsIncludingDictionaryResets) {
  // 300 x 200 pseudo-random pixels over 16 colours: enough codes to fill the
  // 4096-entry dictionary several times.
  pm::pictures::PaletteImage img;
  img.width = 300;
  img.height = 200;
  for (int i = 0; i < 16; ++i) img.palette.push_back({std::uint8_t(i * 16), std::uint8_t(255 - i * 16), 7});
  unsigned seed = 12345;
  for (int i = 0; i < img.width * img.height; ++i) {
    seed = seed * 1103515245u + 12345u;
    img.pixels.push_back(static_cast<std::uint8_t>((seed >> 16) % 16));
  }
  const QImage back = decode(pm::pictures::encodeGif(img));
  ASSERT_FALSE(back.isNull());
  ASSERT_EQ(back.width(), 300);
  ASSERT_EQ(back.height(), 200);
  for (int y = 0; y < img.height; y += 7)
    for (int x = 0; x < img.width; x += 3) {
      const auto& c = img.palette[img.pixels[y * img.width + x]];
      const QRgb p = back.pixel(x, y);
      ASSERT_EQ(qRed(p), c[0]) << x << "," << y;
      ASSERT_EQ(qGreen(p), c[1]);
      ASSERT_EQ(qBlue(p), c[2]);
    }
}

TEST(GifWriter, UniformAndTinyImages) {
  pm::pictures::PaletteImage img;
  img.width = 1;
  img.height = 1;
  img.palette = {{0, 0, 0}, {255, 255, 255}};
  img.pixels = {1};
  QImage back = decode(pm::pictures::encodeGif(img));
  ASSERT_FALSE(back.isNull());
  EXPECT_EQ(back.pixel(0, 0), qRgb(255, 255, 255));

  img.width = 640;
  img.height = 480;
  img.pixels.assign(640 * 480, 0);
  back = decode(pm::pictures::encodeGif(img));
  ASSERT_FALSE(back.isNull());
  EXPECT_EQ(back.pixel(639, 479), qRgb(0, 0, 0));
}

TEST(HelpPictures, RenderedSourceHasTextAndFitsTheDrawingArea) {
  const QImage image = pm::pictures::renderHelpPicture("# Titel\n## Gruppe\nF1|Hilfe ein / aus\n>>\n## Zweite\nA|Kurbel\n");
  EXPECT_EQ(image.width(), pm::pictures::kPictureWidth);
  EXPECT_EQ(image.height(), pm::pictures::kPictureHeight);
  int dark = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 100;
  EXPECT_GT(dark, 200);
  // The emblem's corner of the drawing area (top right) stays free.
  for (int y = 10; y < 75; ++y)
    for (int x = 835; x < 1010; ++x) ASSERT_GT(qGray(image.pixel(x, y)), 200) << x << "," << y;
}

}  // namespace

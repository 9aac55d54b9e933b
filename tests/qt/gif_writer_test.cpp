// The GIF writer: what it writes must decode to the same pixels, frame by
// frame, with the timing and looping of an animation; bad input is refused.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <set>

#include "draw/qt/gif_writer.h"
#include "help_pictures.h"
#include "qt/gif_decode.h"

namespace pm {

namespace {

QImage decode(const std::vector<std::uint8_t>& bytes) {
  QImage image;
  image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "GIF");
  return image;
}

TEST(GifWriter, RoundTripsPalettePixelsOfLargeAndTinyImages) {
  // 300 x 200 pseudo-random pixels over 16 colours: enough codes to fill the
  // 4096-entry dictionary several times.
  PaletteImage img;
  img.width = 300;
  img.height = 200;
  for (int i = 0; i < 16; ++i) img.palette.push_back({std::uint8_t(i * 16), std::uint8_t(255 - i * 16), 7});
  unsigned seed = 12345;
  for (int i = 0; i < img.width * img.height; ++i) {
    seed = seed * 1103515245u + 12345u;
    img.pixels.push_back(static_cast<std::uint8_t>((seed >> 16) % 16));
  }
  const QImage back = decode(encodeGif(img));  // Qt's own reader
  ASSERT_FALSE(back.isNull());
  ASSERT_EQ(back.size(), QSize(300, 200));
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const auto& c = img.palette[img.pixels[y * img.width + x]];
      ASSERT_EQ(back.pixel(x, y), qRgb(c[0], c[1], c[2])) << x << "," << y;
    }

  PaletteImage tiny;
  tiny.width = tiny.height = 1;
  tiny.palette = {{0, 0, 0}, {255, 255, 255}};
  tiny.pixels = {1};
  EXPECT_EQ(decode(encodeGif(tiny)).pixel(0, 0), qRgb(255, 255, 255));
  tiny.palette = {{9, 8, 7}};  // one colour: the table is padded to two
  tiny.pixels = {0};
  EXPECT_EQ(decode(encodeGif(tiny)).pixel(0, 0), qRgb(9, 8, 7));
  tiny.width = 640;
  tiny.height = 480;
  tiny.pixels.assign(640 * 480, 0);
  EXPECT_EQ(decode(encodeGif(tiny)).pixel(639, 479), qRgb(9, 8, 7));
}

TEST(GifWriter, TransparentIndexIsKept) {
  PaletteImage img;
  img.width = 4;
  img.height = 1;
  img.palette = {{255, 255, 255}, {0, 0, 255}};
  img.pixels = {0, 1, 1, 0};
  img.transparentIndex = 0;
  const QImage back = decode(encodeGif(img));
  ASSERT_FALSE(back.isNull());
  EXPECT_EQ(qAlpha(back.pixel(0, 0)), 0);
  EXPECT_EQ(back.pixel(1, 0), qRgb(0, 0, 255));
}

TEST(GifWriter, AnimationKeepsEveryFrameItsDelayAndLoops) {
  GifEncoder encoder(20, 10, true);
  std::vector<PaletteImage> frames;
  for (int f = 0; f < 5; ++f) {
    PaletteImage img;
    img.width = 20;
    img.height = 10;
    // Each frame its own palette, of a different size.
    for (int i = 0; i <= f + 1; ++i) img.palette.push_back({std::uint8_t(40 * i), std::uint8_t(f), 200});
    for (int i = 0; i < 200; ++i) img.pixels.push_back(static_cast<std::uint8_t>((i + f) % (f + 2)));
    ASSERT_TRUE(encoder.addFrame(img, 3)) << encoder.error();
    frames.push_back(img);
  }
  EXPECT_EQ(encoder.frameCount(), 5);
  const DecodedGif gif = decodeGif(encoder.finish());
  ASSERT_EQ(gif.frames.size(), 5u);
  EXPECT_TRUE(gif.loops);
  for (std::size_t f = 0; f < frames.size(); ++f) {
    EXPECT_EQ(gif.delays[f], 3);
    for (int i = 0; i < 200; ++i) {
      const auto& c = frames[f].palette[frames[f].pixels[static_cast<std::size_t>(i)]];
      ASSERT_EQ(gif.frames[f].pixel(i % 20, i / 20), qRgb(c[0], c[1], c[2])) << f << " " << i;
    }
  }
}

TEST(GifWriter, BadFramesAreRefusedWithAMessage) {
  PaletteImage img;
  img.width = 2;
  img.height = 2;
  img.palette = {{0, 0, 0}, {1, 1, 1}};
  img.pixels = {0, 1, 2, 0};  // 2 names no colour
  GifEncoder encoder(2, 2, true);
  EXPECT_FALSE(encoder.addFrame(img, 3));
  EXPECT_FALSE(encoder.error().empty());
  EXPECT_TRUE(encoder.finish().empty());

  img.pixels = {0, 1, 1};  // too few pixels
  EXPECT_TRUE(encodeGif(img).empty());
  img.pixels = {0, 1, 1, 0};
  img.palette.clear();
  EXPECT_TRUE(encodeGif(img).empty());
  img.width = 0;
  EXPECT_TRUE(encodeGif(img).empty());
  GifEncoder empty(3, 3, true);
  EXPECT_TRUE(empty.finish().empty());  // a file without a frame is no GIF
  EXPECT_FALSE(empty.error().empty());

  std::string error;
  EXPECT_FALSE(writeGif("/tmp/x.gif", img, error));
  EXPECT_FALSE(error.empty());
}

TEST(GifWriter, PicturesBecomePaletteImagesExactlyOrByMedianCut) {
  // Few colours: kept exactly.
  QImage few(30, 20, QImage::Format_RGB32);
  few.fill(qRgb(255, 255, 255));
  for (int x = 0; x < 30; ++x) few.setPixel(x, 5, qRgb(255, 128, 128));
  const PaletteImage exact = toPaletteImage(few);
  ASSERT_EQ(exact.palette.size(), 2u);
  EXPECT_EQ(decode(encodeGif(exact)), few.convertToFormat(decode(encodeGif(exact)).format()));

  // An antialiased picture of a few flat colours with blended edges (more than
  // 256 colours): the flat colours stay exact, every pixel stays near its own.
  QImage drawn(200, 120, QImage::Format_RGB32);
  drawn.fill(qRgb(255, 255, 255));
  {
    QPainter p(&drawn);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 40; ++i) {
      p.setPen(QPen(QColor(255 - i * 3, 128, 128 + i * 3), 1.0 + i % 4));
      p.drawLine(QPointF(i * 5.3, 0), QPointF(200 - i * 2.1, 120));
    }
    p.fillRect(QRect(10, 10, 30, 30), QColor(255, 128, 255));
  }
  std::set<QRgb> colours;
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) colours.insert(drawn.pixel(x, y));
  ASSERT_GT(colours.size(), 256u);
  const PaletteImage cut = toPaletteImage(drawn);
  EXPECT_EQ(cut.palette.size(), 256u);
  const QImage back = decode(encodeGif(cut));
  ASSERT_EQ(back.size(), drawn.size());
  EXPECT_EQ(back.pixel(0, 119), qRgb(255, 255, 255));
  EXPECT_EQ(back.pixel(20, 20), qRgb(255, 128, 255));
  int worst = 0;
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) {
      const QRgb a = drawn.pixel(x, y), b = back.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                        std::abs(qBlue(a) - qBlue(b))});
    }
  EXPECT_LE(worst, 40);
  // The same picture gives the same palette image (animations of the window
  // and of the renderer agree frame by frame).
  const PaletteImage again = toPaletteImage(drawn);
  EXPECT_EQ(again.pixels, cut.pixels);
  EXPECT_EQ(again.palette, cut.palette);
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
}  // namespace pm

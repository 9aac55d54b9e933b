// The Qt painter backend: rendered pixels, scaling, fonts, PNG and SVG output.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <numbers>

#include "draw/colour_tables.h"
#include "draw/drawing_ops.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/qt_fonts.h"
#include "draw/recording_canvas.h"
#include "script/engine.h"

namespace pm {
namespace {

constexpr double kPi = std::numbers::pi;

// Colour of the image pixel under the drawing-unit point (x, y) of a picture
// rendered at `scale` image pixels per unit.
QColor at(const QImage& image, double x, double y, double scale = 1) {
  return image.pixelColor(static_cast<int>(x * scale), static_cast<int>((y - 40) * scale));
}

bool near(const QColor& c, Rgb want, int tolerance = 8) {
  return std::abs(c.red() - want.r) <= tolerance && std::abs(c.green() - want.g) <= tolerance &&
         std::abs(c.blue() - want.b) <= tolerance;
}

const Rgb kWhite = rgb(255, 255, 255);

class PictureTest : public ::testing::Test {
 protected:
  PictureTest() : canvas(qtFontMetrics()), ops(engine, canvas) {
    engine.setDrawingHook(&ops);
    engine.setTextOutput(&canvas);
    engine.beginCommand();
    ops.beginCommand();
    ops.palette = buildPalette(128, 196, 256, kWhite);
  }
  Engine engine;
  RecordingCanvas canvas;
  DrawingOps ops;
};

TEST_F(PictureTest, RenderedScriptShowsItsColoursWhereTheyBelong) {
  engine.reg.setPoint(U'A', {100, 100});
  engine.reg.setPoint(U'a', {200, 100});
  engine.reg.setPoint(U'P', {500, 400});
  engine.reg.setPoint(U'Q', {600, 400});
  engine.reg.setPoint(U'R', {500, 300});
  engine.reg.setPoint(U'S', {580, 400});
  engine.run(U"67>k8Aa:61(n20QPRS:65.m38Q");
  ASSERT_TRUE(engine.errors().empty());
  const QImage image = renderImage(canvas.list(), nullptr);
  ASSERT_EQ(image.size(), QSize(1022, 691));

  EXPECT_TRUE(near(at(image, 130, 101), fixedColour(10))) << "green shaft beside its core line";
  EXPECT_TRUE(near(at(image, 130, 100), rgb(0, 0, 0))) << "black core line";
  EXPECT_TRUE(near(at(image, 190, 100), fixedColour(10))) << "arrowhead filled green";
  EXPECT_TRUE(near(at(image, 210, 100), kWhite)) << "nothing beyond the tip";
  // The sector between 0° and 90° about P with radius 80, filled RGB(50, 255, 50).
  EXPECT_TRUE(near(at(image, 540, 360), rgb(50, 255, 50)));
  EXPECT_TRUE(near(at(image, 460, 440), kWhite)) << "the opposite quarter stays empty";
  // The point circle: red outline (fixed "m") around a white disc.
  EXPECT_TRUE(near(at(image, 600, 400), kWhite));
  EXPECT_TRUE(near(at(image, 608, 400), fixedColour(12), 60));
}

TEST(PainterBackend, ScalesWithTheTargetAndTheDevicePixelRatio) {
  RecordingCanvas c;
  c.setLineWidth(4);
  c.line(100, 200, 300, 200, rgb(255, 0, 0));
  const QImage big = renderImage(c.list(), nullptr, QSize(2044, 1382));
  EXPECT_TRUE(near(at(big, 200, 201, 2), rgb(255, 0, 0)));
  EXPECT_TRUE(near(at(big, 200, 206, 2), kWhite)) << "4 units wide means 8 pixels at scale 2";

  const QImage hiDpi = renderImage(c.list(), nullptr, QSize(1022, 691), 2);
  EXPECT_EQ(hiDpi.size(), QSize(2044, 1382));
  EXPECT_TRUE(near(at(hiDpi, 200, 201, 2), rgb(255, 0, 0)));
  EXPECT_TRUE(near(at(hiDpi, 320, 200, 2), kWhite));

  EXPECT_TRUE(renderImage(c.list(), nullptr, QSize(0, 10)).isNull());
  EXPECT_TRUE(renderImage(c.list(), nullptr, QSize(10, 10), std::nan("")).size() == QSize(10, 10));
}

// Points set text positions in the background colour; at any size and
// device-pixel ratio they fill exactly one device pixel.
TEST(PainterBackend, EdgePixelsAtAFractionalRatioShowTheBackground) {
  // 691 x 3.75 = 2591.25 rows: the last row lies mostly outside the drawing
  // area and must still be background, not uninitialised memory.
  for (int run = 0; run < 3; ++run) {
    const QImage image = renderImage({}, nullptr, QSize(1022, 691), 3.75, rgb(10, 200, 30));
    ASSERT_EQ(image.height(), 2592);
    for (const int y : {image.height() - 1, 0})
      for (int x = 0; x < image.width(); x += 7)
        ASSERT_EQ(image.pixelColor(x, y), QColor(10, 200, 30)) << x << "," << y;
    for (int y = 0; y < image.height(); y += 7)
      ASSERT_EQ(image.pixelColor(image.width() - 1, y), QColor(10, 200, 30)) << y;
  }
}

TEST(PainterBackend, PointsCoverOneDevicePixel) {
  Primitive point;
  point.kind = Primitive::Kind::Point;
  point.x1 = 300.4;
  point.y1 = 200.7;
  point.colour = rgb(255, 0, 0);
  struct Case {
    QSize size;
    qreal dpr;
  };
  for (const Case c : {Case{QSize(1022, 691), 1}, Case{QSize(4088, 2764), 1},
                       Case{QSize(1022, 691), 2}, Case{QSize(1533, 1036), 1.5}}) {
    const QImage image = renderImage({point}, nullptr, c.size, c.dpr);
    int touched = 0, full = 0;
    for (int y = 0; y < image.height(); ++y) {
      const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        if (row[x] == qRgb(255, 255, 255)) continue;
        ++touched;
        if (qRed(row[x]) == 255 && qGreen(row[x]) == 0) ++full;
      }
    }
    EXPECT_EQ(touched, 1) << c.size.width() << " at " << c.dpr;
    EXPECT_EQ(full, 1) << c.size.width() << " at " << c.dpr;
  }
}

TEST(PainterBackend, ArcsRunCounterclockwiseThroughZero) {
  RecordingCanvas c;
  c.setLineWidth(3);
  c.arc(500, 400, 100, rgb(0, 0, 255), 5.5, 0.5);
  const QImage image = renderImage(c.list(), nullptr);
  EXPECT_TRUE(near(at(image, 600, 400), rgb(0, 0, 255), 40)) << "passes through angle 0";
  EXPECT_TRUE(near(at(image, 400, 400), kWhite)) << "not through angle pi";
  EXPECT_TRUE(near(at(image, 500, 300), kWhite)) << "not through the top";
  const double a = 0.25;  // screen angle: above the centre on the right
  EXPECT_TRUE(
      near(at(image, 500 + 100 * std::cos(a), 400 - 100 * std::sin(a)), rgb(0, 0, 255), 60));
}

TEST(PainterBackend, HatchFillsLeaveGapsAndUpwardDiagonalsRiseToTheRight) {
  RecordingCanvas c;
  c.setFillStyle(kFillUpDiagonal);
  c.setFillColour(rgb(255, 0, 0));
  c.circle(300, 300, 100, rgb(0, 0, 0));
  const QImage image = renderImage(c.list(), nullptr);
  int red = 0, white = 0, rising = 0;
  for (int y = 240; y < 280; ++y) {
    for (int x = 280; x < 320; ++x) {
      const bool isRed = near(image.pixelColor(x, y), rgb(255, 0, 0), 30);
      red += isRed;
      white += near(image.pixelColor(x, y), kWhite, 30);
      if (isRed && near(image.pixelColor(x + 1, y - 1), rgb(255, 0, 0), 30)) ++rising;
    }
  }
  EXPECT_GT(red, 50);
  EXPECT_GT(white, 50);
  EXPECT_GT(rising, red / 2);
}

TEST(PainterBackend, ArialResolvesToAMetricCompatibleFontAndMetricsAgree) {
  for (const char* name : {"Arial", "Areal"}) {
    const QFontInfo info(pictureFont(name, 11));
    EXPECT_TRUE(info.family() == "Liberation Sans" || info.family() == "Arial")
        << name << " resolved to " << info.family().toStdString();
  }
  const FontMetrics& qt = qtFontMetrics();
  const FontMetrics& table = builtinArialMetrics();
  for (std::u32string_view text : {U"Polstrahlen", U"Winkel 123.45 ", U"Ä(B)''"}) {
    const double a = qt.width("Arial", 11, text), b = table.width("Arial", 11, text);
    EXPECT_NEAR(a, b, 0.02 * b) << "Qt and the built-in table disagree";
  }
  EXPECT_NEAR(qt.lineHeight("Arial", 11), table.lineHeight("Arial", 11), 1.0);
  // Size 11 is 14.67 drawing units: twice the size gives twice the width.
  EXPECT_NEAR(qt.width("Arial", 22, U"Hallo"), 2 * qt.width("Arial", 11, U"Hallo"), 0.05);
}

TEST(PainterBackend, TextHangsBelowAndRightOfItsPosition) {
  RecordingCanvas c(qtFontMetrics());
  c.setFont("Arial", 14);
  c.setTextColour(rgb(0, 0, 0));
  c.setTextPosition(100, 200);
  c.print(U"MMMM", false);
  const double right = c.textX();
  const QImage image = renderImage(c.list(), nullptr);
  int inside = 0, outside = 0;
  for (int y = 150; y < 260; ++y) {
    for (int x = 60; x < 220; ++x) {
      if (image.pixelColor(x, y).red() > 128) continue;
      const double ux = x + 0.5, uy = y + 40 + 0.5;
      if (ux >= 100 && ux <= right + 1 && uy >= 200 && uy <= 200 + 14 * 96.0 / 72.0 * 1.2)
        ++inside;
      else
        ++outside;
    }
  }
  EXPECT_GT(inside, 100);
  EXPECT_EQ(outside, 0);
}

TEST(PainterBackend, BadPrimitivesAreSkippedAndTheRestDrawn) {
  DisplayList list;
  Primitive bad;
  bad.kind = Primitive::Kind::Circle;
  bad.x1 = std::numeric_limits<double>::quiet_NaN();
  bad.r = 10;
  list.push_back(bad);
  bad.x1 = 1e300;
  list.push_back(bad);
  Primitive badText;
  badText.kind = Primitive::Kind::Text;
  badText.x1 = 10;
  badText.size = -4;
  badText.text.push_back(U'x');
  list.push_back(badText);
  Primitive good;
  good.kind = Primitive::Kind::FilledBox;
  good.x1 = 10;
  good.y1 = 50;
  good.x2 = 30;
  good.y2 = 70;
  good.colour = rgb(0, 0, 255);
  list.push_back(good);
  const QImage image = renderImage(list, nullptr);
  EXPECT_TRUE(near(at(image, 20, 60), rgb(0, 0, 255)));
}

TEST(PainterBackend, WritesPngAndSvgFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  RecordingCanvas c;
  c.setFillStyle(kFillSolid);
  c.setFillColour(rgb(255, 255, 0));
  c.circle(511, 385, 50, rgb(0, 0, 0));
  QImage background(40, 30, QImage::Format_RGB32);
  background.fill(QColor(0, 0, 255));

  const QString png = dir.filePath("picture.png");
  std::string error;
  ASSERT_TRUE(writePng(c.list(), &background, png.toStdString(), error)) << error;
  QImage read(png);
  ASSERT_EQ(read.size(), QSize(1022, 691));
  EXPECT_TRUE(near(at(read, 511, 385), rgb(255, 255, 0)));
  EXPECT_TRUE(near(at(read, 10, 50), rgb(0, 0, 255))) << "background picture at (0, 40)";
  EXPECT_TRUE(near(at(read, 50, 50), kWhite));

  const QString svg = dir.filePath("picture.svg");
  ASSERT_TRUE(writeSvg(c.list(), nullptr, svg.toStdString(), error)) << error;
  QFile f(svg);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray text = f.readAll();
  EXPECT_TRUE(text.contains("<svg"));
  EXPECT_TRUE(text.contains("#ffff00"));

  EXPECT_FALSE(writePng(c.list(), nullptr, dir.filePath("missing/dir/x.png").toStdString(), error));
  EXPECT_FALSE(writeSvg(c.list(), nullptr, dir.filePath("missing/dir/x.svg").toStdString(), error));
  EXPECT_EQ(error, "der Ordner existiert nicht");
}

}  // namespace
}  // namespace pm

// Small circles are blitted from cached stamps. The picture must look as if
// every circle had been painted by QPainter directly: at any scale, at any
// device-pixel ratio, at sub-pixel positions, inside the clip.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "draw/canvas.h"
#include "draw/display_list.h"
#include "draw/qt/dot_stamps.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/primitive_style.h"

namespace pm {
namespace {

Primitive dot(double x, double y, double r, double width, int fill, Rgb colour) {
  Primitive p;
  p.kind = Primitive::Kind::Circle;
  p.x1 = x;
  p.y1 = y;
  p.r = r;
  p.width = width;
  p.fillStyle = fill;
  p.colour = colour;
  p.fillColour = colour;
  return p;
}

// Dots of several sizes and both fills at positions that fall between pixels
// at every scale used below; every tenth is a joint circle (radius 5 … 12,
// outline 1 or 4), which is stamped at the larger scales only.
DisplayList scatteredDots() {
  DisplayList list;
  const Rgb colours[] = {rgb(255, 0, 0), rgb(0, 0, 160), rgb(0, 128, 0)};
  for (int i = 0; i < 300; ++i) {
    const double x = 60 + std::fmod(i * 37.31, 900.0);
    const double y = 80 + std::fmod(i * 23.17, 600.0);
    const bool joint = i % 10 == 9;
    const double r = joint ? 5 + i % 8 : 1 + i % 3;
    const double width = joint ? 1 + 3 * ((i / 10) % 2) : 1 + (i / 3) % 2;
    const int fill = i % 5 == 0 ? kFillTransparent : kFillSolid;
    list.push_back(dot(x, y, r, width, fill, colours[i % 3]));
  }
  return list;
}

// The same picture painted circle by circle, as the backend did before stamps.
QImage paintedDirectly(const DisplayList& list, QSize size, double dpr) {
  QImage image(QSize(std::ceil(size.width() * dpr), std::ceil(size.height() * dpr)),
               QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(dpr);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setTransform(userScaleTransform(fittedScaleRect(QRectF(QPointF(0, 0), QSizeF(size)))));
  painter.translate(0.5, 0.5);
  painter.setRenderHint(QPainter::Antialiasing, true);
  for (const Primitive& p : list) paintCircle(painter, p, std::fabs(p.r));
  painter.end();
  return image;
}

// Largest channel difference, and the summed ink (darkness) of both images.
struct Comparison {
  int largest = 0;
  double inkA = 0, inkB = 0;
};

Comparison compare(const QImage& a, const QImage& b) {
  Comparison c;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      c.largest = std::max({c.largest, std::abs(p.red() - q.red()),
                            std::abs(p.green() - q.green()), std::abs(p.blue() - q.blue())});
      c.inkA += 765 - p.red() - p.green() - p.blue();
      c.inkB += 765 - q.red() - q.green() - q.blue();
    }
  return c;
}

TEST(DotStamps, LookLikeCirclesPaintedOneByOneAtEveryScale) {
  const DisplayList list = scatteredDots();
  struct Case {
    QSize size;
    double dpr;
  };
  for (const Case& c : {Case{{1022, 691}, 1}, Case{{1533, 1036}, 1}, Case{{700, 480}, 1},
                        Case{{1022, 691}, 2}, Case{{811, 700}, 1.25}}) {
    SCOPED_TRACE(testing::Message() << c.size.width() << "x" << c.size.height() << " @" << c.dpr);
    const QImage stamped = renderImage(list, nullptr, c.size, c.dpr);
    const QImage direct = paintedDirectly(list, c.size, c.dpr);
    ASSERT_EQ(stamped.size(), direct.size());
    const Comparison d = compare(stamped, direct);
    // A stamp sits within an eighth of a pixel of the exact place: edge
    // pixels may differ a little, the dots themselves not.
    EXPECT_LT(d.largest, 80);
    EXPECT_NEAR(d.inkA, d.inkB, 0.005 * d.inkB);
    EXPECT_GT(d.inkB, 0);
  }
}

TEST(DotStamps, RoundEndsOfWideLinesLookAsPaintedDiscs) {
  // Wide lines end in discs; from stamps they must look as the discs painted
  // by QPainter, including where lines of a polygon meet.
  DisplayList list;
  for (int i = 0; i < 120; ++i) {
    Primitive line;
    line.kind = Primitive::Kind::Line;
    line.x1 = 80 + std::fmod(i * 41.7, 850.0);
    line.y1 = 90 + std::fmod(i * 29.3, 560.0);
    line.x2 = line.x1 + 30 * std::cos(i * 0.7);
    line.y2 = line.y1 + 30 * std::sin(i * 0.7);
    line.width = 2 + i % 5;
    line.colour = i % 2 ? rgb(0, 0, 255) : rgb(200, 0, 0);
    list.push_back(line);
  }
  for (const double dpr : {1.0, 2.0, 3.75}) {
    SCOPED_TRACE(dpr);
    const QSize size(1022, 691);
    const QImage stamped = renderImage(list, nullptr, size, dpr);
    QImage direct(stamped.size(), QImage::Format_ARGB32_Premultiplied);
    direct.setDevicePixelRatio(dpr);
    direct.fill(Qt::white);
    QPainter painter(&direct);
    painter.setTransform(userScaleTransform(fittedScaleRect(QRectF(QPointF(0, 0), QSizeF(size)))));
    painter.translate(0.5, 0.5);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const Primitive& p : list) {
      QPen pen = outlinePen(p);
      pen.setCapStyle(Qt::FlatCap);
      painter.setPen(pen);
      painter.drawLine(QPointF(p.x1, p.y1), QPointF(p.x2, p.y2));
      painter.setPen(Qt::NoPen);
      painter.setBrush(pen.color());
      painter.drawEllipse(QPointF(p.x1, p.y1), p.width / 2, p.width / 2);
      painter.drawEllipse(QPointF(p.x2, p.y2), p.width / 2, p.width / 2);
    }
    painter.end();
    const Comparison d = compare(stamped, direct);
    EXPECT_LT(d.largest, 80);
    EXPECT_NEAR(d.inkA, d.inkB, 0.005 * d.inkB);
    EXPECT_GT(d.inkB, 0);
  }
  EXPECT_TRUE(DotStamps::suitsDisc(3, QTransform::fromScale(3, 3)));
  EXPECT_FALSE(DotStamps::suitsDisc(30, QTransform::fromScale(3, 3))) << "large discs are painted";
}

TEST(DotStamps, OnlySmallPlainCirclesAreStamped) {
  const QTransform unit;
  const QTransform doubled = QTransform::fromScale(2, 2);
  EXPECT_TRUE(DotStamps::suits(dot(10, 10, 2, 1, kFillSolid, rgb(0, 0, 0)), unit));
  EXPECT_TRUE(DotStamps::suits(dot(10, 10, 2, 1, kFillTransparent, rgb(0, 0, 0)), unit));
  EXPECT_FALSE(DotStamps::suits(dot(10, 10, 2, 1, kFillCross, rgb(0, 0, 0)), unit))
      << "hatches are anchored to the device";
  EXPECT_TRUE(DotStamps::suits(dot(10, 10, 10, 4, kFillSolid, rgb(0, 0, 0)), doubled))
      << "a joint circle on a large screen";
  EXPECT_FALSE(DotStamps::suits(dot(10, 10, 45, 1, kFillSolid, rgb(0, 0, 0)), unit));
  EXPECT_FALSE(DotStamps::suits(dot(10, 10, 20, 1, kFillSolid, rgb(0, 0, 0)), doubled))
      << "a dot grows with the window and is painted once it is large";
  EXPECT_FALSE(DotStamps::suits(dot(10, 10, std::nan(""), 1, kFillSolid, rgb(0, 0, 0)), unit));
  Primitive line = dot(10, 10, 2, 1, kFillSolid, rgb(0, 0, 0));
  line.kind = Primitive::Kind::Line;
  EXPECT_FALSE(DotStamps::suits(line, unit));
}

TEST(DotStamps, StayInsideTheTargetAndLeaveTheTransformAsItWas) {
  // A dot on the edge of a target that is only part of the image: nothing of it
  // may fall outside the target, and what is drawn after it is drawn in
  // drawing units again.
  QImage image(400, 400, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  const QRectF target(100, 100, 200, 200);
  Primitive edge = dot(0.5, 300, 6, 1, kFillSolid, rgb(255, 0, 0));  // at the left border
  Primitive box;
  box.kind = Primitive::Kind::FilledBox;
  box.x1 = 500;
  box.y1 = 380;
  box.x2 = 520;
  box.y2 = 400;
  box.colour = rgb(0, 0, 255);
  paintDisplayList(painter, {edge, box}, target);
  painter.end();
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(image.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
  // The box (drawing units 500…520, 380…400) lands near the target's middle.
  const double sx = 200.0 / 1022, sy = 200.0 / 691;
  EXPECT_EQ(image.pixelColor(100 + static_cast<int>(510 * sx), 100 + static_cast<int>(350 * sy)),
            QColor(0, 0, 255));
}

}  // namespace
}  // namespace pm

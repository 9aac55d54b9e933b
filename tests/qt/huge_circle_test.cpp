// Circles and arcs far larger than the picture (links of 99999 units) draw
// exactly what is visible of them: their radius lines, their fill, no curve.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "draw/display_list.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/primitive_style.h"

namespace {

pm::Primitive hugeSector(double r) {
  pm::Primitive p;
  p.kind = pm::Primitive::Kind::Arc;
  p.x1 = 350;
  p.y1 = 420;
  p.r = r;
  p.start = 4.71238898038469;  // straight down
  p.end = 6.2;
  p.edgeStart = p.edgeEnd = true;
  p.colour = pm::rgb(255, 0, 0);
  p.width = 3;
  p.fillStyle = 0;
  p.fillColour = pm::rgb(0, 0, 255);
  return p;
}

TEST(HugeCircles, SectorLargerThanThePictureShowsItsEdgesAndFill) {
  const QImage huge = pm::renderImage({hugeSector(99999)}, nullptr);
  const QImage large = pm::renderImage({hugeSector(5000)}, nullptr);
  ASSERT_FALSE(huge.isNull());
  // The radius line runs straight down from the centre; the fill lies to its right.
  EXPECT_EQ(QColor(huge.pixel(350, 600 - 40)).red(), 255);
  EXPECT_EQ(QColor(huge.pixel(600, 650 - 40)).blue(), 255);
  // Both radii show the same picture: the curve is outside it either way.
  int differing = 0;
  for (int y = 0; y < huge.height(); y += 3)
    for (int x = 0; x < huge.width(); x += 3) differing += huge.pixel(x, y) != large.pixel(x, y);
  EXPECT_LT(differing, 40);
}

TEST(HugeCircles, CircleAroundThePictureFillsIt) {
  pm::Primitive c = hugeSector(99999);
  c.kind = pm::Primitive::Kind::Circle;
  const QImage image = pm::renderImage({c}, nullptr);
  EXPECT_EQ(QColor(image.pixel(10, 10)).blue(), 255);
  EXPECT_EQ(QColor(image.pixel(1000, 680)).blue(), 255);
}

// Only the pieces of a large circle that can show are drawn; the picture is
// the one of the whole curve drawn directly.
TEST(HugeCircles, CutCirclesAndArcsShowWhatTheWholeCurveShows) {
  auto whole = [](const pm::Primitive& p) {
    QImage image(QSize(1022, 691), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setTransform(pm::userScaleTransform(QRectF(0, 0, 1022, 691)));
    painter.translate(0.5, 0.5);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(pm::outlinePen(p));
    painter.setBrush(Qt::NoBrush);
    const double r = p.r;
    QPainterPath path;
    const double sweep = pm::arcSweep(p);
    path.arcMoveTo(QRectF(p.x1 - r, p.y1 - r, 2 * r, 2 * r), p.start * 180 / M_PI);
    path.arcTo(QRectF(p.x1 - r, p.y1 - r, 2 * r, 2 * r), p.start * 180 / M_PI,
               (p.kind == pm::Primitive::Kind::Circle ? 2 * M_PI : sweep) * 180 / M_PI);
    painter.drawPath(path);
    painter.end();
    return image;
  };
  pm::Primitive circle;
  circle.kind = pm::Primitive::Kind::Circle;
  circle.x1 = -2000;
  circle.y1 = 300;
  circle.r = 2600;
  circle.width = 2;
  circle.colour = pm::rgb(0, 0, 255);
  pm::Primitive arc = circle;
  arc.kind = pm::Primitive::Kind::Arc;
  arc.x1 = 500;
  arc.y1 = -3500;
  arc.r = 3900;
  arc.start = 4.2;
  arc.end = 5.3;
  pm::Primitive corner = circle;  // a circle through two edges of the picture
  corner.x1 = 1100;
  corner.y1 = 20;
  corner.r = 400;
  for (const pm::Primitive& p : {circle, arc, corner}) {
    const QImage cut = pm::renderImage({p}, nullptr).convertToFormat(QImage::Format_RGB32);
    const QImage reference = whole(p).convertToFormat(QImage::Format_RGB32);
    int ink = 0, differing = 0;
    for (int y = 0; y < cut.height(); ++y)
      for (int x = 0; x < cut.width(); ++x) {
        ink += qRed(reference.pixel(x, y)) < 128;
        differing += std::abs(qRed(cut.pixel(x, y)) - qRed(reference.pixel(x, y))) > 48;
      }
    EXPECT_GT(ink, 300) << p.x1;
    EXPECT_LT(differing, ink / 50 + 4) << p.x1;
  }
}

}  // namespace

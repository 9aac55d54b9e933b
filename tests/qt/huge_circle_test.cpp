// Circles and arcs far larger than the picture (links of 99999 units) draw
// exactly what is visible of them: their radius lines, their fill, no curve.
#include <gtest/gtest.h>

#include <QImage>

#include "draw/display_list.h"
#include "draw/qt/painter_backend.h"

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

}  // namespace

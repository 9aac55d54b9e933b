// Large outlines are filled in bands of device rows. The bands together must
// paint what QPainter paints for the figure in one piece: no seams between
// bands, nothing lost or doubled where a contour leaves a band and returns.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "draw/canvas.h"
#include "draw/display_list.h"
#include "draw/qt/banded_fill.h"
#include "draw/qt/painter_backend.h"
#include "draw/qt/primitive_style.h"

namespace pm {
namespace {

Primitive arc(double x, double y, double r, double start, double end, bool edges, double width,
              int fill, Rgb colour) {
  Primitive p;
  p.kind = Primitive::Kind::Arc;
  p.x1 = x;
  p.y1 = y;
  p.r = r;
  p.start = start;
  p.end = end;
  p.edgeStart = p.edgeEnd = edges;
  p.width = width;
  p.fillStyle = fill;
  p.colour = colour;
  p.fillColour = rgb(200, 220, 255);
  return p;
}

struct Difference {
  int largest = 0;
  long differing = 0;  // pixels more than 48 apart in a channel
  double inkA = 0, inkB = 0;
};

Difference compare(const QImage& a, const QImage& b) {
  Difference d;
  for (int y = 0; y < a.height(); ++y) {
    const QRgb* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const QRgb* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      const int m = std::max({std::abs(qRed(p[x]) - qRed(q[x])), std::abs(qGreen(p[x]) - qGreen(q[x])),
                              std::abs(qBlue(p[x]) - qBlue(q[x]))});
      d.largest = std::max(d.largest, m);
      if (m > 48) ++d.differing;
      d.inkA += 765 - qRed(p[x]) - qGreen(p[x]) - qBlue(p[x]);
      d.inkB += 765 - qRed(q[x]) - qGreen(q[x]) - qBlue(q[x]);
    }
  }
  return d;
}

// What QPainter draws for the same figures in one piece each.
QImage paintedWhole(const DisplayList& list, QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setTransform(userScaleTransform(fittedScaleRect(QRectF(QPointF(0, 0), QSizeF(size)))));
  painter.translate(0.5, 0.5);
  painter.setRenderHint(QPainter::Antialiasing, true);
  for (const Primitive& p : list) {
    const QPointF c(p.x1, p.y1);
    const QRectF box(c.x() - p.r, c.y() - p.r, 2 * p.r, 2 * p.r);
    const double rad = 180 / std::numbers::pi;
    QPainterPath path;
    if (p.edgeStart) {
      path.moveTo(c);
      path.arcTo(box, p.start * rad, arcSweep(p) * rad);
      path.closeSubpath();
    } else {
      path.arcMoveTo(box, p.start * rad);
      path.arcTo(box, p.start * rad, arcSweep(p) * rad);
    }
    painter.setPen(outlinePen(p));
    painter.setBrush(p.edgeStart ? fillBrush(p.fillStyle, p.fillColour) : QBrush(Qt::NoBrush));
    painter.drawPath(path);
  }
  painter.end();
  return image;
}

TEST(BandedFill, WideArcsAndSectorsLookAsPaintedInOnePiece) {
  // Rings as wide as the picture, thin and wide, closed and open, a sector with
  // a solid fill, and arcs whose ends fall inside bands; all inside the picture,
  // so that nothing is cut away before painting.
  const double pi = std::numbers::pi;
  const DisplayList list{arc(400, 380, 280, pi / 2, pi / 2, true, 10, kFillTransparent, rgb(196, 196, 128)),
                         arc(400, 380, 280, pi / 2, pi / 2, false, 6, kFillTransparent, rgb(255, 255, 0)),
                         arc(600, 400, 200, 0.3, 2.9, false, 1, kFillTransparent, rgb(255, 0, 0)),
                         arc(650, 420, 150, 4.0, 5.9, true, 3, kFillSolid, rgb(0, 0, 160)),
                         arc(300, 300, 120, 1.0, 0.5, false, 20, kFillTransparent, rgb(0, 128, 0))};
  for (const QSize size : {QSize(3840, 2160), QSize(1920, 1080)}) {
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
    const QImage banded = renderImage(list, nullptr, size);
    const QImage whole = paintedWhole(list, size);
    ASSERT_EQ(banded.size(), whole.size());
    const Difference d = compare(banded.convertToFormat(QImage::Format_ARGB32),
                                 whole.convertToFormat(QImage::Format_ARGB32));
    // Curves are flattened a little differently and joins may differ at a
    // pixel or two; a seam, a lost band or a stray radius line would show as
    // rows of pixels far apart.
    EXPECT_LT(d.differing, 20);
    EXPECT_NEAR(d.inkA, d.inkB, 0.002 * d.inkB);
    EXPECT_GT(d.inkB, 0);
  }
}

TEST(BandedFill, ContoursThatLeaveABandAndReturnKeepTheirHoles) {
  // A ring (outer contour and a hole) and a comb whose teeth leave a band and
  // come back through the same side: each band must hold exactly the figure's
  // pixels of its rows, and the hole stays empty.
  QPainterPath outline;
  outline.setFillRule(Qt::WindingFill);
  outline.addEllipse(QPointF(200, 200), 150, 150);
  QPainterPath hole;
  hole.addEllipse(QPointF(200, 200), 100, 100);
  outline.addPath(hole.toReversed());  // winding 0 inside the hole
  QPainterPath comb;
  comb.moveTo(420, 50);
  for (int i = 0; i < 8; ++i) {
    comb.lineTo(430 + 20 * i, 50);
    comb.lineTo(430 + 20 * i, 340 - 7.3 * i);
    comb.lineTo(440 + 20 * i, 340 - 7.3 * i);
    comb.lineTo(440 + 20 * i, 50);
  }
  comb.lineTo(600, 50);
  comb.lineTo(600, 30.4);
  comb.lineTo(420, 30.4);
  comb.closeSubpath();
  outline.addPath(comb);
  const QBrush brush(QColor(0, 0, 0));
  for (const QTransform& device : {QTransform(), QTransform::fromScale(2.37, 2.37)}) {
    SCOPED_TRACE(device.m11());
    const QSize size(static_cast<int>(640 * device.m11()), static_cast<int>(400 * device.m11()));
    QImage banded(size, QImage::Format_ARGB32), whole(size, QImage::Format_ARGB32);
    banded.fill(Qt::white);
    whole.fill(Qt::white);
    {
      QPainter painter(&banded);
      painter.setRenderHint(QPainter::Antialiasing, true);
      fillInBands(painter, outline, device, brush);
    }
    {
      QPainter painter(&whole);
      painter.setRenderHint(QPainter::Antialiasing, true);
      painter.setTransform(device);
      painter.fillPath(outline, brush);
    }
    const Difference d = compare(banded, whole);
    EXPECT_LT(d.largest, 64);
    EXPECT_LT(d.differing, 8);
    EXPECT_NEAR(d.inkA, d.inkB, 0.002 * d.inkB);
    EXPECT_EQ(banded.pixelColor(device.map(QPointF(200, 200)).toPoint()), QColor(Qt::white))
        << "the hole of the ring";
    EXPECT_EQ(banded.pixelColor(device.map(QPointF(200, 75)).toPoint()), QColor(Qt::black));
  }
}

TEST(BandedFill, OnlyTallFiguresAreBanded) {
  EXPECT_FALSE(worthBanding(QRectF(0, 0, 4000, 100)));
  EXPECT_TRUE(worthBanding(QRectF(0, 0, 20, 400)));
}

}  // namespace
}  // namespace pm

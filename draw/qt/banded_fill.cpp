#include "draw/qt/banded_fill.h"

#include <QtGui/QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace pm {
namespace {

// Largest distance, in device pixels, of a flattened curve from the curve.
constexpr double kFlatness = 0.05;

using Contour = std::vector<QPointF>;

// Appends the cubic from a to d (controls b, c) as a polyline without its
// first point: as many equal steps in the parameter as keep every chord
// within kFlatness of the curve.
void flattenCubic(Contour& out, QPointF a, QPointF b, QPointF c, QPointF d) {
  const QPointF e1 = a - 2 * b + c, e2 = b - 2 * c + d;
  const double bend = std::max(std::hypot(e1.x(), e1.y()), std::hypot(e2.x(), e2.y()));
  const int steps = std::clamp(static_cast<int>(std::ceil(std::sqrt(0.75 * bend / kFlatness))), 1, 1000);
  for (int i = 1; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps, s = 1 - t;
    out.push_back(s * s * s * a + 3 * s * s * t * b + 3 * s * t * t * c + t * t * t * d);
  }
}

// The closed contours of the path in device pixels, curves flattened.
std::vector<Contour> contoursOf(const QPainterPath& path, const QTransform& device) {
  std::vector<Contour> contours;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    const QPointF p = device.map(QPointF(e.x, e.y));
    if (e.type == QPainterPath::MoveToElement || contours.empty()) {
      contours.emplace_back();
      contours.back().push_back(p);
    } else if (e.type == QPainterPath::LineToElement) {
      contours.back().push_back(p);
    } else if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
      const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
      flattenCubic(contours.back(), contours.back().back(), p, device.map(QPointF(c2.x, c2.y)),
                   device.map(QPointF(end.x, end.y)));
      i += 2;
    }
  }
  return contours;
}

}  // namespace

bool worthBanding(const QRectF& deviceBounds) { return deviceBounds.height() > 128; }

void fillInBands(QPainter& painter, const QPainterPath& outline, const QTransform& device,
                 const QBrush& brush) {
  const std::vector<Contour> contours = contoursOf(outline, device);
  double top = INFINITY, bottom = -INFINITY;
  for (const Contour& c : contours)
    for (const QPointF& p : c) {
      top = std::min(top, p.y());
      bottom = std::max(bottom, p.y());
    }
  if (!(top < bottom) || bottom - top > 1e6) return;
  const double first = std::floor(top);
  const int bands = static_cast<int>(std::ceil((bottom - first) / kBandRows)) + 1;
  std::vector<QPainterPath> paths(bands);
  std::vector<Contour> pieces(bands);
  for (QPainterPath& p : paths) p.setFillRule(Qt::WindingFill);

  // Every edge that is not horizontal adds its part within a band to that
  // band's piece of the contour. Between two such parts the contour runs
  // outside the band and returns on the same side, or runs horizontally: the
  // straight join of the parts is horizontal too and, like any horizontal
  // edge, adds nothing to the coverage.
  auto bandTop = [&](int b) { return first + static_cast<double>(b) * kBandRows; };
  for (const Contour& c : contours) {
    if (c.size() < 3) continue;
    for (std::size_t i = 0; i < c.size(); ++i) {
      const QPointF a = c[i], z = c[(i + 1) % c.size()];
      if (a.y() == z.y()) continue;
      const double lo = std::min(a.y(), z.y()), hi = std::max(a.y(), z.y());
      const int b0 = std::clamp(static_cast<int>((lo - first) / kBandRows), 0, bands - 1);
      const int b1 = std::clamp(static_cast<int>((hi - first) / kBandRows), 0, bands - 1);
      for (int b = b0; b <= b1; ++b) {
        const double y0 = std::max(lo, bandTop(b)), y1 = std::min(hi, bandTop(b + 1));
        if (!(y0 < y1)) continue;
        auto at = [&](double y) {
          if (y == a.y()) return a;
          if (y == z.y()) return z;
          return QPointF(a.x() + (z.x() - a.x()) * (y - a.y()) / (z.y() - a.y()), y);
        };
        const bool down = z.y() > a.y();
        const QPointF from = at(down ? y0 : y1), to = at(down ? y1 : y0);
        Contour& piece = pieces[b];
        if (piece.empty() || piece.back() != from) piece.push_back(from);
        piece.push_back(to);
      }
    }
    for (int b = 0; b < bands; ++b) {
      Contour& piece = pieces[b];
      if (piece.size() >= 2) {
        paths[b].moveTo(piece[0]);
        for (std::size_t k = 1; k < piece.size(); ++k) paths[b].lineTo(piece[k]);
        paths[b].closeSubpath();
      }
      piece.clear();
    }
  }
  for (const QPainterPath& p : paths)
    if (!p.isEmpty()) painter.fillPath(p, brush);
}

}  // namespace pm

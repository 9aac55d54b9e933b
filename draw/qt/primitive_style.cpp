#include "draw/qt/primitive_style.h"

#include <QtGui/QPainter>
#include <algorithm>

#include "draw/canvas.h"

namespace pm {

QBrush fillBrush(int style, Rgb colour) {
  const QColor c = toQColor(colour);
  switch (style) {
    case kFillSolid:
      return QBrush(c, Qt::SolidPattern);
    case kFillHorizontal:
      return QBrush(c, Qt::HorPattern);
    case kFillVertical:
      return QBrush(c, Qt::VerPattern);
    case kFillUpDiagonal:
      return QBrush(c, Qt::BDiagPattern);  // "/"
    case kFillDownDiagonal:
      return QBrush(c, Qt::FDiagPattern);  // "\"
    case kFillCross:
      return QBrush(c, Qt::CrossPattern);
    case kFillDiagonalCross:
      return QBrush(c, Qt::DiagCrossPattern);
    default:
      return QBrush(Qt::NoBrush);
  }
}

double outlineWidth(const Primitive& p) { return std::clamp(p.width, 1.0, 1000.0); }

QPen outlinePen(const Primitive& p) {
  return QPen(toQColor(p.colour), outlineWidth(p), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void paintCircle(QPainter& painter, const Primitive& p, double radius) {
  painter.setPen(outlinePen(p));
  painter.setBrush(fillBrush(p.fillStyle, p.fillColour));
  painter.drawEllipse(QPointF(p.x1, p.y1), radius, radius);
}

}  // namespace pm

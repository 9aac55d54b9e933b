#include "shell/qt/user_scale.h"

#include <algorithm>

#include "draw/canvas.h"
#include "draw/qt/painter_backend.h"

namespace pm {

namespace {
constexpr double kScaleWidth = kScaleRight - kScaleLeft;
constexpr double kScaleHeight = kScaleBottom - kScaleTop;
}  // namespace

QRectF userScaleRect(const QSizeF& widgetSize) {
  return fittedScaleRect(QRectF(QPointF(0, 0), widgetSize));
}

double widgetPixelsPerUnit(const QRectF& scaleRect) {
  return scaleRect.isEmpty() ? 0.0 : scaleRect.width() / kScaleWidth;
}

QPointF widgetToDrawing(const QPointF& widgetPoint, const QRectF& scaleRect) {
  const double unit = widgetPixelsPerUnit(scaleRect);
  if (unit <= 0) return QPointF(kScaleLeft, kScaleTop);
  return QPointF(kScaleLeft + (widgetPoint.x() - scaleRect.left()) / unit,
                 kScaleTop + (widgetPoint.y() - scaleRect.top()) / unit);
}

QPointF drawingToWidget(const QPointF& drawingPoint, const QRectF& scaleRect) {
  const double unit = widgetPixelsPerUnit(scaleRect);
  return QPointF(scaleRect.left() + (drawingPoint.x() - kScaleLeft) * unit,
                 scaleRect.top() + (drawingPoint.y() - kScaleTop) * unit);
}

}  // namespace pm

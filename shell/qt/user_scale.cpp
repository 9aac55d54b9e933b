#include "shell/qt/user_scale.h"

#include <algorithm>

#include "draw/canvas.h"

namespace pm {

namespace {
constexpr double kScaleWidth = kScaleRight - kScaleLeft;
constexpr double kScaleHeight = kScaleBottom - kScaleTop;
}  // namespace

QRectF userScaleRect(const QSizeF& widgetSize) {
  const double w = std::max(0.0, widgetSize.width());
  const double h = std::max(0.0, widgetSize.height());
  const double unit = std::min(w / kScaleWidth, h / kScaleHeight);
  const QSizeF size(kScaleWidth * unit, kScaleHeight * unit);
  return QRectF(QPointF((w - size.width()) / 2, (h - size.height()) / 2), size);
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

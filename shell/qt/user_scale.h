// The user scale (0, 40)-(1022, 731) on a widget: the largest rectangle of the
// scale's aspect ratio that fits the widget, centred. The picture, the
// background picture and the cursor position all go through this one mapping.
#pragma once

#include <QtCore/QPointF>
#include <QtCore/QRectF>
#include <QtCore/QSizeF>

namespace pm {

// Widget rectangle that shows the user scale in a widget of the given size.
QRectF userScaleRect(const QSizeF& widgetSize);

// Drawing units of a widget point, and back. An empty rectangle maps every
// point to the top-left corner of the scale.
QPointF widgetToDrawing(const QPointF& widgetPoint, const QRectF& scaleRect);
QPointF drawingToWidget(const QPointF& drawingPoint, const QRectF& scaleRect);

// Widget pixels per drawing unit (0 for an empty rectangle).
double widgetPixelsPerUnit(const QRectF& scaleRect);

}  // namespace pm

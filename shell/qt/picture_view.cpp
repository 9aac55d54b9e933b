#include "shell/qt/picture_view.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>

#include "draw/qt/painter_backend.h"
#include "shell/qt/user_scale.h"

namespace pm {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
  // The view paints every pixel itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
}

void PictureView::showPicture(const DisplayList& list, const QImage& background,
                              Rgb backgroundColour) {
  list_ = list;
  background_ = background;
  backgroundColour_ = backgroundColour;
}

QRectF PictureView::scaleRect() const { return userScaleRect(QSizeF(size())); }

QPointF PictureView::toDrawing(const QPointF& widgetPoint) const {
  return widgetToDrawing(widgetPoint, scaleRect());
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintDrawingArea(painter, list_, background_.isNull() ? nullptr : &background_, QRectF(rect()),
                   backgroundColour_);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked(toDrawing(event->position()));
  QWidget::mousePressEvent(event);
}

}  // namespace pm

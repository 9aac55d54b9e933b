#include "shell/qt/picture_view.h"

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
  backgroundColour_ = QColor(backgroundColour.r, backgroundColour.g, backgroundColour.b);
}

QRectF PictureView::scaleRect() const { return userScaleRect(QSizeF(size())); }

QPointF PictureView::toDrawing(const QPointF& widgetPoint) const {
  return widgetToDrawing(widgetPoint, scaleRect());
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), backgroundColour_);
  const QRectF target = scaleRect();
  if (target.isEmpty()) return;
  paintBackgroundPicture(painter, background_, target);
  paintDisplayList(painter, list_, target);
}

}  // namespace pm

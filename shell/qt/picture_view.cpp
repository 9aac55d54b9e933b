#include "shell/qt/picture_view.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QWheelEvent>
#include <cmath>

#include "draw/qt/painter_backend.h"
#include "shell/qt/user_scale.h"

namespace pm {

namespace {
// One notch of the wheel (120 eighths of a degree) zooms by 2^(1/4).
constexpr double kNotchZoom = 0.25;
}  // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
  // The view paints every pixel itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
}

void PictureView::showPicture(const DisplayList& list, const QImage& background,
                              Rgb backgroundColour, bool helpPicture) {
  list_ = list;
  background_ = background;
  backgroundColour_ = backgroundColour;
  helpPicture_ = helpPicture;
  shown_ = options_.plain() ? list_ : presented(list_, options_);
}

void PictureView::setOptions(const ViewOptions& options) {
  options_ = options;
  shown_ = options_.plain() ? list_ : presented(list_, options_);
  update();
}

const QImage& PictureView::shownBackground() const {
  static const QImage kNone;
  return showsBackground(options_, helpPicture_) ? background_ : kNone;
}

QRectF PictureView::scaleRect() const { return userScaleRect(QSizeF(size())); }

QPointF PictureView::toPicture(const QPointF& widgetPoint) const {
  return widgetToDrawing(widgetPoint, scaleRect());
}

QPointF PictureView::toDrawing(const QPointF& widgetPoint) const {
  const QPointF p = toPicture(widgetPoint);
  const Point d = checkedView(options_.view).toDrawing({p.x(), p.y()});
  return {d.x, d.y};
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QImage& background = shownBackground();
  paintDrawingArea(painter, shown_, background.isNull() ? nullptr : &background, QRectF(rect()),
                   backgroundColour_);
}

void PictureView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
    event->ignore();
    return;
  }
  const double notches = event->angleDelta().y() / 120.0;
  emit zoomRequested(toPicture(event->position()), std::pow(2.0, kNotchZoom * notches));
  event->accept();
}

void PictureView::mousePressEvent(QMouseEvent* event) {
  const Qt::MouseButton b = event->button();
  const bool shiftDrag = b == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier);
  if (b != Qt::MiddleButton && b != Qt::RightButton && !shiftDrag) {
    if (b == Qt::LeftButton) emit clicked(toDrawing(event->position()));
    event->ignore();
    return;
  }
  dragging_ = true;
  dragFrom_ = event->position();
  setCursor(Qt::ClosedHandCursor);
  event->accept();
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) {
    event->ignore();
    return;
  }
  const double unit = widgetPixelsPerUnit(scaleRect());
  const QPointF delta = event->position() - dragFrom_;
  dragFrom_ = event->position();
  if (unit > 0 && !delta.isNull()) emit shiftRequested(delta.x() / unit, delta.y() / unit);
  event->accept();
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_) {
    event->ignore();
    return;
  }
  dragging_ = false;
  unsetCursor();
  event->accept();
}

}  // namespace pm

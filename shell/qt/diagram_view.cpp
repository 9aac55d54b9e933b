#include "shell/qt/diagram_view.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <algorithm>

#include "draw/qt/painter_backend.h"
#include "draw/qt/qt_fonts.h"
#include "draw/recording_canvas.h"

namespace pm {

DiagramView::DiagramView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  setObjectName(QStringLiteral("Diagramme"));
  setCursor(Qt::CrossCursor);
}

int DiagramView::widthFor(int windowHeight) { return std::clamp(windowHeight / 40, 12, 48) * 20; }

void DiagramView::showTable(ShownTable shown) {
  shown_ = std::move(shown);
  drawSheet();
  update();
}

void DiagramView::drawSheet() {
  RecordingCanvas canvas(qtFontMetrics());
  layout_ = drawDiagrams(canvas, shown_, {static_cast<double>(width()), static_cast<double>(height())});
  sheet_ = canvas.list();
  drawnSize_ = size();
}

void DiagramView::paintEvent(QPaintEvent*) {
  if (drawnSize_ != size()) drawSheet();
  QPainter painter(this);
  paintDrawingArea(painter, sheet_, nullptr, QRectF(rect()), rgb(255, 255, 255),
                   QRectF(0, 0, width(), height()));
  // The line between the picture and the diagrams.
  painter.setPen(QColor(180, 180, 170));
  painter.drawLine(0, 0, 0, height());
}

void DiagramView::resizeEvent(QResizeEvent*) { drawSheet(); }

void DiagramView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPointF at = event->position();
  if (const std::optional<double> phi = crankAngleAt(layout_, at.x(), at.y())) emit crankAnglePicked(*phi);
}

}  // namespace pm

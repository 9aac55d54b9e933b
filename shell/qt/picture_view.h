// The client area below the menu bar. It shows the last complete picture: the
// background picture (one picture pixel per drawing unit, top-left corner at
// (0, 40)) and the display list over it, both mapped through the user scale.
// The view keeps its own copy, so it repaints after being covered or resized
// without asking for a new picture, and a half-built picture is never shown.
#pragma once

#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include "draw/colour.h"
#include "draw/display_list.h"

namespace pm {

class PictureView : public QWidget {
  Q_OBJECT
 public:
  explicit PictureView(QWidget* parent = nullptr);

  // Replaces the shown picture. A null image means no background picture.
  void showPicture(const DisplayList& list, const QImage& background, Rgb backgroundColour);

  const DisplayList& shownList() const { return list_; }
  const QImage& shownBackground() const { return background_; }
  Rgb shownBackgroundColour() const { return backgroundColour_; }

  // Where the user scale lies in this widget, and the drawing units of a point.
  QRectF scaleRect() const;
  QPointF toDrawing(const QPointF& widgetPoint) const;

 signals:
  // The left button was pressed at a point of the picture (drawing units).
  void clicked(QPointF drawingPoint);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  DisplayList list_;
  QImage background_;
  Rgb backgroundColour_ = rgb(255, 255, 255);
};

}  // namespace pm

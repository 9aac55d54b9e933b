// The client area below the menu bar. It shows the last complete picture: the
// background picture (one picture pixel per drawing unit, top-left corner at
// (0, 40)) and the display list over it, both mapped through the user scale,
// the list as the view options present it (draw/view.h). The view keeps its
// own copy, so it repaints after being covered or resized, or with other view
// options, without asking for a new picture, and a half-built picture is
// never shown. Ctrl+wheel and dragging with the middle or right button (or
// with Shift held) ask for another view; the window decides.
#pragma once

#include <QtCore/QPointF>
#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include "draw/colour.h"
#include "draw/display_list.h"
#include "draw/view.h"

namespace pm {

class PictureView : public QWidget {
  Q_OBJECT
 public:
  explicit PictureView(QWidget* parent = nullptr);

  // Replaces the shown picture. A null image means no background picture;
  // `helpPicture` says that it is a help picture, which the projector mode keeps.
  void showPicture(const DisplayList& list, const QImage& background, Rgb backgroundColour,
                   bool helpPicture = false);
  // Shows the same picture under other options.
  void setOptions(const ViewOptions& options);
  const ViewOptions& options() const { return options_; }

  // The list as the command recorded it, and as the picture shows it.
  const DisplayList& recordedList() const { return list_; }
  const DisplayList& shownList() const { return shown_; }
  // The background picture the command asked for, and whether it shows.
  const QImage& backgroundPicture() const { return background_; }
  bool backgroundIsHelp() const { return helpPicture_; }
  const QImage& shownBackground() const;
  Rgb shownBackgroundColour() const { return backgroundColour_; }

  // Where the user scale lies in this widget; the user-scale units of a
  // widget point, and its drawing units (through the view).
  QRectF scaleRect() const;
  QPointF toPicture(const QPointF& widgetPoint) const;
  QPointF toDrawing(const QPointF& widgetPoint) const;

 signals:
  // Ctrl+wheel: zoom by `factor` about a point of the picture (user-scale units).
  void zoomRequested(QPointF picturePoint, double factor);
  // Dragging: move the view by so many user-scale units.
  void shiftRequested(double dx, double dy);
  // The left button (without Shift) was pressed at a point of the picture
  // (drawing units, through the view).
  void clicked(QPointF drawingPoint);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  DisplayList list_;
  DisplayList shown_;
  QImage background_;
  bool helpPicture_ = false;
  Rgb backgroundColour_ = rgb(255, 255, 255);
  ViewOptions options_;
  bool dragging_ = false;
  QPointF dragFrom_;
};

}  // namespace pm

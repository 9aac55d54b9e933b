// The diagrams over the crank angle beside the drawing area: the sheet of
// drawDiagrams at the widget's size, one drawing unit to a pixel, painted by
// the picture's own painter. A click (or tap) in a plot picks a crank angle.
#pragma once

#include <QtWidgets/QWidget>

#include "diagrams/diagram_sheet.h"
#include "diagrams/motion_of_form.h"
#include "draw/display_list.h"

namespace pm {

class DiagramView : public QWidget {
  Q_OBJECT
 public:
  explicit DiagramView(QWidget* parent = nullptr);

  // Shows the table (or the reason there is none); draws the sheet anew.
  void showTable(ShownTable shown);
  const ShownTable& shownTable() const { return shown_; }
  const DisplayList& sheet() const { return sheet_; }
  const DiagramLayout& layout() const { return layout_; }

  // Width for a window of that height: as wide as the values panel and a bit.
  static int widthFor(int windowHeight);

 signals:
  // A crank angle picked in a plot (degrees, as φ is listed).
  void crankAnglePicked(double degrees);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void drawSheet();

  ShownTable shown_;
  DisplayList sheet_;
  DiagramLayout layout_;
  QSize drawnSize_;
};

}  // namespace pm
